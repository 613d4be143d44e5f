// A pharmacy clerk at the real window, keyboard first: a product looked up by
// its name as typed (lower case, no accents), Enter, the quantity, Enter, the
// next product; a barcode scanner in the code box; the totals; the thermal
// print and the line that says what it did. Whatever the clerk typed reaches
// TABREV1, whichever way the grid is left.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {

// Listed by name in byte order: the plain "A" first, accented capitals last.
const ListWindow::ShelfProduct Products[] = {
    {"10040", "Agua Oxigenada 10 volumes 100 ml", "7899876002804"},
    {"10004", "Creme Hidratante Ureia 10% 100 g", "7899876000282"},
    {"10030", "Creme para Mãos Calêndula 60 g", "7899876002101"},
    {"10001", "Protetor Solar FPS 50 Loção Oil Free 120 ml", "7899876000077"},
    {"10023", "Própolis Extrato Verde 30 ml", "7899876001616"},
    {"10033", "Zinco Quelato 30 mg c/ 60 cápsulas", "7899876002316"},
    {"10007", "Álcool em Gel 70% 500 ml", "7899876000497"},
    {"10002", "Água Micelar Demaquilante 200 ml", "7899876000145"},
    {"10011", "Óleo de Amêndoas Doces 100 ml", "7899876000770"},
    {"10010", "Ômega 3 1000 mg c/ 120 cápsulas", "7899876000701"},
};

} // namespace

class TstClerkFlow : public ListWindowTest
{
    Q_OBJECT

    TFormSelvarra *f() { return w->form(); }

    QString stored(const QString &codigo) { return w->storedQuantity(codigo); }

    // Types into a search box as a clerk or a scanner does, then Enter.
    void search(QLineEdit *box, const QString &text)
    {
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(w->settle());
    }

    // Types into the grid, which opens the cell's editor at the first key, then Enter.
    void typeQuantity(const QString &quantity)
    {
        QVERIFY(f()->DBGrid1->hasFocus());
        QCOMPARE(f()->DBGrid1->currentIndex().column(), 0);
        QTest::keyClick(f()->DBGrid1, quantity.at(0).toLatin1());
        QTest::keyClicks(QApplication::focusWidget(), quantity.mid(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents(); // the grid commits the editor's text in a queued call
        QVERIFY(w->settle());
    }

    void screenshot(const QString &name)
    {
        const QString folder = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            QVERIFY(f()->grab().save(QDir(folder).filePath(name)));
    }

private slots:
    void init()
    {
        ListWindowTest::init();
        if (QTest::currentTestFailed())
            return;
        w->addProducts(Products);
        w->clickBuild();
    }

    void keyboardFlowStoresEveryQuantityAndPrintsThem();
    void nameSearch_data();
    void nameSearch();
    void scannedCode_data();
    void scannedCode();
    void editStoredBefore_data();
    void editStoredBefore();
    void escapeInACellCancelsThatEditOnly();
    void refusedQuantityHoldsTheCloseOnce();
    void totalsFollowTheQuantities();
    void focusIsWhereTheSelectionShows();
};

void TstClerkFlow::keyboardFlowStoresEveryQuantityAndPrintsThem()
{
    QVERIFY(QDir(w->app.suite.root()).mkpath(QStringLiteral("Interfac01")));
    QFile batch(w->app.suite.path(QStringLiteral("Interfac01/ImprEtiq.bat")));
    QVERIFY(batch.open(QIODevice::WriteOnly));
    batch.close();
    int batchStarts = 0;
    const ProcessStarter::Starter previous = ProcessStarter::setStarter([&](const QString &, const QStringList &) {
        ++batchStarts;
        return true;
    });

    QLineEdit *byName = f()->EditPesqComp;
    byName->setFocus();
    const QList<QPair<QString, QString>> byNames = {{"agua m", "3"}, {"propolis", "3"}, {"creme h", "3"},
                                                    {"alcool", "3"}, {"omega", "3"},    {"oleo de", "1"}};
    for (const auto &[typed, quantity] : byNames) {
        search(byName, typed);
        typeQuantity(quantity);
        // Back in the box, its text selected: the next name replaces it.
        QVERIFY2(byName->hasFocus(), qPrintable(typed));
        QCOMPARE(byName->selectedText(), typed);
    }
    // A product the list does not hold: nothing moves, nothing is typed anywhere.
    search(byName, QStringLiteral("xarope de guaco"));
    QVERIFY(byName->hasFocus());
    QCOMPARE(f()->LabelPesquisa->text(), QStringLiteral("Nenhum produto começa com \"xarope de guaco\""));
    screenshot(QStringLiteral("busca-sem-produto.png"));

    // The scanner types the digits and Enter into the code box.
    QLineEdit *byCode = f()->EditPesqCod;
    byCode->setFocus();
    search(byCode, QStringLiteral("7899876002316"));
    typeQuantity(QStringLiteral("1"));
    QVERIFY(byCode->hasFocus());
    QCOMPARE(byCode->selectedText(), QStringLiteral("7899876002316"));
    QCOMPARE(f()->LabelPesquisa->text(), QString());

    const QStringList quantities = {stored("10002"), stored("10023"), stored("10004"), stored("10007"),
                                    stored("10010"), stored("10011"), stored("10033")};
    QCOMPARE(quantities, QStringList({"3", "3", "3", "3", "3", "1", "1"}));
    for (const char *untouched : {"10040", "10030", "10001"})
        QCOMPARE(stored(untouched), QString());
    QVERIFY(w->app.messages.isEmpty());
    QTRY_COMPARE(f()->LabelTotais->text(), QStringLiteral("17 etiquetas em 7 produtos"));
    screenshot(QStringLiteral("lista-com-totais.png"));

    // The Zebra model is current: 17 labels three across are six files.
    f()->EditEtiqInic->setText(QStringLiteral("1"));
    QVERIFY(clickAndWait(f()->btnEtiqSemPreco, f(), &TFormSelvarra::printEnded));
    QCOMPARE(f()->LabelImpressao->text(), QStringLiteral("Enviando 6 arquivos para a impressora"));
    QVERIFY(waitUntilIdle(*f()->printHandOver, 30000));
    ProcessStarter::setStarter(previous);
    QVERIFY(w->app.messages.isEmpty());
    QCOMPARE(batchStarts, 6);
    QCOMPARE(f()->LabelImpressao->text(), QStringLiteral("17 etiquetas em 6 arquivos enviadas para a impressora"));
    QCOMPARE(f()->EditEtiqInic->text(), QString());
    screenshot(QStringLiteral("apos-impressao-termica.png"));
}

void TstClerkFlow::nameSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found"); // empty: the cursor stays
    QTest::newRow("lower case, no accent") << "agua m" << "Água Micelar Demaquilante 200 ml";
    QTest::newRow("upper case, no accent") << "PROPOLIS" << "Própolis Extrato Verde 30 ml";
    QTest::newRow("first of two in list order") << "creme" << "Creme Hidratante Ureia 10% 100 g";
    // Both "Agua Oxigenada" and "Água Micelar" begin with "agua" once accents
    // go; typed with its accent, the name that matches byte for byte wins.
    QTest::newRow("plain word, first in list order") << "agua" << "Agua Oxigenada 10 volumes 100 ml";
    QTest::newRow("accent typed, exact name wins") << "Água" << "Água Micelar Demaquilante 200 ml";
    QTest::newRow("no product") << "xarope" << "";
}

void TstClerkFlow::nameSearch()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    w->goToRow(3); // Protetor Solar
    QLineEdit *box = f()->EditPesqComp;
    box->setFocus();
    search(box, typed);
    QVERIFY(w->app.messages.isEmpty());
    if (found.isEmpty()) {
        QCOMPARE(w->currentProduct(), QStringLiteral("Protetor Solar FPS 50 Loção Oil Free 120 ml"));
        QCOMPARE(f()->LabelPesquisa->text(), QStringLiteral("Nenhum produto começa com \"%1\"").arg(typed));
        QVERIFY(box->hasFocus());
        // The next letters that do find a product clear the line.
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("z"));
        QCOMPARE(w->currentProduct(), QStringLiteral("Zinco Quelato 30 mg c/ 60 cápsulas"));
        QCOMPARE(f()->LabelPesquisa->text(), QString());
    } else {
        QCOMPARE(w->currentProduct(), found);
        QCOMPARE(f()->LabelPesquisa->text(), QString());
        QVERIFY(f()->DBGrid1->hasFocus());
        QCOMPARE(w->gridText(f()->DBGrid1->currentIndex().row(), 1), found);
    }
}

void TstClerkFlow::scannedCode_data()
{
    QTest::addColumn<QString>("scanned");
    QTest::addColumn<QString>("found"); // empty: the cursor stays
    QTest::newRow("EAN-13") << "7899876000701" << "Ômega 3 1000 mg c/ 120 cápsulas";
    QTest::newRow("GTIN-14 of the same number") << "07899876000770" << "Óleo de Amêndoas Doces 100 ml";
    QTest::newRow("internal code, as before") << "10023" << "Própolis Extrato Verde 30 ml";
    QTest::newRow("EAN of no product") << "7891234567895" << "";
}

void TstClerkFlow::scannedCode()
{
    QFETCH(QString, scanned);
    QFETCH(QString, found);
    w->goToRow(3);
    QLineEdit *box = f()->EditPesqCod;
    box->setFocus();
    search(box, scanned);
    QVERIFY(w->app.messages.isEmpty());
    if (found.isEmpty()) {
        QCOMPARE(w->currentProduct(), QStringLiteral("Protetor Solar FPS 50 Loção Oil Free 120 ml"));
        QCOMPARE(f()->LabelPesquisa->text(), QStringLiteral("Nenhum produto tem o código ou EAN \"%1\"").arg(scanned));
        QVERIFY(box->hasFocus());
    } else {
        QCOMPARE(w->currentProduct(), found);
        QVERIFY(f()->DBGrid1->hasFocus());
        QCOMPARE(f()->DBGrid1->currentIndex().column(), 0);
    }
}

void TstClerkFlow::editStoredBefore_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("a search keystroke") << "search";
    QTest::newRow("a click in another control") << "click";
    QTest::newRow("Fechar") << "close list";
    QTest::newRow("a model choice") << "model";
    QTest::newRow("Escape after leaving the cell") << "escape";
    QTest::newRow("closing the program") << "close program";
}

// The quantity is typed and the cell is still open (or, for Escape, left
// with Tab but the row not left) when the action comes.
void TstClerkFlow::editStoredBefore()
{
    QFETCH(QString, action);
    QLineEdit *editor = w->startTyping(1, 0, QStringLiteral("4")); // Creme Hidratante
    QVERIFY(editor);
    if (action == QLatin1String("search")) {
        QTest::keyClick(f()->EditPesqComp, 'z');
        QCOMPARE(w->currentProduct(), QStringLiteral("Zinco Quelato 30 mg c/ 60 cápsulas"));
    } else if (action == QLatin1String("click")) {
        QTest::mouseClick(f()->EditEtiqInic, Qt::LeftButton);
        QVERIFY(f()->EditEtiqInic->hasFocus());
    } else if (action == QLatin1String("close list")) {
        QTest::mouseClick(f()->BotSairMontEtiq, Qt::LeftButton);
        QVERIFY(w->settle()); // the list closes once the quantity is stored
        QVERIFY(!f()->PainelSelvarra->isVisible());
    } else if (action == QLatin1String("model")) {
        QTest::keyClick(f()->DBLCB1, Qt::Key_Down, Qt::AltModifier); // opens the list
        QTRY_VERIFY(f()->DBLCB1->view()->isVisible());
        QTest::keyClick(f()->DBLCB1->view(), Qt::Key_Down);
        QTest::keyClick(f()->DBLCB1->view(), Qt::Key_Return);
        QCOMPARE(f()->DBLCB1->currentText(), ListWindow::modelDescriptions()[2]);
    } else if (action == QLatin1String("escape")) {
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(stored("10004"), QString()); // the row is not left yet
        QTest::keyClick(f()->DBGrid1, Qt::Key_Escape);
        QVERIFY(w->settle()); // the window closes once the quantity is stored
        QVERIFY(!f()->isVisible());
    } else {
        f()->close();
        QVERIFY(w->settle());
        QVERIFY(!f()->isVisible());
    }
    QCOMPARE(stored("10004"), QStringLiteral("4"));
    QVERIFY(w->app.messages.isEmpty());
}

void TstClerkFlow::escapeInACellCancelsThatEditOnly()
{
    w->typeInCell(1, 0, QStringLiteral("3"));
    QLineEdit *editor = w->startTyping(1, 0, QStringLiteral("9"));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(f()->isVisible()); // the program goes on
    QVERIFY(f()->PainelSelvarra->isVisible());
    QVERIFY(!f()->DBGrid1->indexWidget(f()->DBGrid1->currentIndex()));
    QCOMPARE(w->gridText(1, 0), QStringLiteral("3"));
    QVERIFY(f()->close());
    QCOMPARE(stored("10004"), QStringLiteral("3"));
}

// Another station removed the row meanwhile: the database refuses the
// quantity, the clerk is told, and the window stays for that once.
void TstClerkFlow::refusedQuantityHoldsTheCloseOnce()
{
    QVERIFY(w->startTyping(0, 0, QStringLiteral("5")));
    w->dm()->SQLConnection1->ExecuteDirect(QStringLiteral("delete from TABREV1 where CODIGO = '10040'"));
    QVERIFY(!f()->close());
    QVERIFY(w->settle()); // the quantity is refused off the window's thread
    QVERIFY(f()->isVisible());
    QCOMPARE(w->app.messages.size(), 1);
    QVERIFY(f()->close()); // told once; the second close goes through
    QCOMPARE(w->app.messages.size(), 1);
}

void TstClerkFlow::totalsFollowTheQuantities()
{
    QTRY_COMPARE(f()->LabelTotais->text(), QStringLiteral("0 etiquetas em 0 produtos"));
    w->typeInCell(0, 0, QStringLiteral("1"));
    QTRY_COMPARE(f()->LabelTotais->text(), QStringLiteral("1 etiqueta em 1 produto"));
    // Counted as the print counts: halves to the even label, nothing for 0 or less.
    w->typeInCell(1, 0, QStringLiteral("2,5"));
    w->typeInCell(2, 0, QStringLiteral("3,5"));
    w->typeInCell(3, 0, QStringLiteral("0"));
    w->typeInCell(4, 0, QStringLiteral("-2"));
    QTRY_COMPARE(f()->LabelTotais->text(), QStringLiteral("7 etiquetas em 3 produtos"));
    // A quantity still being typed counts once it leaves its cell.
    QLineEdit *editor = w->startTyping(0, 0, QStringLiteral("10"));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Tab);
    QTRY_COMPARE(f()->LabelTotais->text(), QStringLiteral("16 etiquetas em 3 produtos"));

    w->clickClose();
    w->clickReopen();
    QCOMPARE(f()->LabelTotais->text(), QStringLiteral("16 etiquetas em 3 produtos"));
}

void TstClerkFlow::focusIsWhereTheSelectionShows()
{
    QTableView *grid = f()->DBGrid1;
    const QColor selectedLook = QApplication::palette(grid).color(QPalette::Active, QPalette::Highlight);
    w->goToRow(3);
    w->clickClose();
    w->clickReopen();
    // Reopened: the keys go to the cell that looks selected, not to the model box.
    QVERIFY(grid->hasFocus());
    QCOMPARE(grid->currentIndex().row(), w->dm()->TabRev1->RecNo() - 1);
    QCOMPARE(grid->palette().color(QPalette::Active, QPalette::Highlight), selectedLook);
    f()->DBLCB1->setFocus(Qt::MouseFocusReason);
    QVERIFY(grid->palette().color(QPalette::Active, QPalette::Highlight) != selectedLook);
    QVERIFY(f()->findChild<QWidget *>(QStringLiteral("DBLCB1Foco"))->isVisible());
    screenshot(QStringLiteral("foco-no-modelo.png"));
    QTest::keyClick(f()->DBLCB1, '5'); // the combo's own keys, not a quantity
    QCOMPARE(w->gridText(3, 0), QString());

    // Enter presses the button that has the focus.
    f()->BotSairMontEtiq->setFocus();
    QVERIFY(!f()->findChild<QWidget *>(QStringLiteral("DBLCB1Foco"))->isVisible());
    QTest::keyClick(f()->BotSairMontEtiq, Qt::Key_Return);
    QVERIFY(!f()->PainelSelvarra->isVisible());
}

QTEST_MAIN(TstClerkFlow)
#include "tst_clerk_flow.moc"
