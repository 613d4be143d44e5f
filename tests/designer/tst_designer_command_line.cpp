// selvar-designer without a window: --check tells the project's fault and
// ends with 1, --render writes the label the canvas shows as a PNG whose
// barcode scans, and both speak Portuguese in --help.
#include "ReportTestKit.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run designer(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(SELVAR_DESIGNER_EXE), arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

const QString Sample = QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav");

} // namespace

class DesignerCommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void checkTellsFaultsWithItsStatus()
    {
        const Run good = designer({QStringLiteral("--check"), Sample});
        QCOMPARE(good.status, 0);
        QVERIFY2(good.out.contains(QStringLiteral("Relatório \"A4 6x20\": sem falhas.")), qPrintable(good.out));

        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("Selvar.rav"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ReportTestKit::smallProject(QStringLiteral("  grade colunas=seis linhas=3\n")).toUtf8());
        file.close();
        const Run faulty = designer({QStringLiteral("--check"), bad});
        QCOMPARE(faulty.status, 1);
        QVERIFY2(faulty.err.contains(QStringLiteral("linha 13 (grade)")), qPrintable(faulty.err));
    }

    void renderWritesTheLabel_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QSize>("size");
        // A5 3x8: a 45 x 24 mm cell at 300 dpi; the ZPL roll: 3 labels of 30 mm with 3 mm gaps, at 203 dpi, one pixel a dot.
        QTest::newRow("sheet") << QStringLiteral("A5 3x8") << QStringList() << QSize(533, 284);
        QTest::newRow("thermal") << QStringLiteral("Zebra ZPL 30x17") << QStringList() << QSize(776, 144);
        QTest::newRow("thermal at 406 dpi") << QStringLiteral("Zebra ZPL 30x17") << QStringList{QStringLiteral("--dpi"), QStringLiteral("406")}
                                            << QSize(1552, 288);
    }

    void renderWritesTheLabel()
    {
        QFETCH(QString, report);
        QFETCH(QStringList, extra);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("etiqueta.png"));
        const Run run = designer(QStringList{QStringLiteral("--render"), Sample, report, QStringLiteral("-o"), png} + extra);
        QCOMPARE(run.status, 0);
        const QImage image(png);
        QCOMPARE(image.size(), size);
        QCOMPARE(ReportTestKit::decodeImage(image.copy(0, 0, std::min(image.width(), size.height() * 2), image.height())),
                 QStringLiteral("7891234567895"));

        const Run missing = designer({QStringLiteral("--render"), Sample, QStringLiteral("Não existe"), QStringLiteral("-o"), png});
        QCOMPARE(missing.status, 1);
        QVERIFY(missing.err.contains(QStringLiteral("Não há relatório \"Não existe\"")));
    }

    void helpAndVersion()
    {
        const Run help = designer({QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith(QStringLiteral("Uso: selvar-designer")));
        QVERIFY(help.out.contains(QStringLiteral("--render")) && help.out.contains(QStringLiteral("Mostra a versão e termina.")));
        // The project it opens by default, as this system's paths name it.
        QVERIFY2(help.out.contains(QStringLiteral("/opt/boticon/rpt/Selvar.rav")) && !help.out.contains(QStringLiteral("c:\\boticon")),
                 qPrintable(help.out));
        const Run version = designer({QStringLiteral("--version")});
        QVERIFY(version.out.startsWith(QStringLiteral("selvar-designer ")));
    }
};

QTEST_MAIN(DesignerCommandLineTest)
#include "tst_designer_command_line.moc"
