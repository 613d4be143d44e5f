// The thermal output byte for byte: EPL2 command files written from a label job
// in a real embedded database, and the batch file started once per file.
#include "HandOverIdle.h"
#include "JobDatabase.h"
#include "PrinterCheck.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "SelvarError.h"
#include "ThermalOutput.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <memory>

namespace {

struct JobRow
{
    QString codigo, componente, ean;
    QVariant preco; // plain decimal text, or null
};

} // namespace

Q_DECLARE_METATYPE(JobRow)

namespace {

struct BatchStart
{
    QString batchFile;
    QStringList arguments;
    QByteArray commandFileThen; // what the command file held when its batch started
};

const QByteArray kHeaderFirst = "R0,0\r\nq999\r\nI8,3,001\r\nQ100,024\r\nrN\r\nS3\r\nD7\r\nZT\r\nJF\r\nO\r\nf100\r\nN\r\n";
const QByteArray kHeaderLater = "R0,0\r\nq999\r\nI8,3,001\r\nQ100,024\r\nrN\r\nS3\r\nD7\r\nZT\r\nJF\r\nO\r\nN\r\n";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

JobRow label(int number, const QString &name, const QString &ean = QStringLiteral("7891058017392"),
             const QVariant &preco = QStringLiteral("4.50"))
{
    return {QString::number(number).rightJustified(6, QLatin1Char('0')), name, ean, preco};
}

} // namespace

class ThermalOutputTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<JobDatabase> db;
    QString workFolder;
    QList<BatchStart> starts;
    ProcessStarter::Starter previousStarter;

    void fillJob(const QList<JobRow> &rows)
    {
        for (const JobRow &row : rows)
            db->suite.exec(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) values (?, ?, ?, ?)"),
                        {row.codigo, row.componente.isEmpty() ? nullText() : QVariant(row.componente),
                         row.ean.isEmpty() ? nullText() : QVariant(row.ean), row.preco});
    }

    // Labels numbered from 1, one product each, in one statement.
    void fillLabels(int count)
    {
        if (count > 0)
            db->suite.exec(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) "
                                       "select lpad(cast(n as varchar(7)), 6, '0'), 'PRODUTO ' || n, '7891058017392', 4.5 "
                                       "from (select row_number() over () as n from rdb$types a cross join rdb$types b rows %1)")
                            .arg(count));
    }

    // The job queued and handed over to the end.
    int print(const QString &printerPath = QStringLiteral("/dev/usb/lp0"))
    {
        PrintHandOver handOver;
        db->dm->TabRev2->Open();
        const int files = ThermalOutput(workFolder, printerPath).run(*db->dm->TabRev2, handOver);
        db->dm->TabRev2->Close();
        if (!waitUntilIdle(handOver, 60000))
            qWarning("the hand-over did not end");
        return files;
    }

    QByteArray commandFile(const QString &name) const { return readFile(QDir(workFolder).filePath(name)); }

    static QByteArray block(int x, const QByteArray &line1, const QByteArray &line2, const QByteArray &ean,
                            const QByteArray &price)
    {
        const QByteArray at = QByteArray::number(x);
        return "A" + at + ",0,0,2,1,1,N,\"" + line1 + "\"\r\n" + "A" + at + ",20,0,2,1,1,N,\"" + line2 + "\"\r\n" + "B"
               + at + ",42,0,1,2,6,40,B,\"" + ean + "\"\r\n" + "A" + at + ",119,0,4,1,1,N,\"R$ " + price + "\"\r\n";
    }

private slots:
    void init()
    {
        db = std::make_unique<JobDatabase>();
        QVERIFY(db->create());
        QVERIFY(QDir(db->suite.root()).mkpath(QStringLiteral("InterfacXX")));
        workFolder = db->suite.path(QStringLiteral("InterfacXX"));
        QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.close();
        starts.clear();
        previousStarter = ProcessStarter::setStarter([this](const QString &batch, const QStringList &args) {
            starts << BatchStart{batch, args, readFile(args.value(0))};
            return true;
        });
    }

    void cleanup()
    {
        ProcessStarter::setStarter(previousStarter);
        db.reset();
    }

    // Four labels: a first file of three labels across (25 lines) and a second
    // of one (16 lines, no "f100"), each handed to the batch file once written.
    void fourLabelsGoldenBytes()
    {
        fillJob({label(1, QStringLiteral("DIPIRONA SODICA 500MG 10 COMPRIMIDOS"), QStringLiteral("7891058017392"),
                       QStringLiteral("4.50")),
                 label(2, QStringLiteral("PROTETOR SOLAR FPS 30 LOÇÃO 120ML"), QStringLiteral("7891010031916"),
                       QStringLiteral("1234.50")),
                 label(3, QStringLiteral("ALCOOL GEL 70%"), QStringLiteral("7896004703397"), nullText()),
                 label(4, QStringLiteral("VITAMINA C 1G EFERVESCENTE"), QStringLiteral("7891106001212"),
                       QStringLiteral("12.90"))});
        QCOMPARE(print(), 2);

        const QByteArray first = kHeaderFirst
                                 + block(0, "DIPIRONA SODICA 500M", "G 10 COMPRIMIDOS", "7891058017392", "4,50")
                                 // "I8,3,001" selects DOS 860: Ç and Ã go as its bytes 0x80 and 0x8E.
                                 + block(285, "PROTETOR SOLAR FPS 3", "0 LO\x80\x8EO 120ML", "7891010031916", "1.234,50")
                                 + block(570, "ALCOOL GEL 70%", "", "7896004703397", "0,00") + "P1\r\n";
        const QByteArray second = kHeaderLater
                                  + block(0, "VITAMINA C 1G EFERVE", "SCENTE", "7891106001212", "12,90") + "P1\r\n";
        QCOMPARE(commandFile(QStringLiteral("Etiq001.txt")), first);
        QCOMPARE(commandFile(QStringLiteral("Etiq002.txt")), second);
        QCOMPARE(printerCheck({first, second}), QString());
        QCOMPARE(first.count("\r\n"), 25);
        QCOMPARE(second.count("\r\n"), 16);

        QCOMPARE(starts.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QString name = QStringLiteral("Etiq00%1.txt").arg(i + 1);
            QCOMPARE(starts[i].batchFile, QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
            QCOMPARE(starts[i].arguments, QStringList({QDir(workFolder).filePath(name), QStringLiteral("/dev/usb/lp0")}));
            QCOMPARE(starts[i].commandFileThen, commandFile(name));
        }
    }

    // How a job splits into files of three labels, "f100" only in the first.
    void filesPerJob_data()
    {
        QTest::addColumn<int>("labels");
        QTest::addColumn<QList<int>>("labelsPerFile");
        QTest::newRow("seven labels: 3, 3, 1") << 7 << QList<int>{3, 3, 1};
        QTest::newRow("exactly three: one file, no empty second") << 3 << QList<int>{3};
        QTest::newRow("one label") << 1 << QList<int>{1};
        QTest::newRow("empty job: no file") << 0 << QList<int>{};
    }

    void filesPerJob()
    {
        QFETCH(int, labels);
        QFETCH(QList<int>, labelsPerFile);
        fillLabels(labels);
        QCOMPARE(print(), labelsPerFile.size());
        QCOMPARE(starts.size(), labelsPerFile.size());
        for (int i = 0; i < labelsPerFile.size(); ++i) {
            const QByteArray bytes = commandFile(QStringLiteral("Etiq%1.txt").arg(i + 1, 3, 10, QLatin1Char('0')));
            QVERIFY(bytes.startsWith(i == 0 ? kHeaderFirst : kHeaderLater));
            QCOMPARE(bytes.count("\r\n"), (i == 0 ? 12 : 11) + 4 * labelsPerFile[i] + 1);
            QCOMPARE(bytes.count("B570,"), labelsPerFile[i] == 3 ? 1 : 0);
            QVERIFY(bytes.endsWith("\r\nP1\r\n"));
        }
        QVERIFY(!QFile::exists(QDir(workFolder).filePath(
            QStringLiteral("Etiq%1.txt").arg(labelsPerFile.size() + 1, 3, 10, QLatin1Char('0')))));
    }

    // The four fields of a label as the printer receives them.
    void labelFields_data()
    {
        QTest::addColumn<JobRow>("row");
        QTest::addColumn<QByteArray>("expectedBlock");
        QTest::newRow("skipped position: blank names and barcode, price 0,00")
            << JobRow{QStringLiteral("-000001"), {}, {}, nullText()} << block(0, "", "", "", "0,00");
        QTest::newRow("name of exactly 20 characters: empty second line")
            << label(1, QStringLiteral("ABCDEFGHIJKLMNOPQRST")) << block(0, "ABCDEFGHIJKLMNOPQRST", "", "7891058017392", "4,50");
        QTest::newRow("blanks from position 21 dropped, inner blanks kept")
            << label(1, QStringLiteral("ABCDEFGHIJKLMNOPQRST   XY  Z"))
            << block(0, "ABCDEFGHIJKLMNOPQRST", "XY  Z", "7891058017392", "4,50");
        QTest::newRow("characters past the 60th not printed")
            << label(1, QStringLiteral("ABCDEFGHIJKLMNOPQRST") + QString(40, QLatin1Char('x')) + QStringLiteral("CUT"))
            << block(0, "ABCDEFGHIJKLMNOPQRST", QByteArray(40, 'x'), "7891058017392", "4,50");
        QTest::newRow("quote and backslash escaped, cut before escaping")
            << label(1, QStringLiteral("CREME \"NIVEA\" 50G C\\ABCDEFG"))
            << block(0, "CREME \\\"NIVEA\\\" 50G C\\\\", "ABCDEFG", "7891058017392", "4,50");
        QTest::newRow("line breaks in a name go as blanks, never as a command line of their own")
            << label(1, QStringLiteral("BBB\r\nP9999\r\nN")) << block(0, "BBB  P9999  N", "", "7891058017392", "4,50");
        QTest::newRow("ESC, SOH, TAB and DEL as blanks, in the name and in the barcode data")
            << label(1, QStringLiteral("A\x1b" "B\x01" "C\tD\x7f" "E") + QString(17, QLatin1Char('.')) + QStringLiteral("\tZ"),
                     QStringLiteral("789\x1b" "12\n"))
            << block(0, "A B C D E" + QByteArray(11, '.'), QByteArray(6, '.') + " Z", "789 12 ", "4,50");
        QTest::newRow("price with thousands grouping cut to 15 characters")
            << label(1, QStringLiteral("X"), QStringLiteral("789"), QStringLiteral("9999999999999.99"))
            << block(0, "X", "", "789", "9.999.999.999.9");
        QTest::newRow("zero price") << label(1, QStringLiteral("X"), QStringLiteral("789"), QStringLiteral("0"))
                                    << block(0, "X", "", "789", "0,00");
    }

    void labelFields()
    {
        QFETCH(JobRow, row);
        QFETCH(QByteArray, expectedBlock);
        fillJob({row});
        QCOMPARE(print(), 1);
        QCOMPARE(commandFile(QStringLiteral("Etiq001.txt")), kHeaderFirst + expectedBlock + "P1\r\n");
    }

    // The number pattern gives at least three digits: the thousandth file.
    void thousandthFileName()
    {
        fillLabels(2998);
        QCOMPARE(print(), 1000);
        QCOMPARE(starts.size(), 1000);
        QCOMPARE(starts.last().arguments.first(), QDir(workFolder).filePath(QStringLiteral("Etiq1000.txt")));
        QCOMPARE(starts.last().commandFileThen.count("\r\n"), 11 + 4 + 1);
    }

    // The documented command line, composed for the log: no quotes, no cut.
    void commandLineText()
    {
        const QString printer = QStringLiteral("\\\\SERVIDOR\\") + QString(300, QLatin1Char('Z'));
        const ThermalOutput output(QStringLiteral("C:\\Boticon\\InterfacXX"), printer);
        QCOMPARE(output.commandFileName(7), QStringLiteral("C:\\Boticon\\InterfacXX\\Etiq007.txt"));
        QCOMPARE(output.commandLine(7), QStringLiteral("C:\\Boticon\\InterfacXX\\ImprEtiq.bat C:\\Boticon\\InterfacXX\\Etiq007.txt ")
                                            + printer);
    }

    // A printer path longer than any command line reaches the batch file whole.
    void longPrinterPathPassedWhole()
    {
        const QString printer = QStringLiteral("/srv/filas de impressão/") + QString(300, QLatin1Char('z'));
        fillLabels(1);
        QCOMPARE(print(printer), 1);
        QCOMPARE(starts.size(), 1);
        QCOMPARE(starts.first().arguments.value(1), printer);
    }

    // A work folder without ImprEtiq.bat, or no work folder at all, is refused
    // before anything is written; a job queued anyway (the file removed after
    // the check) fails whole, with nothing written and nothing started.
    void missingBatchFile()
    {
        fillLabels(4);
        const QString batch = QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat"));
        QVERIFY(QFile::remove(batch));
        for (const QString &folder : {workFolder, db->suite.path(QStringLiteral("InterfacZZ"))}) {
            try {
                ThermalOutput(folder, QStringLiteral("/dev/usb/lp0")).checkBatchFile();
                QFAIL("a work folder without ImprEtiq.bat must be refused");
            } catch (const SelvarError &error) {
                QVERIFY2(error.message().contains(QDir(folder).filePath(QStringLiteral("ImprEtiq.bat"))),
                         qPrintable(error.message()));
            }
        }
        PrintHandOver handOver;
        QSignalSpy failed(&handOver, &PrintHandOver::jobFailed);
        db->dm->TabRev2->Open();
        QCOMPARE(ThermalOutput(workFolder, QStringLiteral("/dev/usb/lp0")).run(*db->dm->TabRev2, handOver), 2);
        QVERIFY(waitUntilIdle(handOver, 10000));
        QCOMPARE(failed.size(), 1);
        QVERIFY2(failed[0][0].toString().contains(batch), qPrintable(failed[0][0].toString()));
        QCOMPARE(failed[0][1].toInt(), 0);
        QCOMPARE(QDir(workFolder).entryList(QDir::Files), QStringList());
        QVERIFY(starts.isEmpty());
    }

    // The installation's batch file, really started, copies the command file to
    // the printer path: here a plain file whose path holds a blank.
    void realBatchFileCopiesToPrinterPath()
    {
        ProcessStarter::setStarter(previousStarter);
        QVERIFY(QFile::remove(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat"))));
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_IMPRETIQ), QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat"))));
        QVERIFY(QDir(db->suite.root()).mkpath(QStringLiteral("fila de etiquetas")));
        const QString printer = db->suite.path(QStringLiteral("fila de etiquetas/impressora.prn"));
        fillLabels(2);
        QCOMPARE(print(printer), 1);
        const QByteArray expected = commandFile(QStringLiteral("Etiq001.txt"));
        QTRY_COMPARE_WITH_TIMEOUT(readFile(printer), expected, 10000);
    }
};

QTEST_GUILESS_MAIN(ThermalOutputTest)
#include "tst_thermal_output.moc"
