// A thermal job's record read as the counter looks at it on every idle moment
// (labels and marks, not the files) and as "Continuar envio" sends it (whole):
// records of this version, of the one before it (files first), marks added
// after a look, and a record cut short.
#include "ThermalJournal.h"
#include "ThermalJournalCache.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

PrintJob threeFiles(const QString &folder)
{
    PrintJob job{QDir(folder).filePath(QStringLiteral("ImprEtiq.bat")), QStringLiteral("/dev/usb/lp0"), {}};
    for (int n = 1; n <= 3; ++n)
        job.files.append({QDir(folder).filePath(QStringLiteral("Etiq00%1.txt").arg(n)),
                          QByteArray("N\r\nGW10,10,2,2,") + QByteArray(4, char(0xA0 + n)) + "\r\nP1\r\n", n == 3 ? 1 : 3});
    job.history = QByteArray("trabalho 42");
    return job;
}

QList<int> labelsOf(const PrintJob &job)
{
    QList<int> labels;
    for (const CommandFile &file : job.files)
        labels << file.labels;
    return labels;
}

void append(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(bytes);
}

} // namespace

class ThermalJournalTest : public QObject
{
    Q_OBJECT

private slots:
    void looksSeeMarksAndSendingReadsFiles()
    {
        QTemporaryDir folder;
        PrintJob job = threeFiles(folder.path());
        QVERIFY(ThermalJournal::create(job).isEmpty());
        for (bool fromDisk : {false, true}) {
            // As this program wrote it, and as a program started again finds it.
            if (fromDisk)
                ThermalJournalCache::forget(job.journal);
            QList<ThermalJournal::Record> records = ThermalJournal::inFolder(folder.path());
            QCOMPARE(records.size(), 1);
            QCOMPARE(records[0].job.firstFileNumber, fromDisk ? 2 : 1);
            QCOMPARE(labelsOf(records[0].job), QList<int>({3, 3, 1}));
            QCOMPARE(records[0].job.history, job.history);
            QCOMPARE(records[0].job.batchFile, job.batchFile);
            QVERIFY(records[0].job.files[0].bytes.isEmpty()); // a look never reads the files
            QVERIFY(ThermalJournal::markStarted(job.journal, 1).isEmpty());
            QVERIFY(ThermalJournal::markDone(job.journal, 1).isEmpty());
            if (!fromDisk) {
                records = ThermalJournal::inFolder(folder.path());
                QCOMPARE(records[0].job.firstFileNumber, 2);
            }
        }
        QVERIFY(ThermalJournal::markStarted(job.journal, 2).isEmpty());
        const ThermalJournal::Record looked = ThermalJournal::inFolder(folder.path()).value(0);
        QCOMPARE(looked.interrupted, 2);
        const std::optional<ThermalJournal::Record> whole = ThermalJournal::load(job.journal);
        QVERIFY(whole);
        QCOMPARE(whole->interrupted, 2);
        QCOMPARE(whole->job.firstFileNumber, 2);
        QCOMPARE(whole->job.files.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(whole->job.files[i].bytes, job.files[i].bytes);
            QCOMPARE(whole->job.files[i].path, job.files[i].path);
        }
        ThermalJournal::remove(job.journal);
        QVERIFY(ThermalJournal::inFolder(folder.path()).isEmpty());
    }

    // Written by the version before this one: one JSON object with its keys
    // in order, so the files come first.
    void recordOfTheVersionBefore()
    {
        QTemporaryDir folder;
        const PrintJob job = threeFiles(folder.path());
        QJsonArray files;
        for (const CommandFile &file : job.files)
            files.append(QJsonObject{{"caminho", file.path}, {"etiquetas", file.labels},
                                     {"bytes", QString::fromLatin1(file.bytes.toBase64())}});
        const QJsonObject header{{"criado", QStringLiteral("1700000000000")}, {"lote", job.batchFile},
                                 {"impressora", job.printerPath}, {"historico", QString::fromLatin1(job.history.toBase64())},
                                 {"arquivos", files}};
        const QString path = QDir(folder.path()).filePath(QStringLiteral("Envio-antigo.txt"));
        append(path, QJsonDocument(header).toJson(QJsonDocument::Compact) + "\niniciado 1\nenviado 1\n");
        for (int look = 0; look < 2; ++look) {
            const QList<ThermalJournal::Record> records = ThermalJournal::inFolder(folder.path());
            QCOMPARE(records.size(), 1);
            QCOMPARE(records[0].created, Q_INT64_C(1700000000000));
            QCOMPARE(records[0].job.firstFileNumber, 2 + look);
            QCOMPARE(labelsOf(records[0].job), QList<int>({3, 3, 1}));
            QCOMPARE(records[0].job.history, job.history);
            append(path, "iniciado 2\nenviado 2\n");
        }
        QCOMPARE(ThermalJournal::load(path)->job.files[2].bytes, job.files[2].bytes);
    }

    // A program killed while it wrote a record by hand leaves half a line: no job.
    void recordCutShort()
    {
        QTemporaryDir folder;
        PrintJob job = threeFiles(folder.path());
        QVERIFY(ThermalJournal::create(job).isEmpty());
        QFile file(job.journal);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray line = file.readAll();
        file.close();
        ThermalJournal::remove(job.journal);
        append(job.journal, line.left(line.size() / 2));
        QVERIFY(ThermalJournal::inFolder(folder.path()).isEmpty());
        QVERIFY(!ThermalJournal::load(job.journal));
    }
};

QTEST_MAIN(ThermalJournalTest)
#include "tst_thermal_journal.moc"
