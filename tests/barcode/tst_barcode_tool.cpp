// selvar-barcode as a script would run it: the module line, the PNG it saves,
// and the exit code for a wrong type.

#include "BarcodePlan.h"
#include "ZxingOracle.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(SELVAR_BARCODE_TOOL), args);
    process.waitForFinished(30000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TstBarcodeTool : public QObject
{
    Q_OBJECT
private slots:
    void printsModules_data();
    void printsModules();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void writesReadablePng_data();
    void writesReadablePng();
    void unwritablePngNamesTheCause();
};

void TstBarcodeTool::printsModules_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("text");

    QTest::newRow("by name") << "btCodeEAN13" << int(btCodeEAN13) << "789786260021";
    QTest::newRow("by ordinal") << "1" << int(btCode128B) << "ABC";
    QTest::newRow("empty text") << "btCode2e5I" << int(btCode2e5I) << "";
}

void TstBarcodeTool::printsModules()
{
    QFETCH(QString, type);
    QFETCH(int, tipo);
    QFETCH(QString, text);
    const Run run = runTool({QStringLiteral("--type"), type, text});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, PlanBarcode(TBarCodeTipo(tipo), text, {}).modules + u'\n');
}

void TstBarcodeTool::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown type") << QStringList{"--type", "btQRCode", "1"} << "btQRCode";
    QTest::newRow("ordinal out of range") << QStringList{"--type", "8", "1"} << "btCodeUPCA";
    QTest::newRow("no type") << QStringList{"123"} << "--type";
    QTest::newRow("no text") << QStringList{"--type", "btCode39"} << "TEXT";
    QTest::newRow("pen 0") << QStringList{"--type", "btCode39", "--pen", "0", "A"} << "--pen espera um inteiro de 1 a 100";
    QTest::newRow("pen 101") << QStringList{"--type", "btCode39", "--pen", "101", "A"} << "de 1 a 100, não '101'";
    QTest::newRow("pen past int") << QStringList{"--type", "btCode39", "--pen", "2147483648", "A"} << "de 1 a 100";
    QTest::newRow("pen not a number") << QStringList{"--type", "btCode39", "--pen", "1e3", "A"} << "de 1 a 100";
}

void TstBarcodeTool::refusesBadArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run run = runTool(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
}

// The narrowest legend-bearing pen and the widest module allowed both make a
// picture a reader decodes.
void TstBarcodeTool::writesReadablePng_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("pen");
    QTest::newRow("pen 3, legend") << QStringList{"--pen", "3", "--legend"} << 3;
    QTest::newRow("widest pen") << QStringList{"--pen", "100"} << 100;
}

void TstBarcodeTool::writesReadablePng()
{
    QFETCH(QStringList, options);
    QFETCH(int, pen);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ean.png"));
    const Run run = runTool(QStringList{"--type", "btCodeEAN13", "--png", file} + options + QStringList{"789786260021"});
    QCOMPARE(run.exitCode, 0);
    const QImage image(file);
    QCOMPARE(image.width(), 2 * 10 + 95 * pen);
    QCOMPARE(DecodeWithZxing(image, btCodeEAN13), QStringLiteral("7897862600218"));
}

// A PNG that cannot be written says why: the folder that is not there, not the disk.
void TstBarcodeTool::unwritablePngNamesTheCause()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sem pasta/ean.png"));
    const Run run = runTool({"--type", "btCodeEAN13", "--png", file, "789786260021"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("não foi possível gravar '%1': ").arg(file)), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("No such file or directory")), qPrintable(run.err));
}

QTEST_MAIN(TstBarcodeTool)
#include "tst_barcode_tool.moc"
