// Two workstations on one database through the Firebird server: one builds the
// list while the other has it open, or builds it too. Every row the database
// refuses is reported in the builder's log and nothing is lost or broken.
#include "ListWindow.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

class TstListWorkstations : public QObject
{
    Q_OBJECT
    std::unique_ptr<ListWindow> a, b;

    // Both programs start on suites of their own, then meet on one server database.
    void startBoth()
    {
        const QString database = TestSuite::createServerDatabase(QStringLiteral("list"));
        QVERIFY(!database.isEmpty());
        a = std::make_unique<ListWindow>();
        QVERIFY(a->start());
        b = std::make_unique<ListWindow>();
        QVERIFY(b->start());
        a->dm()->SQLConnection1->setDataBase(database);
        b->dm()->SQLConnection1->setDataBase(database);
        SqlConnection *server = a->dm()->SQLConnection1;
        server->ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('01', 'Zebra - 3,0 x 1,7 - 3 colunas')"));
        server->ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('01')"));
        for (int i = 1; i <= 5; ++i)
            server->ExecuteDirect(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR) "
                                                 "values ('P%1', 'Produto %1', 'REV', '789000000000%1', %1)").arg(i));
    }

    int reportedRefusals(ListWindow &w) { return int(w.log().count(QStringLiteral("Componente com nome e código duplicado."))); }
    QStringList allMessages() { return a->app.messages + b->app.messages; }

private slots:
    // A skip from a helper would return to the test and let it run on: it belongs here.
    void init()
    {
        SELVAR_REQUIRE_SERVER();
    }

    void cleanup()
    {
        b.reset();
        a.reset();
    }

    void buildWhileTheOtherHasTheListOpen();
    void twoBuildsAtOnce();
};

void TstListWorkstations::buildWhileTheOtherHasTheListOpen()
{
    startBoth();
    a->dm()->SQLConnection1->ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('OLD1', 'Lista anterior')"));
    b->clickReopen();
    QCOMPARE(b->form()->DBGrid1Model->rowCount(), 1);

    // B has typed a quantity into the old list; while A builds, B searches it.
    // (A quantity stored while A's build runs would wait for A's transaction,
    // which in one process is A's own thread: that case is a two-process one.)
    b->typeInCell(0, 0, QStringLiteral("3"));
    b->goToRow(0);
    bool searchedMeanwhile = false;
    {
        HeldBuild held(a->form(), 1);
        QTest::mouseClick(a->form()->BotSelvarProdRev, Qt::LeftButton);
        QVERIFY(held.waitReached());
        QTRY_VERIFY(a->form()->Gauge1->isVisible());
        QTest::keyClicks(b->form()->EditPesqComp, QStringLiteral("Pro"));
        QVERIFY(b->settle());
        searchedMeanwhile = a->form()->jobRunning();
        held.letGo();
        QVERIFY(a->waitForBuild());
    }
    QVERIFY(searchedMeanwhile);
    QCOMPARE(a->form()->DBGrid1Model->rowCount(), 5);
    QCOMPARE(reportedRefusals(*a), 0);
    // The new list replaced the old one whole: B's quantity went with its row.
    for (int row = 0; row < 5; ++row)
        QCOMPARE(a->gridText(row, 0), QString());
    b->clickClose();
    b->clickReopen();
    QCOMPARE(b->form()->DBGrid1Model->rowCount(), 5);
    QCOMPARE(b->gridText(0, 1), QStringLiteral("Produto 1"));
    QCOMPARE(a->app.messages, QStringList());
    QCOMPARE(b->app.messages, QStringList());
}

// B presses the button while A builds: B waits its turn, saying for whom, and
// gives up with "Cancelar"; neither list is touched by the other. Once A is
// done, B builds.
void TstListWorkstations::twoBuildsAtOnce()
{
    startBoth();
    QString waitingText;
    {
        HeldBuild held(a->form(), 1);
        QTest::mouseClick(a->form()->BotSelvarProdRev, Qt::LeftButton);
        QVERIFY(held.waitReached());
        QTest::mouseClick(b->form()->BotSelvarProdRev, Qt::LeftButton);
        QFrame *panel = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            panel = b->form()->findChild<QFrame *>(QStringLiteral("PainelEspera"));
            return panel && panel->isVisible();
        }, 60000));
        waitingText = panel->findChild<QLabel *>(QStringLiteral("LabelEspera"))->text();
        QTest::mouseClick(panel->findChild<QPushButton *>(QStringLiteral("BotCancelarEspera")), Qt::LeftButton);
        QVERIFY(b->waitForBuild());
        held.letGo();
        QVERIFY(a->waitForBuild());
    }

    QVERIFY2(waitingText.startsWith(QStringLiteral("Aguardando a estação 01 terminar de montar a lista… ")), qPrintable(waitingText));
    QCOMPARE(b->app.messages, QStringList{QStringLiteral("Espera cancelada: a lista anterior foi mantida.")});
    QVERIFY(a->app.messages.isEmpty());
    QCOMPARE(reportedRefusals(*a), 0);
    QCOMPARE(a->form()->DBGrid1Model->rowCount(), 5);
    QVERIFY(!b->form()->PainelSelvarra->isVisible());
    QVERIFY(b->form()->BotSelvarProdRev->isEnabled());

    b->clickBuild();
    QCOMPARE(b->app.messages.size(), 1);
    QCOMPARE(b->form()->DBGrid1Model->rowCount(), 5);
    QCOMPARE(reportedRefusals(*b), 0);
}

QTEST_MAIN(TstListWorkstations)
#include "tst_list_workstations.moc"
