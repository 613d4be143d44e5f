// Stations waiting their turn on one Firebird server, each a program of its
// own (a real window in a process of its own): a clerk holding a preview open
// does not stop the others, four stations that join the line one after
// another are served in the order they joined, a station killed while waiting
// leaves the line, and a wait
// ends by "Cancelar" or by its time limit, naming who holds the lock.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintedLabels.h"
#include "JobLine.h"
#include "JobWorker.h"
#include "PrintHandOver.h"
#include "ReportModal.h"
#include "RunValues.h"
#include "SuiteJob.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "ThermalPreviewDialog.h"
#include "ThermalPrintChoice.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <cstdio>

namespace {

const char kStation[] = "SELVAR_TEST_STATION";

// Labels of each of the list's three products: a job of a few files, enough
// for several hand-overs per station without making five station programs
// on a loaded machine outlast the test's watchdog.
constexpr int kEach = 60;

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString env(const char *name)
{
    return qEnvironmentVariable(name);
}

// A waiting station with nothing on screen: it says when it first waits, and
// waits until it is killed.
class QuietWait : public JobWait
{
public:
    void waiting(const QString &, int) override
    {
        if (!m_said)
            say(QStringLiteral("waiting"));
        m_said = true;
    }
    bool pause(int ms) override
    {
        QThread::msleep(ms);
        return true;
    }

private:
    bool m_said = false;
};

// One station: a program with its window on the shared database, printing the
// list with "Etiq. Inicial" set to tell its labels from the others'. Its
// ImprEtiq.bat appends every file to the station's own printer file.
int runStation(const QString &code)
{
    const QString database = env("SELVAR_STATION_DB");
    const QString role = env("SELVAR_STATION_ROLE");
    const QString shared = env("SELVAR_STATION_DIR");
    if (role == QLatin1String("wait")) {
        TDM dm;
        dm.SQLConnection1->setDataBase(database);
        QuietWait wait;
        SuiteJob job(*dm.SQLConnection1, code, SuiteJob::Kind::Print, &wait);
        say(QStringLiteral("served"));
        return 0;
    }
    ListWindow w;
    if (!w.start())
        return 2;
    RunValues::StationCode = code;
    RunValues::LabelPrinterPath = QDir(shared).filePath(QStringLiteral("impressora%1.prn").arg(code));
    const QString folder = w.app.suite.path(QStringLiteral("Interfac") + code);
    QDir().mkpath(folder);
    QFile batch(QDir(folder).filePath(QStringLiteral("ImprEtiq.bat")));
    if (!batch.open(QIODevice::WriteOnly) || batch.write("cat \"$1\" >> \"$2\"\n") < 0)
        return 2;
    batch.close();
    w.dm()->SQLConnection1->setDataBase(database);
    w.clickReopen();

    // The preview stays open until the test lets it go, then prints from it.
    ReportModal::setHook([shared](QDialog &dialog) -> int {
        if (qobject_cast<ThermalPrintChoice *>(&dialog))
            return env("SELVAR_STATION_ROLE") == QLatin1String("preview") ? ThermalPrintChoice::Preview : ThermalPrintChoice::Print;
        if (auto *preview = qobject_cast<ThermalPreviewDialog *>(&dialog)) {
            say(QStringLiteral("preview"));
            preview->show();
            while (!QFile::exists(QDir(shared).filePath(QStringLiteral("solta"))))
                QTest::qWait(50);
            QTest::mouseClick(preview->BotImprimir, Qt::LeftButton);
            return preview->result();
        }
        return dialog.exec();
    });
    // Served: the job's first step runs on the worker while it holds the
    // lock, so two stations' first steps come in the order they held it,
    // however late either window gets to paint its panel.
    static std::atomic<bool> served{false};
    w.form()->jobWorker()->setStepHook([](int done) {
        if (done == 0 && !served.exchange(true))
            say(QStringLiteral("served %1").arg(now()));
    });
    // Every station is up before any presses: the test then says when to start.
    say(QStringLiteral("ready"));
    if (env("SELVAR_STATION_AT") == QLatin1String("turn")) {
        // Presses when the test says it is this station's turn.
        while (!QFile::exists(QDir(shared).filePath(QStringLiteral("vai") + code)))
            QTest::qWait(20);
    } else {
        QFile go(QDir(shared).filePath(QStringLiteral("vai")));
        while (!go.open(QIODevice::ReadOnly))
            QTest::qWait(20);
        const qint64 at = go.readAll().trimmed().toLongLong() + env("SELVAR_STATION_AT").toLongLong();
        while (now() < at)
            QTest::qWait(5);
    }
    w.form()->EditEtiqInic->setText(env("SELVAR_STATION_ETIQ"));
    say(QStringLiteral("clicked %1").arg(now()));
    if (!clickAndWait(w.form()->btnEtiqSemPreco, w.form(), &TFormSelvarra::printEnded)
        || !waitUntilIdle(*w.form()->printHandOver, 120000))
        return 3;
    for (const QString &message : std::as_const(w.app.messages))
        say(QStringLiteral("message ") + message);
    say(QStringLiteral("done"));
    return 0;
}

// A wait the test drives: it counts what it was shown and gives up on demand.
class CountingWait : public JobWait
{
public:
    QStringList texts;
    int limit = 120000;
    bool giveUp = false;

    void waiting(const QString &text, int) override { texts << text; }
    bool pause(int ms) override
    {
        QTest::qWait(ms);
        return !giveUp;
    }
    int limitMs() const override { return limit; }
};

} // namespace

class PrintLineTest : public QObject
{
    Q_OBJECT
    QString database;
    std::unique_ptr<QTemporaryDir> shared;
    std::vector<std::unique_ptr<QProcess>> stations;
    std::unique_ptr<TDM> dm; // the test's own station on the shared database

    // `at`: when it presses print, in ms after the test says go; or "turn":
    // when the test gives it its turn.
    QProcess &startStation(const QString &code, const QString &role, const QVariant &at, int etiqInicial)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kStation), code);
        environment.insert(QStringLiteral("SELVAR_STATION_DB"), database);
        environment.insert(QStringLiteral("SELVAR_STATION_ROLE"), role);
        environment.insert(QStringLiteral("SELVAR_STATION_DIR"), shared->path());
        environment.insert(QStringLiteral("SELVAR_STATION_AT"), at.toString());
        environment.insert(QStringLiteral("SELVAR_STATION_ETIQ"), QString::number(etiqInicial));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(), {});
        stations.push_back(std::move(process));
        return *stations.back();
    }

    // Reads the station's output until a line beginning with `word` comes; its rest.
    static QString waitFor(QProcess &station, const QString &word, int timeoutMs = 60000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (station.canReadLine()) {
                const QString line = QString::fromLocal8Bit(station.readLine()).trimmed();
                if (line.startsWith(word))
                    return line.mid(word.size()).trimmed();
                if (line.startsWith(QLatin1String("message")))
                    qWarning("station said: %s", qPrintable(line));
            }
            if (station.state() == QProcess::NotRunning)
                return QStringLiteral("<ended %1>").arg(station.exitCode());
            station.waitForReadyRead(100);
        }
        return QStringLiteral("<timeout>");
    }

    // Once every station is up, they press at their offsets from now on.
    void go(const QList<QProcess *> &ready)
    {
        for (QProcess *station : ready)
            QCOMPARE(waitFor(*station, QStringLiteral("ready")), QString());
        QFile file(shared->filePath(QStringLiteral("vai.tmp")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(now() + 200));
        file.close();
        QVERIFY(file.rename(shared->filePath(QStringLiteral("vai"))));
    }

    // The station's place in the line (its ticket), 0 while it has none.
    qint64 ticketOf(const QString &code)
    {
        const SqlConnection::Use use(*dm->SQLConnection1);
        QSqlQuery query = dm->SQLConnection1->exec(QStringLiteral("select ID from SELVAR_FILA where ESTACAO = ?"), {code});
        return query.next() ? query.value(0).toLongLong() : 0;
    }

    QString printerOf(const QString &code) const { return shared->filePath(QStringLiteral("impressora%1.prn").arg(code)); }

private slots:
    void init()
    {
        SELVAR_REQUIRE_SERVER();
        shared = std::make_unique<QTemporaryDir>();
        database = TestSuite::createServerDatabase(QStringLiteral("fila"));
        QVERIFY(!database.isEmpty());
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(database);
        SqlConnection *server = dm->SQLConnection1;
        server->ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('02', 'Zebra - 3,0 x 1,7 - 3 colunas')"));
        server->ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('02')"));
        for (int i = 1; i <= 3; ++i)
            server->ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) "
                                                 "values ('P%1', 'Produto %1', %2, '789000000000%1', %1)")
                                                 .arg(i)
                                                 .arg(kEach));
    }

    void cleanup()
    {
        for (auto &station : stations) {
            station->kill();
            station->waitForFinished(10000);
        }
        stations.clear();
        dm.reset();
    }

    // Station 07 looks at its preview; meanwhile 08, 09 and 10 print, each
    // exactly its own labels. Then 07 prints from the preview what it was shown.
    void previewHoldsNobody()
    {
        QProcess &viewer = startStation(QStringLiteral("07"), QStringLiteral("preview"), 0, 1);
        QList<QProcess *> printers;
        for (int i = 0; i < 3; ++i)
            printers << &startStation(QStringLiteral("%1").arg(8 + i, 2, 10, QLatin1Char('0')), QStringLiteral("print"), 2000 + 300 * i, i + 2);
        go(QList<QProcess *>{&viewer} + printers);
        QCOMPARE(waitFor(viewer, QStringLiteral("preview")), QString());
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(waitFor(*stations[i], QStringLiteral("done"), 120000), QString());
        QVERIFY(!QFile::exists(printerOf(QStringLiteral("07"))));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(printedLabels(printerOf(QStringLiteral("%1").arg(8 + i, 2, 10, QLatin1Char('0')))), listLabels(i + 1, kEach));

        QFile release(shared->filePath(QStringLiteral("solta")));
        QVERIFY(release.open(QIODevice::WriteOnly));
        release.close();
        QCOMPARE(waitFor(viewer, QStringLiteral("done"), 60000), QString());
        QCOMPARE(printedLabels(printerOf(QStringLiteral("07"))), listLabels(0, kEach));
    }

    // Four stations press print while another holds the lock, each once the
    // one before it has its place in the line: none is refused, each prints
    // its own labels, and they are served in the order they joined.
    void fourClicksServedInOrder()
    {
        QList<QProcess *> all;
        QStringList codes;
        for (int i = 0; i < 4; ++i) {
            codes << QStringLiteral("%1").arg(11 + i, 2, 10, QLatin1Char('0'));
            all << &startStation(codes.last(), QStringLiteral("print"), QStringLiteral("turn"), i + 1);
        }
        for (QProcess *station : all)
            QCOMPARE(waitFor(*station, QStringLiteral("ready")), QString());
        auto holder = std::make_unique<SuiteJob>(*dm->SQLConnection1, QStringLiteral("05"), SuiteJob::Kind::Print);
        QList<qint64> tickets;
        for (const QString &code : codes) {
            QFile turn(shared->filePath(QStringLiteral("vai") + code));
            QVERIFY(turn.open(QIODevice::WriteOnly));
            turn.close();
            qint64 ticket = 0;
            QVERIFY2(QTest::qWaitFor([&] { return (ticket = ticketOf(code)) > 0; }, 60000),
                     qPrintable(QStringLiteral("station %1 never joined the line").arg(code)));
            tickets << ticket;
        }
        holder.reset();

        QList<qint64> served;
        for (int i = 0; i < 4; ++i) {
            served << waitFor(*stations[i], QStringLiteral("served"), 120000).toLongLong();
            QCOMPARE(waitFor(*stations[i], QStringLiteral("done"), 120000), QString());
        }
        for (int i = 1; i < 4; ++i) {
            QVERIFY2(tickets[i] > tickets[i - 1], "the line numbered the stations out of the order they joined");
            QVERIFY2(served[i] > served[i - 1], qPrintable(QStringLiteral("station %1 was served before %2, which joined "
                                                                          "the line before it")
                                                               .arg(codes[i], codes[i - 1])));
        }
        for (int i = 0; i < 4; ++i)
            QCOMPARE(printedLabels(printerOf(codes[i])), listLabels(i, kEach));
    }

    // A station killed while it waits leaves the line by itself: the one
    // behind it gets the lock a few seconds after the holder lets it go.
    void killedWhileWaitingLeavesTheLine()
    {
        auto holder = std::make_unique<SuiteJob>(*dm->SQLConnection1, QStringLiteral("05"), SuiteJob::Kind::Print);
        QProcess &doomed = startStation(QStringLiteral("06"), QStringLiteral("wait"), 0, 1);
        QCOMPARE(waitFor(doomed, QStringLiteral("waiting")), QString());
        doomed.kill();
        QVERIFY(doomed.waitForFinished(10000));

        TDM second;
        second.SQLConnection1->setDataBase(database);
        CountingWait wait;
        QTimer::singleShot(500, [&holder] { holder.reset(); });
        QElapsedTimer clock;
        clock.start();
        SuiteJob job(*second.SQLConnection1, QStringLiteral("07"), SuiteJob::Kind::Print, &wait);
        qInfo("served %lld ms after asking, the killed station ahead of it", clock.elapsed());
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(!wait.texts.isEmpty());
        QCOMPARE(wait.texts.first(), QStringLiteral("Aguardando a estação 05 terminar de imprimir…"));
    }

    // A wait ends when its user gives up or its limit passes; either way the
    // line is left, and the lock, once free, goes to the next one at once.
    void waitEndsByCancelOrLimit()
    {
        auto holder = std::make_unique<SuiteJob>(*dm->SQLConnection1, QStringLiteral("05"), SuiteJob::Kind::ListBuild);
        TDM other;
        other.SQLConnection1->setDataBase(database);
        CountingWait wait;
        wait.limit = 1500;
        try {
            SuiteJob job(*other.SQLConnection1, QStringLiteral("06"), SuiteJob::Kind::Print, &wait);
            QFAIL("the wait did not end at its limit");
        } catch (const JobBusyError &error) {
            QCOMPARE(error.message(), QStringLiteral("A estação 05 está montando a lista de produtos há mais de 1 s; a espera foi "
                                                     "encerrada e nada foi feito. Tente de novo mais tarde."));
        }
        QCOMPARE(wait.texts.first(), QStringLiteral("Aguardando a estação 05 terminar de montar a lista…"));

        CountingWait cancelled;
        QTimer::singleShot(300, [&cancelled] { cancelled.giveUp = true; });
        QVERIFY_THROWS_EXCEPTION(JobCancelled, SuiteJob(*other.SQLConnection1, QStringLiteral("06"), SuiteJob::Kind::Print, &cancelled));

        // Both waits left the line: the next station finds no one ahead and
        // is served at its first look, without waiting.
        QCOMPARE(ticketOf(QStringLiteral("06")), 0);
        holder.reset();
        CountingWait next;
        SuiteJob job(*other.SQLConnection1, QStringLiteral("06"), SuiteJob::Kind::Print, &next);
        QVERIFY2(next.texts.isEmpty(), "a station that left the line still held the others back");
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kStation))
        return runStation(qEnvironmentVariable(kStation));
    PrintLineTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_print_line.moc"
