// The sample project's reports with the longest name a product can have (70
// characters): on paper (the PDF, rasterised) and in the preview at 100 %, no
// element's ink lies on another's, and the name is printed whole.
#include "LabelRecord.h"
#include "ProjectParser.h"
#include "ReportPreviewDialog.h"
#include "ReportTestKit.h"
#include "SheetDocument.h"
#include "TRvSystem.h"

#include <QBitArray>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportTestKit;

namespace {

enum class Target { Pdf, Preview };

// What each pixel of one label cell holds: ink or paper.
struct Ink
{
    QSize size;
    QBitArray dots;

    int overlap(const Ink &other) const { return (dots & other.dots).count(true); }
    bool operator==(const Ink &other) const { return size == other.size && dots == other.dots; }
};

Ink inkOf(const QImage &image)
{
    Ink ink{image.size(), QBitArray(image.width() * image.height())};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink.dots.setBit(y * image.width() + x, qGray(image.pixel(x, y)) < 128);
    return ink;
}

} // namespace

class SampleLayoutsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    ReportProject sample;

    // One label cell with only `elements` of the report printed on it.
    QImage render(const SheetReport &report, const QList<CellElement> &elements, const LabelRecord &row, Target target)
    {
        SheetReport only = report;
        only.elements = elements;
        const SheetDocument document(only, {row}, QPointF());
        const QRectF cellMm = report.grid.cellRect(0);
        if (target == Target::Pdf) {
            TRvSystem engine(QStringLiteral("RvSystem2"));
            OutputOptions options;
            options.destination = OutputOptions::Destination::File;
            options.fileName = dir.filePath(QStringLiteral("amostra.pdf"));
            engine.printDocument(document, options);
            return pdfRegion(options.fileName, 0, 600, cellMm);
        }
        ReportPreviewDialog preview(QStringLiteral("Report Preview"), document, 100, {}, nullptr);
        const double dotsPerMm = QGuiApplication::primaryScreen()->logicalDotsPerInchX() / 25.4;
        const QRect cell(QPoint(int(cellMm.left() * dotsPerMm), int(cellMm.top() * dotsPerMm)),
                         QPoint(int(std::ceil(cellMm.right() * dotsPerMm)), int(std::ceil(cellMm.bottom() * dotsPerMm))));
        return preview.pageImage(0).copy(cell);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QFile file(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        sample = parseReportProject(QString::fromUtf8(file.readAll()), QStringLiteral("Selvar.rav"));
    }

    void nothingPrintsOverAnythingElse_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("name");
        const QString upper = QStringLiteral("PROTETOR SOLAR FACIAL COM COR FPS 50 TOQUE SECO MORENA MEDIA 40G - WXY");
        const QString mixed = QStringLiteral("Xarope de Guaco com Mel e Própolis Infantil Sabor Morango 150 ml Wxyzk");
        for (const char *model : {"A4", "Carta", "A5"}) {
            for (const auto &[target, where] : {std::pair{Target::Pdf, "PDF"}, std::pair{Target::Preview, "preview"}}) {
                QTest::addRow("%s, %s, capitals", model, where) << model << int(target) << upper;
                QTest::addRow("%s, %s, mixed case", model, where) << model << int(target) << mixed;
            }
        }
    }

    void nothingPrintsOverAnythingElse()
    {
        QFETCH(QString, model);
        QFETCH(int, target);
        QFETCH(QString, name);
        QCOMPARE(name.size(), 70);
        const SheetReport &report = sample.reportFor(model);
        QVERIFY(report.modelPrefixes.contains(model));
        const LabelRecord row = labelRow(QStringLiteral("000001"), name, QStringLiteral("7891106001212"), QStringLiteral("99999.99"));

        QList<Ink> inks;
        for (const CellElement &element : report.elements) {
            inks << inkOf(render(report, {element}, row, Target(target)));
            QVERIFY2(inks.last().dots.count(true) > 0, qPrintable(element.value));
        }
        for (int i = 0; i < inks.size(); ++i)
            for (int j = i + 1; j < inks.size(); ++j)
                QVERIFY2(inks[i].overlap(inks[j]) == 0,
                         qPrintable(QStringLiteral("%1 and %2 share %3 dots")
                                        .arg(report.elements[i].value, report.elements[j].value)
                                        .arg(inks[i].overlap(inks[j]))));

        // The name is printed whole: a box 10 mm taller shows no more of it.
        for (int i = 0; i < report.elements.size(); ++i) {
            if (report.elements[i].value != QLatin1String("COMPONENTE"))
                continue;
            CellElement taller = report.elements[i];
            taller.box.setHeight(taller.box.height() + 10);
            QVERIFY2(inkOf(render(report, {taller}, row, Target(target))) == inks[i], "the name does not fit its box");
        }
    }
};

QTEST_MAIN(SampleLayoutsTest)
#include "tst_sample_layouts.moc"
