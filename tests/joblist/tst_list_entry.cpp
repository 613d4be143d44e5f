// Typing into the product list: a row is stored by Enter and when it is left,
// what is typed in a row not yet left is stored when the list closes, and the
// cells refuse what their columns cannot hold with a message that says so.
#include "ListWindow.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "SelvarProgram.h"
#include "TFormSelvarra.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TstListEntry : public ListWindowTest
{
    Q_OBJECT

    QString storedQuantity(const QString &codigo)
    {
        return w->app.suite.scalar(QStringLiteral("select QDE from TABREV1 where CODIGO = ?"), {codigo}).toString();
    }

private slots:
    void init()
    {
        ListWindowTest::init();
        if (QTest::currentTestFailed())
            return;
        w->addProduct(QStringLiteral("A1"), QStringLiteral("Água de colônia"), QStringLiteral("7891000000011"), QStringLiteral("30"));
        w->addProduct(QStringLiteral("B2"), QStringLiteral("Bálsamo labial"), QStringLiteral("7891000000022"), QStringLiteral("5"));
        w->addProduct(QStringLiteral("C3"), QStringLiteral("Creme dental"), QStringLiteral("7891000000033"), QStringLiteral("7"));
        w->clickBuild();
    }

    void quantitiesStoredByEnterAndWhenTheRowIsLeft();
    void quantityOfARowNotLeftIsStoredOnClose();
    void refusedNumbers_data();
    void refusedNumbers();
    void eanCellTakesThirteenCharacters();
};

void TstListEntry::quantitiesStoredByEnterAndWhenTheRowIsLeft()
{
    // By name: Bálsamo (B2), Creme (C3), Água (A1): "Á" sorts after the plain letters.
    w->typeInCell(0, 0, QStringLiteral("5"));
    QCOMPARE(storedQuantity(QStringLiteral("B2")), QStringLiteral("5"));
    // A cell left with Tab keeps the row open until the row is left.
    QLineEdit *editor = w->startTyping(1, 0, QStringLiteral("2,5"));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(storedQuantity(QStringLiteral("C3")), QString());
    w->goToRow(2);
    QCOMPARE(storedQuantity(QStringLiteral("C3")), QStringLiteral("2.5"));

    w->clickClose();
    w->clickReopen();
    QCOMPARE(w->gridText(0, 0), QStringLiteral("5"));
    QCOMPARE(w->gridText(1, 0), QStringLiteral("2,5"));

    // A later run of the program reopens the same list, quantities and all.
    QVERIFY(w->app.start());
    w->clickReopen();
    QCOMPARE(w->gridText(1, 0), QStringLiteral("2,5"));
    QVERIFY(w->app.messages.isEmpty());
}

void TstListEntry::quantityOfARowNotLeftIsStoredOnClose()
{
    // Typed, the cell still open, and "Fechar" pressed without taking the focus.
    QLineEdit *editor = w->startTyping(0, 0, QStringLiteral("7"));
    QVERIFY(editor);
    w->form()->BotSairMontEtiq->click(); // as its Alt+A does, the focus staying in the cell
    QVERIFY(!w->form()->PainelSelvarra->isVisible());
    QCOMPARE(storedQuantity(QStringLiteral("B2")), QStringLiteral("7"));
    w->clickReopen();
    QCOMPARE(w->gridText(0, 0), QStringLiteral("7"));
}

void TstListEntry::refusedNumbers_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::newRow("letters as a quantity") << 0 << "abc" << "Qtde.";
    QTest::newRow("two decimal commas") << 0 << "1,2,3" << "Qtde.";
    QTest::newRow("more than 12 whole digits") << 0 << "1234567890123" << "Qtde.";
    QTest::newRow("letters as a price") << 3 << "R$ 5" << "Preço";
}

void TstListEntry::refusedNumbers()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, title);
    w->typeInCell(0, 2, QStringLiteral("7890000000001"));
    w->typeInCell(0, column, typed);
    QCOMPARE(w->app.messages,
             QStringList{QStringLiteral("\"%1\" não é um valor válido para a coluna \"%2\". Digite um número, por exemplo 3 ou 2,5.")
                             .arg(typed, title)});
    // The refused text reaches nothing; the code typed before it is stored with the row.
    w->goToRow(1);
    const QList<QVariantList> row = w->app.suite.rows(QStringLiteral("select QDE, CODIGOEAN, PRECO1 from TABREV1 where CODIGO = 'B2'"));
    QCOMPARE(row.size(), 1);
    QVERIFY(row[0][0].isNull());
    QCOMPARE(row[0][1].toString(), QStringLiteral("7890000000001"));
    QCOMPARE(row[0][2].toString(), QStringLiteral("5"));
}

void TstListEntry::eanCellTakesThirteenCharacters()
{
    w->typeInCell(0, 2, QStringLiteral("789123456789012"));
    w->goToRow(1);
    QCOMPARE(w->app.suite.scalar(QStringLiteral("select CODIGOEAN from TABREV1 where CODIGO = 'B2'")).toString(),
             QStringLiteral("7891234567890"));
}

QTEST_MAIN(TstListEntry)
#include "tst_list_entry.moc"
