// Several stations printing on one database through the Firebird server: two
// windows print at the same moment, and a station killed in the middle of its
// expansion. Each print is its own job or nothing, never a mix.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintedLabels.h"
#include "JobProgress.h"
#include "LabelJobExpansion.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "SuiteJob.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <cstdio>

namespace {

const char kChildDatabase[] = "SELVAR_TEST_CHILD_DATABASE";

// The killed station: expands a job of 152,001 labels on the given database
// and says so on its output after the first thousand; it never gets further.
class ChildProgress : public NoJobProgress
{
public:
    void labelStarted(const QString &) override
    {
        if (++m_labels == 1000) {
            std::puts("expanding");
            std::fflush(stdout);
        }
    }

private:
    int m_labels = 0;
};

int runChild(const QString &database)
try {
    TDM dm;
    dm.SQLConnection1->setDataBase(database);
    SuiteJob job(*dm.SQLConnection1, QStringLiteral("09"), SuiteJob::Kind::Print);
    ChildProgress progress;
    LabelJobExpansion(dm).run(QString(), progress, job);
    return 0;
} catch (const SelvarError &error) {
    std::fprintf(stderr, "%s\n", qPrintable(error.message()));
    return 1;
}

} // namespace

class PrintWorkstationsTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ListWindow> a, b;
    QString database;
    QList<QStringList> printed; // per batch start: the labels of its command file
    ProcessStarter::Starter previousStarter;

    // Both programs start on suites of their own, then meet on one server database
    // holding a list of three products of 1,000 labels each.
    void startBoth()
    {
        database = TestSuite::createServerDatabase(QStringLiteral("print"));
        QVERIFY(!database.isEmpty());
        for (auto *w : {&a, &b}) {
            *w = std::make_unique<ListWindow>();
            QVERIFY((*w)->start());
            QVERIFY(QDir((*w)->app.suite.root()).mkpath(QStringLiteral("Interfac01")));
            QFile batch((*w)->app.suite.path(QStringLiteral("Interfac01/ImprEtiq.bat")));
            QVERIFY(batch.open(QIODevice::WriteOnly));
            (*w)->dm()->SQLConnection1->setDataBase(database);
        }
        SqlConnection *server = a->dm()->SQLConnection1;
        server->ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('01', 'Zebra - 3,0 x 1,7 - 3 colunas')"));
        server->ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('01')"));
        for (int i = 1; i <= 3; ++i)
            server->ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) "
                                                 "values ('P%1', 'Produto %1', 1000, '789000000000%1', %1)").arg(i));
        a->clickReopen();
        b->clickReopen();
    }

    // The click, and the print it starts to its end.
    void print(ListWindow &w, const QString &etiqInicial)
    {
        w.form()->EditEtiqInic->setText(etiqInicial);
        QVERIFY(clickAndWait(w.form()->btnEtiqSemPreco, w.form(), &TFormSelvarra::printEnded));
    }

    // The command files go to the printer after the click returns, in order.
    void waitForHandOver(ListWindow &w) { QVERIFY(waitUntilIdle(*w.form()->printHandOver, 60000)); }

    QStringList allPrinted()
    {
        QStringList labels;
        for (const QStringList &file : printed)
            labels += file;
        return labels;
    }

private slots:
    void init()
    {
        SELVAR_REQUIRE_SERVER();
        printed.clear();
        previousStarter = ProcessStarter::setStarter([this](const QString &, const QStringList &arguments) {
            printed << printedLabels(arguments.value(0));
            return true;
        });
    }

    void cleanup()
    {
        ProcessStarter::setStarter(previousStarter);
        b.reset();
        a.reset();
    }

    // B presses "Etiquetas com preços" while A's print runs: B waits its turn,
    // saying for whom, and its clerk gives up ("Cancelar"); A prints exactly
    // its own 3,000 labels. Then B prints its own job, with two positions skipped.
    void twoStationsPrintAtOnce()
    {
        startBoth();
        QString waitingText;
        QTimer escapeWhenWaiting;
        escapeWhenWaiting.setInterval(20);
        connect(&escapeWhenWaiting, &QTimer::timeout, b->form(), [&] {
            auto *panel = b->form()->findChild<QFrame *>(QStringLiteral("PainelEspera"));
            if (!panel || !panel->isVisible())
                return;
            escapeWhenWaiting.stop();
            waitingText = panel->findChild<QLabel *>(QStringLiteral("LabelEspera"))->text();
            QTest::mouseClick(panel->findChild<QPushButton *>(QStringLiteral("BotCancelarEspera")), Qt::LeftButton);
        });
        // B's click lands while A's progress panel is up, that is, inside A's expansion.
        QTimer watch;
        watch.setInterval(5);
        connect(&watch, &QTimer::timeout, b->form(), [&] {
            if (!a->form()->Painel1->isVisible())
                return;
            watch.stop();
            escapeWhenWaiting.start();
            b->form()->EditEtiqInic->setText(QStringLiteral("3"));
            QTest::mouseClick(b->form()->btnEtiqSemPreco, Qt::LeftButton);
        });
        QSignalSpy bEnded(b->form(), &TFormSelvarra::printEnded);
        watch.start();
        print(*a, QString());
        watch.stop();
        QVERIFY(!bEnded.isEmpty() || bEnded.wait(60000));
        waitForHandOver(*a);
        QVERIFY2(waitingText.startsWith(QStringLiteral("Aguardando a estação 01 terminar de imprimir… ")), qPrintable(waitingText));
        QCOMPARE(b->app.messages, QStringList{QStringLiteral("Espera cancelada: nada foi impresso.")});
        QCOMPARE(a->app.messages, QStringList());
        QCOMPARE(printed.size(), 1000); // three labels across
        QCOMPARE(allPrinted(), listLabels(0, 1000));
        QCOMPARE(b->form()->EditEtiqInic->text(), QStringLiteral("3")); // B's request is still there to retry

        printed.clear();
        print(*b, QStringLiteral("3"));
        waitForHandOver(*b);
        QCOMPARE(b->app.messages.size(), 1);
        QCOMPARE(allPrinted(), listLabels(2, 1000));
    }

    // A station killed (SIGKILL) in the middle of a big expansion: the previous
    // job is there as it was, and the lock is free for the next station.
    void killedStationLeavesThePreviousJob()
    {
        startBoth();
        print(*a, QString());
        waitForHandOver(*a);
        QCOMPARE(a->app.messages, QStringList());
        a->dm()->SQLConnection1->ExecuteDirect(QStringLiteral("update TABREV1 set QDE = 150001 where CODIGO = 'P1'"));

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kChildDatabase), database);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY2(child.waitForReadyRead(60000), child.readAllStandardError().constData());
        QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("expanding"));
        QVERIFY_THROWS_EXCEPTION(JobBusyError, SuiteJob(*b->dm()->SQLConnection1, QStringLiteral("01"), SuiteJob::Kind::Print));
        child.kill();
        QVERIFY(child.waitForFinished(10000));

        // The server ends the dead station's transactions as soon as it sees its connection closed.
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<SuiteJob> next;
        while (!next && clock.elapsed() < 10000) {
            try {
                next = std::make_unique<SuiteJob>(*b->dm()->SQLConnection1, QStringLiteral("01"), SuiteJob::Kind::Print);
            } catch (const JobBusyError &) {
                QTest::qWait(100);
            }
        }
        QVERIFY2(next, "the lock stayed taken after its holder was killed");
        qInfo("lock free %lld ms after the kill", clock.elapsed());
        next.reset();

        ClientDataSet *job = b->dm()->TabRev2;
        job->Close();
        job->Open();
        QCOMPARE(job->RecordCount(), 3000);
        job->First();
        QCOMPARE(job->FieldByName(QStringLiteral("COMPONENTE")).AsString(), QStringLiteral("Produto 1"));
        job->Close();
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildDatabase))
        return runChild(qEnvironmentVariable(kChildDatabase));
    PrintWorkstationsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_print_workstations.moc"
