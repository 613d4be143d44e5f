// Thermal reports of the project file: the sample's ZPL roll (and the same
// layout in EPL2 at 300 dpi) written for a job and imaged back, every EAN-13
// read by zxing-cpp and nothing off its label.
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ReportTestKit.h"
#include "PrinterCheck.h"
#include "ThermalRenderer.h"
#include "ThermalReportFiles.h"

#include <QFile>
#include <QtTest>

namespace {

const QString File = QStringLiteral("c:\\boticon\\rpt\\Selvar.rav");
const QString SampleModel = QStringLiteral("Zebra ZPL - 3,0 x 1,7 - 3 colunas (relatório térmico)");

QString sampleText()
{
    QFile file(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
    return file.open(QIODevice::ReadOnly) ? decodeProjectText(file.readAll()) : QString();
}

// A skipped position, then seven products (long and short names, prices with
// thousands) — three files of three, three and two labels.
QList<LabelRecord> job()
{
    using ReportTestKit::labelRow;
    return {
        labelRow({}, {}, {}, {}),
        labelRow(QStringLiteral("000001"), QStringLiteral("Dipirona Sódica 500 mg com 10 comprimidos revestidos"), QStringLiteral("7891058017392"), QStringLiteral("4.50")),
        labelRow(QStringLiteral("000002"), QStringLiteral("Paracetamol 750 mg"), QStringLiteral("7896004711225"), QStringLiteral("1234.50")),
        labelRow(QStringLiteral("000003"), QStringLiteral("Água Boricada 3% 100 ml"), QStringLiteral("7891000100103"), QStringLiteral("12.90")),
        labelRow(QStringLiteral("000004"), QStringLiteral("Protetor Solar FPS 50 \"Toque Seco\" 120 g"), QStringLiteral("7896015516352"), QStringLiteral("59.90")),
        labelRow(QStringLiteral("000005"), QStringLiteral("Vitamina C 1 g efervescente ^ laranja"), QStringLiteral("7897862600218"), QStringLiteral("0.99")),
        labelRow(QStringLiteral("000006"), QStringLiteral("Soro fisiológico"), QStringLiteral("7891106001212"), QStringLiteral("3.00")),
        labelRow(QStringLiteral("000007"), QStringLiteral("Álcool 70%"), QStringLiteral("7898000000013"), QStringLiteral("8.75")),
    };
}

} // namespace

class ThermalReportTest : public QObject
{
    Q_OBJECT

private slots:
    void sampleRollScans_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<int>("dpi");
        QTest::newRow("ZPL 203 dpi, as shipped") << QString() << 203;
        QTest::newRow("EPL2 300 dpi") << QStringLiteral("termica linguagem=EPL2 resolucao=300") << 300;
    }

    void sampleRollScans()
    {
        QFETCH(QString, printer);
        QFETCH(int, dpi);
        QString text = sampleText();
        if (!printer.isEmpty())
            text.replace(QStringLiteral("termica linguagem=ZPL resolucao=203"), printer);
        const ReportProject project = parseReportProject(text, File);
        const SheetReport *report = project.thermalReportFor(SampleModel);
        QVERIFY(report);
        QCOMPARE(&project.reportFor(SampleModel), project.findReport(project.activeReport));
        const LabelStock stock = stockOf(*report);
        QCOMPARE(stock.columnStarts.size(), 3);
        QCOMPARE(stock.label, QSize(30, 17) * int(dotsPerMm(dpi)));

        const QList<LabelRecord> rows = job();
        const QList<QByteArray> files = thermalCommandFiles(*report, rows, project.offset + report->offset);
        QCOMPARE(files.size(), 3);
        QCOMPARE(printerCheck(files, dpi), QString());
        int label = 0;
        for (const QByteArray &bytes : files) {
            const RenderedFile rendered = readCommandFile(bytes, dpi);
            QVERIFY2(rendered.faults.isEmpty(), qPrintable(rendered.faults.value(0).message));
            QCOMPARE(rendered.images.size(), 1);
            const PrintImage &image = rendered.images.first();
            for (const StockNote &note : checkAgainstStock(image, stock))
                QFAIL(qPrintable(note.message));
            // Each label alone, cut from the roll, must scan as its product.
            for (int column = 0; column < 3 && label < rows.size(); ++column, ++label) {
                const QString ean = rows[label].value(QStringLiteral("CODIGOEAN")).plain;
                const QString read = ReportTestKit::decodeImage(paintPrintImage(image, stock.labelRect(column)));
                QCOMPARE(read, ean);
            }
        }
        QCOMPARE(label, rows.size());
        // Names wrap over two lines, prices keep their format.
        const PrintImage first = readCommandFile(files[0], dpi).images.first();
        QStringList texts;
        for (const PrintedElement &e : first.elements) {
            for (const PrintedText &t : e.texts) {
                if (e.kind == PrintedElement::Kind::Text)
                    texts << t.text;
            }
        }
        QVERIFY2(texts.contains(QStringLiteral("1.234,50")), qPrintable(texts.join(QLatin1Char('|'))));
        QVERIFY(texts.contains(QStringLiteral("Dipirona Sódica 500 mg com")) || texts.contains(QStringLiteral("Dipirona Sódica 500 mg")));
    }

    // The calibration moves whole labels by whole dots: under half a dot
    // changes nothing, and a shift never makes an element a dot wider.
    void offsetMovesWholeDots()
    {
        const ReportProject project = parseReportProject(sampleText(), File);
        const SheetReport *report = project.thermalReportFor(SampleModel);
        QVERIFY(report);
        const QList<LabelRecord> rows = job().mid(1, 3);
        const QByteArray plain = thermalCommandFiles(*report, rows, QPointF()).first();
        QCOMPARE(thermalCommandFiles(*report, rows, QPointF(0.06, -0.06)).first(), plain);
        const PrintImage before = readCommandFile(plain, 203).images.first();
        const PrintImage after = readCommandFile(thermalCommandFiles(*report, rows, QPointF(0.44, 0.19)).first(), 203).images.first();
        QCOMPARE(after.elements.size(), before.elements.size());
        for (int i = 0; i < before.elements.size(); ++i)
            QCOMPARE(after.elements[i].bounds(), before.elements[i].bounds().translated(4, 2));
    }
};

QTEST_MAIN(ThermalReportTest)
#include "tst_thermal_report.moc"
