// Which printer paths name a CUPS queue, and the question to the scheduler run
// as a process the caller never waits for: a stand-in lpstat early in PATH
// answers (or never does). And the time limit of a batch run read from the
// station's Selvar.ini, kept within what milliseconds in an int can hold.
#include "PrinterQueue.h"
#include "PrinterQueueCheck.h"
#include "StationSettings.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class PrinterQueueTest : public QObject
{
    Q_OBJECT

    QTemporaryDir shims;
    QByteArray previousPath;

    void lpstatThat(const QByteArray &body)
    {
        QFile file(shims.filePath(QStringLiteral("lpstat")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body);
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    }

    // The answer of one check, or "(none)" when none came.
    QString answerOf(const QString &printerPath, int limitMs = 10000)
    {
        PrinterQueueCheck check;
        check.setAnswerLimitMs(limitMs);
        QSignalSpy answered(&check, &PrinterQueueCheck::answered);
        check.start(printerPath);
        if (answered.isEmpty() && !answered.wait(30000))
            return QStringLiteral("(none)");
        return answered.constFirst().constFirst().toString();
    }

private slots:
    void init()
    {
        previousPath = qgetenv("PATH");
        qputenv("PATH", shims.path().toLocal8Bit() + ':' + previousPath);
    }
    void cleanup() { qputenv("PATH", previousPath); }

    void pathsThatNameAQueue_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("queue");
        QTest::addColumn<bool>("marked");
        QTest::newRow("marked") << "cups:Zebra" << "Zebra" << true;
        QTest::newRow("bare name") << "Zebra" << "Zebra" << false;
        QTest::newRow("address") << "192.0.2.7" << "" << false;
        QTest::newRow("ipv6") << "2001:db8::7" << "" << false;
        QTest::newRow("port") << "LPT1" << "" << false;
        QTest::newRow("port, lower case") << "com2:" << "" << false;
        QTest::newRow("share") << "\\\\caixa\\zebra" << "" << false;
        QTest::newRow("device") << "/dev/usb/lp0" << "" << false;
        QTest::newRow("empty") << "" << "" << false;
    }
    void pathsThatNameAQueue()
    {
        QFETCH(QString, path);
        const PrinterQueue::Target target = PrinterQueue::target(path);
        QTEST(target.queue, "queue");
        QTEST(target.marked, "marked");
        QCOMPARE(PrinterQueueCheck::needsAsking(path), !target.queue.isEmpty());
    }

    // A scheduler that never answers is given up at the limit: a marked queue
    // says so; a bare name goes to the batch file as it would without CUPS.
    void schedulerThatNeverAnswers()
    {
        lpstatThat("exec sleep 600\n");
        QVERIFY(answerOf(QStringLiteral("cups:Zebra"), 300).contains(QStringLiteral("não respondeu")));
        QCOMPARE(answerOf(QStringLiteral("Zebra"), 300), QString());
    }

    // No lpstat at all: only a marked queue needs one.
    void withoutLpstat()
    {
        QFile::remove(shims.filePath(QStringLiteral("lpstat")));
        qputenv("PATH", shims.path().toLocal8Bit());
        QCOMPARE(answerOf(QStringLiteral("Zebra")), QString());
        QVERIFY(answerOf(QStringLiteral("cups:Zebra")).contains(QStringLiteral("cups-client")));
    }

    void fileTimeLimit_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("told");
        QTest::newRow("missing") << "" << 60 << false;
        QTest::newRow("set") << "TEMPO LIMITE POR ARQUIVO=90" << 90 << false;
        QTest::newRow("largest") << "TEMPO LIMITE POR ARQUIVO=2147483" << 2147483 << false;
        QTest::newRow("too large") << "TEMPO LIMITE POR ARQUIVO=2147484" << 2147483 << true;
        QTest::newRow("far too large") << "TEMPO LIMITE POR ARQUIVO=99999999999" << 2147483 << true;
        QTest::newRow("zero") << "TEMPO LIMITE POR ARQUIVO=0" << 1 << true;
        QTest::newRow("not a number") << "TEMPO LIMITE POR ARQUIVO=um minuto" << 60 << true;
    }
    void fileTimeLimit()
    {
        QFETCH(QString, line);
        QTemporaryDir folder;
        TextFile::writeLines(QDir(folder.path()).filePath(QStringLiteral("Selvar.ini")), {line});
        QString note;
        QTEST(StationSettings::fileTimeLimitSeconds(folder.path(), &note), "seconds");
        QTEST(!note.isEmpty(), "told");
        if (!note.isEmpty())
            QVERIFY2(note.contains(QStringLiteral("TEMPO LIMITE POR ARQUIVO")), qPrintable(note));
        // In milliseconds, as the batch run's limit, it stays positive.
        QVERIFY(StationSettings::fileTimeLimitSeconds(folder.path()) * 1000 > 0);
    }
};

QTEST_MAIN(PrinterQueueTest)
#include "tst_printer_queue.moc"
