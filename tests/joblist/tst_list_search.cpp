// Looking products up in the list by name and by code: every keystroke reads the
// list again in the box's order and lands on the first name that begins with the
// text (the nearest code); a name that nothing begins with leaves the cursor
// where it was and says so; Enter puts the focus on the quantity of the row found.
#include "ListWindow.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

namespace {

// Forty characters that two products share; only the first is exactly that.
const QString kForty = QStringLiteral("Protetor solar facial toque seco FPS 50 ");

} // namespace

class TstListSearch : public ListWindowTest
{
    Q_OBJECT

private slots:
    void init()
    {
        ListWindowTest::init();
        if (QTest::currentTestFailed())
            return;
        w->addProduct(QStringLiteral("300"), QStringLiteral("Creme dental"), QString(), QStringLiteral("4"));
        w->addProduct(QStringLiteral("100"), QStringLiteral("Creme hidratante"), QString(), QStringLiteral("9"));
        w->addProduct(QStringLiteral("250"), QStringLiteral("Colônia infantil"), QString(), QStringLiteral("15"));
        w->addProduct(QStringLiteral("900"), QStringLiteral("Shampoo neutro"), QString(), QStringLiteral("12"));
        w->addProduct(QStringLiteral("050"), QStringLiteral("Sabonete glicerinado"), QString(), QStringLiteral("3"));
        w->addProduct(QStringLiteral("700"), kForty, QString(), QStringLiteral("30"));
        w->addProduct(QStringLiteral("701"), kForty + QStringLiteral("com cor"), QString(), QStringLiteral("32"));
        w->clickBuild();
    }

    void nameKeystrokes_data();
    void nameKeystrokes();
    void twoLettersThenEnter();
    void enterInAnEmptyBox_data();
    void enterInAnEmptyBox();
    void enterSearchesTheFirstFortyCharacters();
    void codeSearchOrderLastsForTheReopen();
};

void TstListSearch::nameKeystrokes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("notice");
    QTest::newRow("first letter") << "S" << "Sabonete glicerinado" << "";
    QTest::newRow("two letters") << "Sh" << "Shampoo neutro" << "";
    // Nothing begins with these: the cursor stays on the row "C" found.
    QTest::newRow("between two names") << "Cp" << "Colônia infantil" << "Nenhum produto começa com \"Cp\"";
    QTest::newRow("after every name") << "Zz" << "Colônia infantil" << "Nenhum produto começa com \"Zz\"";
    QTest::newRow("lower case finds the name") << "s" << "Sabonete glicerinado" << "";
    QTest::newRow("cleared again") << "" << "Colônia infantil" << "";
}

void TstListSearch::nameKeystrokes()
{
    QFETCH(QString, typed);
    QFETCH(QString, current);
    QFETCH(QString, notice);
    QLineEdit *box = w->form()->EditPesqComp;
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("Sab"));
    box->clear(); // a change like any other: the list is read again
    QTest::keyClicks(box, typed);
    QCOMPARE(w->currentProduct(), current);
    QCOMPARE(w->form()->LabelPesquisa->text(), notice);
    QVERIFY(w->app.messages.isEmpty());
    QCOMPARE(w->dm()->SQLDS_TabRev1->CommandText(),
             QStringLiteral("Select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by COMPONENTE"));
    QVERIFY(box->hasFocus());
}

void TstListSearch::twoLettersThenEnter()
{
    TFormSelvarra *f = w->form();
    f->EditPesqComp->setFocus();
    QTest::keyClick(f->EditPesqComp, 'C');
    QCOMPARE(w->currentProduct(), QStringLiteral("Colônia infantil"));
    QTest::keyClick(f->EditPesqComp, 'r');
    QCOMPARE(w->currentProduct(), QStringLiteral("Creme dental"));
    QTest::keyClick(f->EditPesqComp, Qt::Key_Return);
    QCOMPARE(f->EditPesqComp->text(), QStringLiteral("Cr"));
    QVERIFY(f->DBGrid1->hasFocus());
    QCOMPARE(f->DBGrid1->currentIndex().row(), 1);
    QCOMPARE(f->DBGrid1->currentIndex().column(), 0);
    QCOMPARE(w->gridText(1, 1), QStringLiteral("Creme dental"));
}

void TstListSearch::enterInAnEmptyBox_data()
{
    QTest::addColumn<bool>("byName");
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << true << "Digite o nome de um produto.";
    QTest::newRow("code") << false << "Digite o Código de um produto.";
}

void TstListSearch::enterInAnEmptyBox()
{
    QFETCH(bool, byName);
    QFETCH(QString, message);
    QLineEdit *box = byName ? w->form()->EditPesqComp : w->form()->EditPesqCod;
    w->goToRow(2);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Enter);
    QCOMPARE(w->app.messages, QStringList{message});
    QVERIFY(box->hasFocus());
    QCOMPARE(w->dm()->TabRev1->RecNo(), 3);
}

void TstListSearch::enterSearchesTheFirstFortyCharacters()
{
    QLineEdit *box = w->form()->EditPesqComp;
    box->setFocus();
    box->setText(kForty + QStringLiteral("sem cor")); // no name begins with all of it
    QCOMPARE(w->currentProduct(), QStringLiteral("Colônia infantil"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(w->currentProduct(), kForty);
    QVERIFY(w->form()->DBGrid1->hasFocus());
}

void TstListSearch::codeSearchOrderLastsForTheReopen()
{
    QLineEdit *box = w->form()->EditPesqCod;
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("2"));
    QCOMPARE(w->currentProduct(), QStringLiteral("Colônia infantil")); // "250"
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(w->form()->DBGrid1->currentIndex().row(), 2);

    w->clickClose();
    w->clickReopen();
    const QStringList byCode{"Sabonete glicerinado", "Creme hidratante", "Colônia infantil", "Creme dental"};
    for (int row = 0; row < byCode.size(); ++row)
        QCOMPARE(w->gridText(row, 1), byCode[row]);
}

QTEST_MAIN(TstListSearch)
#include "tst_list_search.moc"
