// The history's worker and the history of thermal jobs with their records:
// an answer's callback (which may hold a panel over the list) is destroyed on
// the window's thread only; a replaced job's record stays until its history
// is written; a job that went without a history number is recorded once,
// whatever became of its first write. Real databases, a server of the test's
// own killed and started again, real batch files run by /bin/sh.
#include "HandOverIdle.h"
#include "HistoryStore.h"
#include "HistoryWork.h"
#include "PrintHandOver.h"
#include "PrintHistory.h"
#include "PrivateServer.h"
#include "SqlConnection.h"
#include "StationJobs.h"
#include "TestSuite.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <memory>

namespace {

// Stands for what an answer holds: counts every copy of it destroyed on a
// thread other than the window's.
struct HeldByAnswer
{
    std::shared_ptr<std::atomic<int>> offThread = std::make_shared<std::atomic<int>>(0);
    HeldByAnswer() = default;
    HeldByAnswer(const HeldByAnswer &) = default;
    HeldByAnswer &operator=(const HeldByAnswer &) = default;
    ~HeldByAnswer()
    {
        if (offThread && QThread::currentThread() != QCoreApplication::instance()->thread())
            ++*offThread;
    }
};

// Between the program and the database server, as a network is: passes
// everything both ways, and once armed cuts every connection when that many
// bytes have come from the server, in the middle of whatever they carry.
class CuttingProxy : public QTcpServer
{
public:
    explicit CuttingProxy(quint16 serverPort) : m_serverPort(serverPort)
    {
        connect(this, &QTcpServer::newConnection, this, &CuttingProxy::pair);
        listen(QHostAddress::LocalHost);
    }
    void arm(qint64 bytes)
    {
        m_cutAfter = bytes;
        m_since = 0;
    }
    int cuts = 0;

    // Every connection ends at once, as when the network goes.
    void cutAll()
    {
        for (const auto &[client, server] : std::exchange(m_pairs, {})) {
            if (client)
                client->abort();
            if (server)
                server->abort();
        }
    }

private:
    void pair()
    {
        while (QTcpSocket *client = nextPendingConnection()) {
            auto *server = new QTcpSocket(client);
            m_pairs.append(std::make_pair(QPointer<QTcpSocket>(client), QPointer<QTcpSocket>(server)));
            connect(client, &QTcpSocket::readyRead, server, [client, server] { server->write(client->readAll()); });
            connect(server, &QTcpSocket::readyRead, client, [this, client, server] {
                const QByteArray bytes = server->readAll();
                if (m_cutAfter >= 0 && (m_since += bytes.size()) > m_cutAfter) {
                    m_cutAfter = -1;
                    ++cuts;
                    cutAll();
                    return;
                }
                client->write(bytes);
            });
            connect(client, &QTcpSocket::disconnected, server, &QTcpSocket::disconnectFromHost);
            connect(server, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            server->connectToHost(QHostAddress::LocalHost, m_serverPort);
        }
    }

    quint16 m_serverPort;
    qint64 m_cutAfter = -1;
    qint64 m_since = 0;
    QList<std::pair<QPointer<QTcpSocket>, QPointer<QTcpSocket>>> m_pairs;
};

// A counter's thermal printing without its window, joined as the window joins
// it: the hand-over, the job records in its work folder and the history.
// File 2 of a job is held while "segurar" lies in the folder.
struct Station
{
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Interfac01"));
    QString database;
    HistoryStore store{[this] { return database; }};
    HistoryWork work;
    PrintHistory history{store, work, [this] { return database; }};
    PrintHandOver handOver;

    explicit Station(const QString &db) : database(db)
    {
        QDir().mkpath(folder);
        QFile batch(QDir(folder).filePath(QStringLiteral("ImprEtiq.bat")));
        if (batch.open(QIODevice::WriteOnly))
            batch.write("#!/bin/sh\nd=$(dirname \"$0\")\n"
                        "case \"$1\" in *Etiq002.txt) while [ -f \"$d/segurar\" ]; do sleep 0.02; done;; esac\n"
                        "cat \"$1\" >> \"$2\"\n");
        handOver.setRecorder([this](const PrintJob &job, int filesDone, PrintHandOver::Keep keep, PrintHandOver::Recorded recorded) {
            history.thermalOut(job.history, job.positionsPerFile(), filesDone, std::move(keep), std::move(recorded));
        });
    }

    void print(const QString &tag, int files)
    {
        history.jobWritten(StationJobs::printed(tag, files));
        handOver.enqueue(StationJobs::commandFiles(folder, tag, files),
                         [this](PrintHandOver::HistoryGiven given) { history.thermalRecord(std::move(given)); });
    }
    void hold(bool held)
    {
        QFile flag(QDir(folder).filePath(QStringLiteral("segurar")));
        if (held)
            flag.open(QIODevice::WriteOnly);
        else
            flag.remove();
    }
    bool idle() { return waitUntilIdle(handOver, 120000) && QTest::qWaitFor([this] { return !work.busy(); }, 120000); }
    QStringList records() const { return QDir(folder).entryList({QStringLiteral("Envio-*.txt")}, QDir::Files); }

    // Each label on the printer, with how many times it came.
    QMap<QString, int> printed() const
    {
        QFile file(QDir(folder).filePath(QStringLiteral("impressora.prn")));
        QMap<QString, int> labels;
        if (!file.open(QIODevice::ReadOnly))
            return labels;
        static const QRegularExpression name(QStringLiteral("\"([^\"]+)\""));
        for (auto match = name.globalMatch(QString::fromLatin1(file.readAll())); match.hasNext();)
            ++labels[match.next().captured(1)];
        return labels;
    }
    // The history's jobs, by number: each as "labels: product=labels ...".
    QStringList recorded()
    {
        HistoryStore check([this] { return database; });
        QList<HistoryStore::JobRow> rows = check.jobs({});
        std::sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) { return a.id < b.id; });
        QStringList jobs;
        for (const HistoryStore::JobRow &row : rows) {
            QStringList items;
            for (const PrintedItem &item : check.items(row.id))
                items << QStringLiteral("%1=%2").arg(item.componente).arg(item.labels);
            jobs << QString::number(row.labels) + QStringLiteral(": ") + items.join(QLatin1Char(' '));
        }
        return jobs;
    }
};

} // namespace

class TstHistoryWork : public QObject
{
    Q_OBJECT

private slots:
    // Many tasks, each answered with a callback that holds something of the
    // window's: every callback is called once, and nothing of any of them is
    // destroyed on the worker, however the two threads interleave.
    void answersDieOnTheWindowsThread()
    {
        TestSuite suite;
        QVERIFY(suite.createMainDatabase());
        const QString database = QStringLiteral(":C:\\boticon\\dados\\boticon.bd");
        HeldByAnswer held;
        int answered = 0;
        {
            HistoryWork work;
            for (int i = 0; i < 40; ++i) {
                work.run(
                    database, [](HistoryWork::Context &context) { context.history().labelsRecorded(1); },
                    [held, &answered](const HistoryWork::Outcome &outcome) {
                        QVERIFY2(!outcome.failed, qPrintable(outcome.error));
                        ++answered;
                    },
                    i % 2 ? HistoryWork::Kind::Action : HistoryWork::Kind::Record);
            }
            // Asked and not answered when the work goes: dropped here too.
            QVERIFY(QTest::qWaitFor([&] { return !work.busy(); }, 60000));
            work.run(database, [](HistoryWork::Context &) { QThread::msleep(50); }, [held](const HistoryWork::Outcome &) {});
        }
        QCOMPARE(answered, 40);
        QCOMPARE(held.offThread->load(), 0);
    }

    // "Repetir" reads a job of 20,000 products, and the network breaks the
    // read off half-way through the rows: the broken read never passes for
    // the end of the job. The read is made again on a new attachment and
    // brings every product.
    void historyReadBrokenHalfWay()
    {
        SELVAR_REQUIRE_SERVER();
        const QString direct = TestSuite::createServerDatabase(QStringLiteral("historico-cortado"));
        QVERIFY(!direct.isEmpty());
        const QString host = direct.section(QLatin1Char(':'), 0, 0);
        const quint16 port = host.contains(QLatin1Char('/')) ? quint16(host.section(QLatin1Char('/'), 1).toUInt()) : 3050;
        CuttingProxy proxy(port);
        QVERIFY(proxy.isListening());
        const QString database = QStringLiteral("127.0.0.1/%1:%2").arg(proxy.serverPort()).arg(direct.section(QLatin1Char(':'), 1));

        constexpr int kProducts = 20000;
        PrintedJob job = StationJobs::printed(QStringLiteral("P"), kProducts);
        qint64 id = 0;
        HistoryStore([direct] { return direct; }).record(job, HistoryStore::thermalOutput(), &id);

        HistoryWork work;
        // The worker's attachments say goodbye through the proxy as the work
        // ends, with this thread waiting: the network goes first.
        const auto networkGone = qScopeGuard([&proxy] { proxy.cutAll(); });
        auto read = [&](QList<PrintedItem> *items) {
            HistoryWork::Outcome outcome;
            bool answered = false;
            work.run(database, [items, id](HistoryWork::Context &context) { *items = context.history().items(id); },
                     [&](const HistoryWork::Outcome &o) {
                         outcome = o;
                         answered = true;
                     });
            if (!QTest::qWaitFor([&] { return answered; }, 120000))
                outcome.failed = true;
            return outcome;
        };
        QList<PrintedItem> items;
        QVERIFY(!read(&items).failed); // the attachments made, through the network
        QCOMPARE(items.size(), kProducts);
        items.clear();
        proxy.arm(256 * 1024);
        const HistoryWork::Outcome outcome = read(&items);
        QCOMPARE(proxy.cuts, 1);
        QVERIFY2(!outcome.failed, qPrintable(outcome.error));
        QVERIFY(outcome.retried);
        QCOMPARE(items.size(), kProducts);
        QCOMPARE(items.constLast().componente, QStringLiteral("P P%1").arg(kProducts));
    }

    // Job A stops after its file 2 with the server away, so its history is
    // not written; a new job B then replaces it, the server still away. A's
    // record stays, no longer offered to "Continuar envio", and the print line
    // hears the history is pending; once the server is back, the history holds
    // A's six labels and B's, each once, and no record is left.
    void replacedJobKeptUntilItsHistory()
    {
        PrivateServer server;
        SELVAR_START_PRIVATE_SUITE(server, database, TestSuite::Writes::Async);
        Station station(database);
        QSignalSpy sending(&station.handOver, &PrintHandOver::sending);
        QSignalSpy ended(&station.handOver, &PrintHandOver::jobEnded);
        QSignalSpy kept(&station.handOver, &PrintHandOver::historyKept);
        station.hold(true);
        station.print(QStringLiteral("A"), 5);
        QTRY_COMPARE_WITH_TIMEOUT(sending.size(), 2, 60000);
        server.kill();
        station.handOver.stop();
        station.hold(false);
        QVERIFY(station.idle());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended[0][0].value<HandOverResult>().historyNote, PrintHistory::failureNote());
        QCOMPARE(station.handOver.pending(station.folder).size(), 1);

        station.print(QStringLiteral("B"), 2);
        QVERIFY(station.idle());
        QCOMPARE(kept.size(), 1);
        QCOMPARE(kept[0][0].toString(), PrintHistory::failureNote() + PrintHandOver::historyPendingText());
        QCOMPARE(station.records().size(), 2); // A's, replaced, and B's, whole, both waiting for the history
        QCOMPARE(station.handOver.pending(station.folder).size(), 0);

        QVERIFY(server.start());
        station.handOver.settle(station.folder);
        QVERIFY(station.idle());
        QCOMPARE(station.recorded(), QStringList({QStringLiteral("6: A P1=3 A P2=3"), QStringLiteral("6: B P1=3 B P2=3")}));
        QCOMPARE(station.records(), QStringList());
        QCOMPARE(station.printed().size(), 12);
        station.handOver.settle(station.folder);
        QVERIFY(station.idle());
        QCOMPARE(station.recorded().size(), 2);
    }

    // A whole job that went without a history number: the commit of its
    // history lands and its answer is lost, and the write run again on a new
    // attachment loses its answer too. Its record stays; settled later, the
    // job is found under the number its record keeps and is recorded once.
    void numberlessJobRecordedOnce()
    {
        PrivateServer server;
        SELVAR_START_PRIVATE_SUITE(server, database, TestSuite::Writes::Async);
        Station station(database);
        // The worker's attachments made and the tables seen, before counting.
        station.work.run(database, [](HistoryWork::Context &context) { context.history().labelsRecorded(0); }, {});
        QVERIFY(station.idle());
        std::atomic<int> commits{0};
        SqlConnection::setCommitSeam([&commits](SqlConnection &, const QString &statement) {
            if (!statement.isEmpty() || QThread::currentThread()->objectName() != QLatin1String("Historico"))
                return false;
            // 1 the number, 2 what is recorded so far, 3 the job (lost), 4 the same read run again (lost).
            const int commit = ++commits;
            return commit == 3 || commit == 4;
        });
        const auto noSeam = qScopeGuard([] { SqlConnection::setCommitSeam({}); });
        QSignalSpy ended(&station.handOver, &PrintHandOver::jobEnded);
        PrintJob job = StationJobs::commandFiles(station.folder, QStringLiteral("A"), 3);
        job.history = PrintHistory::thermalRecord(StationJobs::printed(QStringLiteral("A"), 3), 0);
        station.handOver.enqueue(job);
        QVERIFY(station.idle());
        QCOMPARE(commits.load(), 4);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended[0][0].value<HandOverResult>().historyNote, PrintHistory::failureNote());
        QCOMPARE(station.recorded(), QStringList{QStringLiteral("9: A P1=3 A P2=3 A P3=3")}); // the lost commit landed
        QCOMPARE(station.records().size(), 1);

        SqlConnection::setCommitSeam({});
        station.handOver.settle(station.folder);
        QVERIFY(station.idle());
        QCOMPARE(station.recorded(), QStringList{QStringLiteral("9: A P1=3 A P2=3 A P3=3")});
        QCOMPARE(station.records(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TstHistoryWork)
#include "tst_history_work.moc"
