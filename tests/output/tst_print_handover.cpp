// The hand-over of thermal jobs through real batch files run by /bin/sh: file
// order under uneven run times, a run that fails, a job queued behind a slow
// one, a disk that fills while a job is written, and the installation's
// ImprEtiq.bat sending through a real CUPS raw queue to a socket printer.
#include "Epl2Label.h"
#include "HandOverIdle.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <unistd.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray bytesOf(const PrintJob &job)
{
    QByteArray all;
    for (const CommandFile &file : job.files)
        all += file.bytes;
    return all;
}

// Runs a CUPS command; its output, or why it failed.
bool cups(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStandardPaths::findExecutable(program, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")}), arguments);
    const bool ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll()) + process.errorString();
    return ok;
}

bool schedulerRunning()
{
    QString output;
    return cups(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &output) && !output.contains(QLatin1String("not running"));
}

// A printer on a raw TCP port, as a network label printer listens on 9100:
// what each connection brings is one print job.
class SocketPrinter : public QTcpServer
{
public:
    QList<QByteArray> jobs;

    SocketPrinter()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                const qsizetype job = jobs.size();
                jobs.append(QByteArray());
                connect(socket, &QTcpSocket::readyRead, this, [this, socket, job] { jobs[job] += socket->readAll(); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    qsizetype received() const
    {
        qsizetype bytes = 0;
        for (const QByteArray &job : jobs)
            bytes += job.size();
        return bytes;
    }
};

} // namespace

class PrintHandOverTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString folder;  // the station's work folder
    QString printer; // a plain file standing for the printer

    void writeBatch(const QString &inFolder, const QByteArray &script)
    {
        QFile batch(QDir(inFolder).filePath(QStringLiteral("ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.write("#!/bin/sh\n" + script + "\n");
    }

    // A batch file that copies each file to the printer, holding file 2 until
    // the test releases it.
    void holdSecondFile()
    {
        writeBatch(folder, "case \"$1\" in *Etiq002.txt) while [ ! -f \"$0.siga\" ]; do sleep 0.02; done;; esac\n"
                           "cat \"$1\" >> \"$2\"");
    }
    void releaseSecondFile()
    {
        QFile go(QDir(folder).filePath(QStringLiteral("ImprEtiq.bat.siga")));
        QVERIFY(go.open(QIODevice::WriteOnly));
    }

    // `labels` labels named "<tag> <n>", three across per command file, as the
    // thermal output lays them out.
    static PrintJob job(const QString &inFolder, int labels, const QString &tag, const QString &printerPath)
    {
        PrintJob print{QDir(inFolder).filePath(QStringLiteral("ImprEtiq.bat")), printerPath, {}};
        for (int first = 1; first <= labels; first += 3) {
            QStringList lines = Epl2::header(first == 1);
            const int across = std::min(3, labels - first + 1);
            for (int column = 1; column <= across; ++column)
                lines << Epl2::labelBlock(column, ThermalLabel::fromJobRow(QStringLiteral("%1 %2").arg(tag).arg(first + column - 1),
                                                                           QStringLiteral("7891058017392"), Decimal()));
            lines << Epl2::printLine();
            const QString name = QStringLiteral("Etiq%1.txt").arg(first / 3 + 1, 3, 10, QLatin1Char('0'));
            print.files.append({QDir(inFolder).filePath(name), TextFile::encodeLines(lines), across});
        }
        return print;
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        folder = dir->filePath(QStringLiteral("Interfac01"));
        QVERIFY(QDir().mkpath(folder));
        printer = dir->filePath(QStringLiteral("impressora de etiquetas.prn"));
    }

    // A run that ends badly stops its job there: the message names the file,
    // what the batch file said, how many labels had gone out and that the rest
    // stayed behind; the fourth file never reaches the printer.
    void failingRunStopsTheJob()
    {
        writeBatch(folder, "case \"$1\" in *Etiq003.txt) echo 'impressora desligada' >&2; exit 3;; esac\ncat \"$1\" >> \"$2\"");
        PrintHandOver handOver;
        QSignalSpy failed(&handOver, &PrintHandOver::jobFailed);
        QSignalSpy done(&handOver, &PrintHandOver::jobHandedOver);
        const PrintJob print = job(folder, 15, QStringLiteral("P"), printer);
        QCOMPARE(print.files.size(), 5);
        handOver.enqueue(print);
        QVERIFY(waitUntilIdle(handOver, 30000));
        QCOMPARE(done.size(), 0);
        QCOMPARE(failed.size(), 1);
        const QString message = failed[0][0].toString();
        for (const QString &part : {QStringLiteral("Etiq003.txt"), QStringLiteral("código 3"), QStringLiteral("impressora desligada"),
                                    QStringLiteral("6 etiquetas já foram enviadas à impressora"),
                                    QStringLiteral("Os 2 arquivos seguintes não foram enviados")})
            QVERIFY2(message.contains(part), qPrintable(message));
        QCOMPARE(failed[0][1].toInt(), 6);
        QCOMPARE(readFile(printer), print.files[0].bytes + print.files[1].bytes);
    }

    // A batch file that waits for a key reads an empty input and goes on: the
    // job prints whole (a run held by the key would meet the time limit and fail).
    void batchWaitingForAKeyDoesNotHang()
    {
        writeBatch(folder, "read x\ncat \"$1\" >> \"$2\"");
        PrintHandOver handOver;
        handOver.setFileTimeLimitSeconds(60);
        QSignalSpy done(&handOver, &PrintHandOver::jobHandedOver);
        const PrintJob print = job(folder, 6, QStringLiteral("P"), printer);
        handOver.enqueue(print);
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(done.size(), 1);
        QCOMPARE(readFile(printer), bytesOf(print));
    }

    // The third of five runs never ends by itself (it waits for a file nobody
    // writes), after copying its file to the printer or before: the time limit
    // ends it with what it started, and the job stops with the file named as
    // maybe printed, like a run "Fechar mesmo assim" cut off. "Continuar envio"
    // asks about it, and whichever answer the clerk gives from what came out
    // of the printer, every label is on the printer once.
    void runPastTheTimeLimitStopsTheJob_data()
    {
        QTest::addColumn<bool>("copiedFirst");
        QTest::newRow("copied, then hung; not sent again") << true;
        QTest::newRow("hung before copying; sent again") << false;
    }
    void runPastTheTimeLimitStopsTheJob()
    {
        QFETCH(bool, copiedFirst);
        const QByteArray hang = "while [ ! -f \"$0.nunca\" ]; do sleep 0.05; done";
        writeBatch(folder, copiedFirst ? "cat \"$1\" >> \"$2\"\ncase \"$1\" in *Etiq003.txt) " + hang + ";; esac"
                                       : "case \"$1\" in *Etiq003.txt) " + hang + ";; esac\ncat \"$1\" >> \"$2\"");
        PrintHandOver handOver;
        handOver.setFileTimeLimitSeconds(1);
        QSignalSpy ended(&handOver, &PrintHandOver::jobEnded);
        const PrintJob print = job(folder, 15, QStringLiteral("P"), printer);
        handOver.enqueue(print);
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(ended.size(), 1);
        const auto result = ended[0][0].value<HandOverResult>();
        QCOMPARE(int(result.end), int(HandOverResult::End::Failed));
        QCOMPARE(result.labelsPerFile, QList<int>({3, 3}));
        QCOMPARE(result.labelsCutOff, 3);
        QCOMPARE(result.filesLeft, 3);
        for (const QString &part : {QStringLiteral("Etiq003.txt"), QStringLiteral("interrompido após 1 s"),
                                    QStringLiteral("6 etiquetas já foram enviadas"),
                                    QStringLiteral("O arquivo Etiq003.txt (etiquetas 7–9) pode ter saído na impressora ou não")})
            QVERIFY2(result.message.contains(part), qPrintable(result.message));
        QCOMPARE(readFile(printer), print.files[0].bytes + print.files[1].bytes + (copiedFirst ? print.files[2].bytes : QByteArray()));
        QList<ThermalJournal::Record> rests = handOver.pending(folder);
        QCOMPARE(rests.size(), 1);
        QCOMPARE(rests[0].job.firstFileNumber, 3);
        QCOMPARE(rests[0].interrupted, 3);
        QCOMPARE(rests[0].job.files.size(), 5);
        QCOMPARE(ThermalJournal::load(rests[0].job.journal)->job.files[2].bytes, print.files[2].bytes);

        QStringList asked;
        const Messages::QuestionSink previous = Messages::setQuestionSink([&](const QString &question) {
            asked << question;
            return !copiedFirst;
        });
        const auto restore = qScopeGuard([&] { Messages::setQuestionSink(previous); });
        writeBatch(folder, "cat \"$1\" >> \"$2\"");
        QCOMPARE(handOver.continuePending(folder), 1);
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(asked, QStringList{QStringLiteral("O arquivo 3 (etiquetas 7–9) pode já ter saído na impressora. Enviar de novo?")});
        QCOMPARE(readFile(printer), bytesOf(print));
        QCOMPARE(handOver.pending(folder).size(), 0);
    }

    // The clerk says the file cut off did print, but its record cannot take
    // the mark (it is gone when the mark is written): nothing of the job
    // goes out unmarked, the clerk is told, and the hand-over ends its wait.
    void unwritableDoneMarkSendsNothing()
    {
        writeBatch(folder, "case \"$1\" in *Etiq002.txt) while [ ! -f \"$0.nunca\" ]; do sleep 0.05; done;; esac\n"
                           "cat \"$1\" >> \"$2\"");
        PrintHandOver handOver;
        handOver.setFileTimeLimitSeconds(1);
        handOver.enqueue(job(folder, 9, QStringLiteral("P"), printer));
        QVERIFY(waitUntilIdle(handOver));
        const QByteArray printed = readFile(printer);
        QCOMPARE(handOver.pending(folder).size(), 1);
        const QString journal = handOver.pending(folder)[0].job.journal;

        QStringList shown;
        const Messages::Sink previousSink = Messages::setSink([&](const QString &text) { shown << text; });
        bool replaced = false;
        const Messages::QuestionSink previous = Messages::setQuestionSink([&](const QString &) {
            replaced = QFile::remove(journal) && QDir().mkdir(journal);
            return false;
        });
        const auto restore = qScopeGuard([&] {
            Messages::setQuestionSink(previous);
            Messages::setSink(previousSink);
        });
        writeBatch(folder, "cat \"$1\" >> \"$2\"");
        QSignalSpy idle(&handOver, &PrintHandOver::idle);
        QCOMPARE(handOver.continuePending(folder), 1);
        QVERIFY(replaced);
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(QStringLiteral("Não foi possível gravar o registro do envio %1 (").arg(journal)), qPrintable(shown[0]));
        QCOMPARE(readFile(printer), printed);
        QCOMPARE(idle.size(), 1);
    }

    // 1,000 labels in 334 files, each run sleeping a random few milliseconds:
    // the files reach the printer one after the other, in file order.
    void orderKeptUnderUnevenRuns()
    {
        writeBatch(folder, "r=$(od -An -N1 -tu1 /dev/urandom)\nsleep 0.00$((r % 10))\nbasename \"$1\" >> \"$2\"");
        PrintHandOver handOver;
        QSignalSpy done(&handOver, &PrintHandOver::jobHandedOver);
        QSignalSpy sending(&handOver, &PrintHandOver::sending);
        handOver.enqueue(job(folder, 1000, QStringLiteral("P"), printer));
        QVERIFY(handOver.busy());
        QVERIFY(waitUntilIdle(handOver, 300000));
        QStringList expected;
        for (int i = 1; i <= 334; ++i)
            expected << QStringLiteral("Etiq%1.txt").arg(i, 3, 10, QLatin1Char('0'));
        QCOMPARE(QString::fromLatin1(readFile(printer)).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0], QVariantList({1000, 334}));
        QCOMPARE(sending.size(), 334);
        QCOMPARE(sending[11], QVariantList({12, 334}));
    }

    // A second job queued while a slow first one is still being handed over
    // waits: its Etiq001.txt is not written over the first job's, and both
    // reach the printer whole, one after the other.
    void secondJobWaitsForTheFirst()
    {
        // File 2 is held until the test has queued the second job.
        holdSecondFile();
        PrintHandOver handOver;
        QSignalSpy done(&handOver, &PrintHandOver::jobHandedOver);
        QSignalSpy sending(&handOver, &PrintHandOver::sending);
        const PrintJob first = job(folder, 7, QStringLiteral("PRIMEIRO"), printer);
        const PrintJob second = job(folder, 4, QStringLiteral("SEGUNDO"), printer);
        handOver.enqueue(first);
        QTRY_COMPARE_WITH_TIMEOUT(sending.size(), 2, 60000);
        QCOMPARE(handOver.currentFile(), 2);
        handOver.enqueue(second);
        QCOMPARE(readFile(second.files[0].path), first.files[0].bytes);
        releaseSecondFile();
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(readFile(printer), bytesOf(first) + bytesOf(second));
        QCOMPARE(done.size(), 2);
        QCOMPARE(done[0], QVariantList({7, 3}));
        QCOMPARE(done[1], QVariantList({4, 2}));
    }

    // A job whose history record is still being made holds its place in the
    // line and those behind it, with no record of its own and nothing sent;
    // given, it goes with it, and the next after it.
    void jobWaitsInLineForItsHistory()
    {
        writeBatch(folder, "cat \"$1\" >> \"$2\"");
        PrintHandOver handOver;
        QByteArrayList recorded;
        handOver.setRecorder([&](const PrintJob &done, int, PrintHandOver::Keep, PrintHandOver::Recorded then) {
            recorded << done.history;
            then(QString());
        });
        QSignalSpy sending(&handOver, &PrintHandOver::sending);
        const PrintJob x = job(folder, 4, QStringLiteral("X"), printer);
        const PrintJob y = job(folder, 2, QStringLiteral("Y"), printer);
        PrintHandOver::HistoryGiven give;
        handOver.enqueue(x, [&give](PrintHandOver::HistoryGiven given) { give = std::move(given); });
        handOver.enqueue(y);
        QVERIFY(give);
        QVERIFY(handOver.busy());
        QCOMPARE(sending.size(), 0);
        // Y's alone, written on the hand-over's disk thread.
        QTRY_COMPARE(QDir(folder).entryList({QStringLiteral("Envio-*.txt")}).size(), 1);
        QCOMPARE(sending.size(), 0);
        QVERIFY(!QFile::exists(printer));
        give("historia X");
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(readFile(printer), bytesOf(x) + bytesOf(y));
        QCOMPARE(recorded, QByteArrayList({"historia X", QByteArray()}));
    }

    // "Parar envio" while file 2 of job A goes, job B queued behind it: A
    // stops after file 2, B is kept, and "Continuar envio" sends A's files 3
    // to 5 and then B, each whole and once, their records gone after. B's
    // history record may still be on its way as the line stops: B is then
    // kept on its record once it comes.
    void stopKeepsQueuedJobsForContinue_data()
    {
        QTest::addColumn<bool>("historyLate");
        QTest::newRow("B ready") << false;
        QTest::newRow("B's history after the stop") << true;
    }
    void stopKeepsQueuedJobsForContinue()
    {
        QFETCH(bool, historyLate);
        holdSecondFile();
        PrintHandOver handOver;
        QSignalSpy sending(&handOver, &PrintHandOver::sending);
        QSignalSpy ended(&handOver, &PrintHandOver::jobEnded);
        const PrintJob a = job(folder, 15, QStringLiteral("A"), printer);
        const PrintJob b = job(folder, 4, QStringLiteral("B"), printer);
        handOver.enqueue(a);
        QTRY_COMPARE_WITH_TIMEOUT(sending.size(), 2, 60000);
        PrintHandOver::HistoryGiven give;
        if (historyLate)
            handOver.enqueue(b, [&give](PrintHandOver::HistoryGiven given) { give = std::move(given); });
        else
            handOver.enqueue(b);
        handOver.stop();
        releaseSecondFile();
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 60000);
        if (historyLate) {
            QVERIFY(handOver.busy());
            QCOMPARE(handOver.pending(folder).size(), 1);
            give("historia B");
        }
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(ended.size(), 1);
        const auto stopped = ended[0][0].value<HandOverResult>();
        QCOMPARE(int(stopped.end), int(HandOverResult::End::Stopped));
        QCOMPARE(stopped.jobsKept, 1);
        QCOMPARE(readFile(printer), a.files[0].bytes + a.files[1].bytes);

        const QList<ThermalJournal::Record> rests = handOver.pending(folder);
        QCOMPARE(rests.size(), 2);
        QCOMPARE(rests[0].job.firstFileNumber, 3);
        QCOMPARE(rests[1].job.firstFileNumber, 1);
        QCOMPARE(rests[1].job.files.size(), 2);
        QCOMPARE(rests[1].job.history, historyLate ? QByteArray("historia B") : QByteArray());
        QCOMPARE(handOver.continuePending(folder), 2);
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(readFile(printer), bytesOf(a) + bytesOf(b));
        QCOMPARE(handOver.pending(folder).size(), 0);
        QCOMPARE(QDir(folder).entryList({QStringLiteral("Envio-*.txt")}), QStringList());
    }

    // The job's record disappears while file 2 goes (a disk pulled, a
    // cleaner): the file that went cannot be marked, so the job stops there
    // with a message, and file 3 never goes without its record.
    void lostRecordStopsTheJob()
    {
        holdSecondFile();
        PrintHandOver handOver;
        QSignalSpy sending(&handOver, &PrintHandOver::sending);
        QSignalSpy failed(&handOver, &PrintHandOver::jobFailed);
        const PrintJob print = job(folder, 15, QStringLiteral("P"), printer);
        handOver.enqueue(print);
        QTRY_COMPARE_WITH_TIMEOUT(sending.size(), 2, 60000);
        const QStringList records = QDir(folder).entryList({QStringLiteral("Envio-*.txt")});
        QCOMPARE(records.size(), 1);
        QVERIFY(QFile::remove(QDir(folder).filePath(records[0])));
        releaseSecondFile();
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(failed.size(), 1);
        const QString message = failed[0][0].toString();
        QVERIFY2(message.contains(QStringLiteral("Etiq002.txt foi enviado, mas não foi possível gravar isso no registro do envio"))
                     && message.contains(QStringLiteral("6 etiquetas já foram enviadas")),
                 qPrintable(message));
        QCOMPARE(readFile(printer), print.files[0].bytes + print.files[1].bytes);
    }

    // The record goes just as file 2 is about to be handed over: its
    // "iniciado" mark cannot be written, so file 2 never reaches the batch
    // file, and the message says it was not sent and why.
    void unmarkedFileIsNotSent()
    {
        writeBatch(folder, "cat \"$1\" >> \"$2\"");
        PrintHandOver handOver;
        QSignalSpy failed(&handOver, &PrintHandOver::jobFailed);
        connect(&handOver, &PrintHandOver::sending, this, [this](int fileNumber) {
            if (fileNumber == 2) {
                const QStringList records = QDir(folder).entryList({QStringLiteral("Envio-*.txt")});
                QCOMPARE(records.size(), 1);
                QVERIFY(QFile::remove(QDir(folder).filePath(records[0])));
            }
        });
        const PrintJob print = job(folder, 9, QStringLiteral("M"), printer);
        handOver.enqueue(print);
        QVERIFY(waitUntilIdle(handOver));
        QCOMPARE(failed.size(), 1);
        const QString message = failed[0][0].toString();
        QVERIFY2(message.contains(QStringLiteral("Etiq002.txt não foi enviado, para que nada saia sem registro"))
                     && message.contains(QStringLiteral("3 etiquetas já foram enviadas")),
                 qPrintable(message));
        QCOMPARE(readFile(printer), print.files[0].bytes);
    }

    // A work folder on a disk that fills up: the job stops before any file goes
    // to the printer, the message names the file that could not be written, and
    // no command file is left half written.
    void fullDiskSendsNothing()
    {
        if (geteuid() != 0)
            QSKIP("needs root to mount a small tmpfs as a full disk; run the tests as root to check a full disk");
        const QString disk = dir->filePath(QStringLiteral("disco"));
        QVERIFY(QDir().mkpath(disk));
        QProcess mount;
        mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                              QStringLiteral("size=16k"), QStringLiteral("tmpfs"), disk});
        if (!mount.waitForFinished(10000) || mount.exitCode() != 0)
            QSKIP(qPrintable(QStringLiteral("could not mount a small tmpfs: %1").arg(QString::fromLocal8Bit(mount.readAllStandardError()))));
        const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {disk}); });

        writeBatch(disk, "cat \"$1\" >> \"$2\"");
        PrintHandOver handOver;
        QSignalSpy failed(&handOver, &PrintHandOver::jobFailed);
        const PrintJob print = job(disk, 30, QStringLiteral("P"), printer);
        handOver.enqueue(print);
        QVERIFY(waitUntilIdle(handOver, 30000));
        QCOMPARE(failed.size(), 1);
        const QString message = failed[0][0].toString();
        QVERIFY2(message.contains(QStringLiteral("Não foi possível gravar o arquivo de etiquetas")) && message.contains(QStringLiteral("Etiq0"))
                     && message.contains(QStringLiteral("Nenhuma etiqueta foi enviada à impressora")),
                 qPrintable(message));
        QVERIFY(!QFile::exists(printer));
        // Every command file on the disk is whole; the one that failed is not there at all.
        int whole = 0;
        for (const CommandFile &file : print.files) {
            if (QFile::exists(file.path)) {
                QCOMPARE(readFile(file.path), file.bytes);
                ++whole;
            }
        }
        QVERIFY(whole < print.files.size());
        QVERIFY2(message.contains(print.files[whole].path), qPrintable(message));
        for (const QString &name : QDir(disk).entryList(QDir::Files))
            QVERIFY2(name == QLatin1String("ImprEtiq.bat") || name.endsWith(QLatin1String(".txt")), qPrintable(name));
    }

    // 300 labels in 100 files through the shipped ImprEtiq.bat, the printer path
    // naming a CUPS raw queue that sends to a socket printer on 127.0.0.1: the
    // printer receives every command file whole, as its own job, in file order.
    void cupsRawQueueReceivesTheFilesInOrder()
    {
        const bool ci = qgetenv("CI") == "true";
        for (const char *program : {"cupsd", "lpadmin", "lp", "lpstat"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")}).isEmpty()) {
                if (ci)
                    QFAIL(qPrintable(QStringLiteral("%1 is missing; scripts/install-deps installs CUPS").arg(QLatin1String(program))));
                QSKIP("CUPS is not installed; scripts/install-deps installs cups-daemon and cups-client");
            }
        }
        if (!QFile::exists(QStringLiteral("/usr/lib/cups/backend/socket"))) {
            if (ci)
                QFAIL("CUPS's socket backend is missing; scripts/install-deps installs it");
            QSKIP("CUPS's socket backend is missing; scripts/install-deps installs it");
        }
        if (!schedulerRunning()) {
            if (geteuid() != 0 && !ci)
                QSKIP("the CUPS scheduler is not running and only root may start it");
            QString output;
            QVERIFY2(cups(QStringLiteral("cupsd"), {}, &output), qPrintable(output));
            QTRY_VERIFY_WITH_TIMEOUT(schedulerRunning(), 15000);
        }

        SocketPrinter socketPrinter;
        QVERIFY(socketPrinter.listen(QHostAddress::LocalHost));
        const QString queue = QStringLiteral("SelvarTeste%1").arg(QCoreApplication::applicationPid());
        QString output;
        QVERIFY2(cups(QStringLiteral("lpadmin"), {QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                                                 QStringLiteral("socket://127.0.0.1:%1").arg(socketPrinter.serverPort())},
                      &output),
                 qPrintable(output));
        const auto removeQueue = qScopeGuard([&] { cups(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue}); });

        QVERIFY(QFile::copy(QStringLiteral(SELVAR_IMPRETIQ), QDir(folder).filePath(QStringLiteral("ImprEtiq.bat"))));
        PrintHandOver handOver;
        QSignalSpy done(&handOver, &PrintHandOver::jobHandedOver);
        QSignalSpy failed(&handOver, &PrintHandOver::jobFailed);
        const PrintJob print = job(folder, 300, QStringLiteral("PRODUTO"), QStringLiteral("cups:") + queue);
        handOver.enqueue(print);
        QVERIFY(waitUntilIdle(handOver, 120000));
        QVERIFY2(failed.isEmpty(), failed.isEmpty() ? "" : qPrintable(failed[0][0].toString()));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done[0], QVariantList({300, 100}));

        const qsizetype expected = bytesOf(print).size();
        QTRY_VERIFY_WITH_TIMEOUT(socketPrinter.received() >= expected, 120000);
        QTest::qWait(300); // nothing more may come
        QCOMPARE(socketPrinter.jobs.size(), print.files.size());
        for (qsizetype i = 0; i < print.files.size(); ++i)
            QVERIFY2(socketPrinter.jobs[i] == print.files[i].bytes, qPrintable(QStringLiteral("job %1 differs").arg(i + 1)));
    }
};

QTEST_GUILESS_MAIN(PrintHandOverTest)
#include "tst_print_handover.moc"
