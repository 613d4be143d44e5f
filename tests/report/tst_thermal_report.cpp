// Thermal reports of the project file: the sample's ZPL roll (and the same
// layout in EPL2 at 300 dpi) written for a job and imaged back, every EAN-13
// read by zxing-cpp and nothing off its label; a fault in each statement a
// thermal report adds, told by file and line.
#include "ProjectError.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ReportTestKit.h"
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

QString faultOf(const QString &text)
{
    try {
        parseReportProject(text, File);
    } catch (const ProjectError &e) {
        return e.message();
    }
    return QStringLiteral("(aceito)");
}

QString at(int line, const QString &keyword, const QString &fault)
{
    return QStringLiteral("Projeto de relatório \"%1\", linha %2 (%3): %4").arg(File).arg(line).arg(keyword, fault);
}

// A sheet report as the active one and a thermal report "T" whose body
// follows line 4; lines are counted from 1.
QString thermalProject(const QString &body)
{
    return QStringLiteral("ativo \"F\"\n"
                          "relatorio \"F\"\n  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=0 topo=0\n  etiqueta largura=50 altura=30\nfim\n"
                          "relatorio \"T\"\n  modelos \"Zebra T\"\n")
           + body + QStringLiteral("fim\n");
}

const QString ThermalBody = QStringLiteral("  termica linguagem=ZPL\n  rolo colunas=2 espaco=2\n  etiqueta largura=40 altura=25\n");

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

    void faults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fault");
        QTest::newRow("unknown language") << thermalProject(QStringLiteral("  termica linguagem=PCL\n"))
                                          << at(10, QStringLiteral("termica"), QStringLiteral("'PCL' não serve para 'linguagem' (use epl2, zpl)"));
        QTest::newRow("no language") << thermalProject(QStringLiteral("  termica resolucao=300\n"))
                                     << at(10, QStringLiteral("termica"), QStringLiteral("falta o atributo 'linguagem' (EPL2 ou ZPL)"));
        QTest::newRow("unknown resolution") << thermalProject(QStringLiteral("  termica linguagem=ZPL resolucao=600\n"))
                                            << at(10, QStringLiteral("termica"), QStringLiteral("'600' não serve para 'resolucao' (use 203, 300)"));
        QTest::newRow("no labels across") << thermalProject(QStringLiteral("  termica linguagem=EPL2\n  rolo colunas=0\n"))
                                          << at(11, QStringLiteral("rolo"), QStringLiteral("'colunas' deve ser um número inteiro maior que zero, não '0'"));
        QTest::newRow("negative gap") << thermalProject(QStringLiteral("  termica linguagem=EPL2\n  rolo colunas=2 espaco=-1\n"))
                                      << at(11, QStringLiteral("rolo"), QStringLiteral("'espaco' não pode ser negativo (-1)"));
        QTest::newRow("roll on a sheet") << thermalProject(QStringLiteral("  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=0 topo=0\n"
                                                                          "  etiqueta largura=50 altura=30\n  rolo colunas=2\n"))
                                         << at(14, QStringLiteral("rolo"), QStringLiteral("'rolo' só vale num relatório térmico (falta 'termica "
                                                                                           "linguagem=EPL2' ou 'termica linguagem=ZPL')"));
        QTest::newRow("sheet grid on a roll") << thermalProject(ThermalBody + QStringLiteral("  grade colunas=2 linhas=1\n"))
                                              << at(13, QStringLiteral("grade"), QStringLiteral("um relatório térmico não usa papel, grade, margens nem passo: a "
                                                                                               "etiqueta e o rolo ('rolo colunas=... espaco=...') dizem onde cada etiqueta fica"));
        QTest::newRow("symbology the language lacks")
            << thermalProject(ThermalBody + QStringLiteral("  barras CODIGOEAN x=0 y=0 largura=40 altura=10 simbologia=EAN8\n"))
            << at(13, QStringLiteral("barras"), QStringLiteral("a impressora ZPL não recebe esta simbologia daqui (use EAN13, CODE128, CODE128A, "
                                                              "CODE128B, CODE128C ou CODE39)"));
        // 95 modules and 11 + 7 of quiet zone at one dot each: 113 dots, 14,2 mm at 8 dots a millimetre.
        QTest::newRow("barcode narrower than its symbol")
            << thermalProject(ThermalBody + QStringLiteral("  barras CODIGOEAN x=0 y=0 largura=12 altura=10\n"))
            << at(13, QStringLiteral("barras"), QStringLiteral("o código de barras precisa de 14,2 mm de largura com as zonas de silêncio "
                                                              "(113 pontos a 203 dpi) e a caixa tem 12 mm"));
        QTest::newRow("element off the label")
            << thermalProject(ThermalBody + QStringLiteral("  campo COMPONENTE x=30 y=0 largura=20 altura=5\n"))
            << at(13, QStringLiteral("campo"), QStringLiteral("o elemento vai até 50 × 5 mm e sai da etiqueta de 40 × 25 mm"));
        QTest::newRow("thermal report as the active one")
            << thermalProject(ThermalBody).replace(QStringLiteral("ativo \"F\""), QStringLiteral("ativo \"T\""))
            << at(1, QStringLiteral("ativo"), QStringLiteral("o relatório \"T\" é térmico; o ativo serve as folhas sem 'modelos' próprios, "
                                                             "escolha um relatório de folha"));
    }

    void faults()
    {
        QFETCH(QString, text);
        QFETCH(QString, fault);
        QCOMPARE(faultOf(text), fault);
    }
};

QTEST_MAIN(ThermalReportTest)
#include "tst_thermal_report.moc"
