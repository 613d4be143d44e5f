// Where a read of the list, a build, a print and the clerk's hands meet, at
// the real window: the read is held at its start on purpose, so every key and
// click surely comes during it, and each is a real key or click.
#include "ListWindow.h"

#include "Counter.h"
#include "CounterPolicy.h"
#include "JobWorker.h"
#include "ListReads.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const ListWindow::ShelfProduct Products[] = {
    {"100", "Creme Dental Menta 90 g", "7891000315507"},
    {"10004", "Creme Hidratante Ureia 10% 100 g", "7899876000282"},
    {"1234", "Lixa de Unha", "78912344"},
    {"10023", "Própolis Extrato Verde 30 ml", "7899876001616"},
    {"20001", "Sabonete Glicerina 90 g", "7899876001111"},
    {"10033", "Zinco Quelato 30 mg", "7899876002316"},
};

void typeKeys(QWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

} // namespace

class TstCounterRaces : public ListWindowTest
{
    Q_OBJECT

    TFormSelvarra *f() { return w->form(); }

private slots:
    void init()
    {
        ListWindowTest::init();
        if (QTest::currentTestFailed())
            return;
        w->addProducts(Products);
        // A model no output knows: the print writes its job and sends nothing.
        w->app.suite.exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('04', 'Gôndola - 2 colunas')"));
        w->app.suite.exec(QStringLiteral("update ETIQCORR set MODELOCORRENTE = '04'"));
        w->clickBuild();
        QVERIFY(f()->PainelSelvarra->isVisible());
    }

    void enterThenCloseDuringARead();
    void buildClickedWhileTheReopenReads();
    void clickAfterKeysDuringARead();
};

// R1: a name and Enter, then Alt+A, while the list is read. The Enter acts on
// the text typed before it, then the list closes; nothing is built, and the
// rows that come later do not open the closed list.
void TstCounterRaces::enterThenCloseDuringARead()
{
    const QString logBefore = f()->mmo1->toPlainText();
    f()->EditPesqComp->setFocus();
    HeldReads held(f());
    QWindow *window = f()->windowHandle();
    typeKeys(window, QStringLiteral("Xampu"));
    QVERIFY(held.waitBegun(1));
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_A, Qt::AltModifier);
    // Both wait for the rows; the window says so.
    QVERIFY(f()->PainelSelvarra->isVisible());
    QCOMPARE(f()->LabelPesquisa->text(), CounterPolicy::holdingText());
    QCOMPARE(f()->PainelSelvarra->cursor().shape(), Qt::BusyCursor);

    held.letGo();
    QVERIFY(w->settle());
    QCOMPARE(f()->LabelPesquisa->text(), QStringLiteral("Nenhum produto começa com \"Xampu\""));
    QVERIFY(f()->PainelSelvarra->isHidden());
    QVERIFY(!w->dm()->TabRev1->Active());
    QVERIFY(!f()->jobRunning());
    QVERIFY(!f()->jobWorker()->busy());
    QCOMPARE(f()->mmo1->toPlainText(), logBefore);
    QCOMPARE(f()->PainelSelvarra->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(w->app.messages.isEmpty());
}

// R2: the reopen's read is under way when the build is clicked. The build
// goes on with its own panel, the reopen's rows never cover it, and its
// "Cancelar" ends it with the previous list kept.
void TstCounterRaces::buildClickedWhileTheReopenReads()
{
    w->clickClose();
    QVERIFY(f()->PainelSelvarra->isHidden());
    const QStringList before = w->storedList();
    HeldReads held(f());
    HeldBuild build(f(), 1);
    QTest::mouseClick(f()->btnConfigEtiq, Qt::LeftButton);
    QVERIFY(held.waitBegun(1));
    QTest::mouseClick(f()->BotSelvarProdRev, Qt::LeftButton);
    QVERIFY(f()->jobRunning());
    QVERIFY(build.waitReached());

    held.letGo();
    QVERIFY(QTest::qWaitFor([&] { return !f()->listReads()->reading(); }, 60000));
    QVERIFY(f()->PainelSelvarra->isHidden());
    QVERIFY(f()->BotCancelarLista->isVisible());
    QVERIFY(f()->BotCancelarLista->isEnabled());

    QTest::mouseClick(f()->BotCancelarLista, Qt::LeftButton);
    build.letGo();
    QVERIFY(w->waitForBuild());
    QCOMPARE(w->app.messages.size(), 1);
    QVERIFY2(w->app.messages.first().endsWith(QStringLiteral("A lista anterior foi mantida.")),
             qPrintable(w->app.messages.first()));
    QVERIFY(f()->PainelSelvarra->isHidden());
    QCOMPARE(w->storedList(), before);
}

// R3: a code, a quantity and Enter typed during a slow read, then at once a
// click on "Etiquetas com preços": the quantity is stored, and that print
// prints it.
void TstCounterRaces::clickAfterKeysDuringARead()
{
    f()->EditPesqCod->setFocus();
    HeldReads held(f());
    QSignalSpy printed(f(), &TFormSelvarra::printEnded);
    QWindow *window = f()->windowHandle();
    typeKeys(window, QStringLiteral("10033"));
    QVERIFY(held.waitBegun(1));
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window, '5');
    QTest::keyClick(window, Qt::Key_Return);
    QTest::mouseClick(f()->btnEtiqSemPreco, Qt::LeftButton);
    QCOMPARE(f()->LabelPesquisa->text(), CounterPolicy::holdingText());
    QCOMPARE(printed.count(), 0);

    held.letGo();
    QVERIFY(printed.count() > 0 || printed.wait(60000));
    QCOMPARE(w->storedQuantity(QStringLiteral("10033")), QStringLiteral("5"));
    QStringList job;
    for (const QVariantList &row : w->app.suite.rows(QStringLiteral("select COMPONENTE from TABREV2 order by CODIGO")))
        job << row.value(0).toString();
    QCOMPARE(job, QStringList(5, QStringLiteral("Zinco Quelato 30 mg")));
    QVERIFY2(w->app.messages.isEmpty(), qPrintable(w->app.messages.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TstCounterRaces)
#include "tst_counter_races.moc"
