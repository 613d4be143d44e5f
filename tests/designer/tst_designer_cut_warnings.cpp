// "Texto cortado" judged by the render. Thermal labels: the command file
// the designer writes is imaged by the thermal renderer, and a text counts as
// cut when the texts the renderer read inside its box are not its whole value.
// Every roll of the new-report list, EPL2 at 203 and 300 dpi, ZPL at 203, 300
// and 600: a text is warned exactly when the render shows it cut, for the
// sample products on the starting layout, and a deliberately long name is
// warned everywhere and shows cut in the picture. Sheets likewise, against
// the page as the sheet engine paints it at 203, 300 and 600 dpi.
#include "ArialStandIn.h"
#include "LayoutWarnings.h"
#include "LabelPicture.h"
#include "LabelSheets.h"
#include "NewReports.h"
#include "SheetDocument.h"
#include "SampleProducts.h"
#include "ThermalRenderer.h"
#include "ThermalReportFiles.h"

#include <QDir>
#include <QtTest>

namespace {

struct Roll
{
    QString name;
    RollStock stock;
};

QList<Roll> everyRoll()
{
    QList<Roll> rolls;
    for (const CommonRoll &common : commonRolls()) {
        for (const PrinterLanguage language : {PrinterLanguage::Epl2, PrinterLanguage::Zpl}) {
            for (const int dpi : {203, 300, 600}) {
                // EPL2 printers stop at 300 dpi.
                if (language == PrinterLanguage::Epl2 && dpi > 300)
                    continue;
                const QString name = QStringLiteral("%1 %2 %3 dpi").arg(common.name, language == PrinterLanguage::Zpl ? "ZPL" : "EPL2").arg(dpi);
                rolls.append({name, {language, dpi, common.across, common.gap, common.label}});
            }
        }
    }
    return rolls;
}

// The texts the renderer printed from `image` whose field starts inside
// `box` (dots), top to bottom and left to right, one space between them.
QString printedInside(const PrintImage &image, const QRect &box)
{
    QList<std::pair<QPoint, QString>> found;
    for (const PrintedElement &element : image.elements) {
        if (element.kind != PrintedElement::Kind::Text)
            continue;
        for (const PrintedText &text : element.texts) {
            const QPoint at = element.placement.map(text.topLeft);
            if (box.adjusted(-1, -1, 1, 1).contains(at))
                found.append({at, text.text});
        }
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return a.first.y() != b.first.y() ? a.first.y() < b.first.y() : a.first.x() < b.first.x();
    });
    QStringList texts;
    for (const auto &[at, text] : std::as_const(found))
        texts << text;
    return texts.join(QLatin1Char(' ')).simplified();
}

// Whether the warnings name the element as cut.
bool warnsCut(const QStringList &warnings, const CellElement &element)
{
    const QString shown = element.kind == CellElement::Kind::Text ? QStringLiteral("\"%1\"").arg(element.value) : element.value;
    return !warnings.filter(QStringLiteral("Texto cortado: %1 ").arg(shown)).isEmpty();
}

// Columns (dots) of the image that hold ink between rows top and bottom.
QPair<int, int> inkColumns(const QImage &image, int top, int bottom)
{
    int first = image.width();
    int last = -1;
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    for (int y = std::max(0, top); y < std::min(gray.height(), bottom); ++y) {
        const uchar *line = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x) {
            if (line[x] < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

// Twice over: more than the smallest font gets into any name box of the lists.
LabelRecord longNamed(LabelRecord record)
{
    const QString name = QStringLiteral("CREME HIDRATANTE CORPORAL COM ÓLEO DE AMÊNDOAS, MANTEIGA DE KARITÉ "
                                        "E VITAMINA E, PELE EXTRASSECA, FRASCO COM VÁLVULA PUMP 400 ML");
    record.set(QStringLiteral("COMPONENTE"), {name + QLatin1Char(' ') + name, name + QLatin1Char(' ') + name});
    return record;
}

// Whether the page shows the text element cut: painted alone, and again
// with room below (and, on one line, on the side its alignment grows to),
// the label's pixels differ.
bool pageShowsCut(const SheetReport &report, const CellElement &element, const LabelRecord &record, double dpi)
{
    SheetReport alone = report;
    alone.elements = {element};
    SheetReport roomy = alone;
    QRectF &box = roomy.elements[0].box;
    box.setHeight(box.height() + 10);
    if (!element.wrap) {
        if (element.alignment & Qt::AlignRight)
            box.setLeft(box.left() - 20);
        else if (element.alignment & Qt::AlignHCenter)
            box.adjust(-20, 0, 20, 0);
        else
            box.setRight(box.right() + 20);
    }
    const QImage tight = sheetLabelPicture(alone, record, dpi).image.convertToFormat(QImage::Format_Grayscale8);
    const QImage room = sheetLabelPicture(roomy, record, dpi).image.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < tight.height(); ++y) {
        const uchar *a = tight.constScanLine(y);
        const uchar *b = room.constScanLine(y);
        for (int x = 0; x < tight.width(); ++x) {
            if (std::abs(a[x] - b[x]) > 64)
                return true;
        }
    }
    return false;
}

} // namespace

class DesignerCutWarningsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { verifyArialStandIn(); }

    void warningsAgreeWithTheRender()
    {
        QList<LabelRecord> records = sampleProducts();
        records << longNamed(records.first());
        const QString shots = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR");
        int checked = 0;
        int cut = 0;
        for (const Roll &roll : everyRoll()) {
            const SheetReport report = newThermalReport(roll.name, roll.stock);
            const double perMm = dotsPerMm(roll.stock.dpi);
            for (qsizetype r = 0; r < records.size(); ++r) {
                const bool isLong = r == records.size() - 1;
                const QList<LabelRecord> row(roll.stock.across, records[r]);
                const LabelPicture picture = thermalLabelPicture(report, row);
                const QStringList warnings = layoutWarnings(report, row, picture);
                QCOMPARE(picture.files.size(), 1);
                const RenderedFile rendered = readCommandFile(picture.files.first(), roll.stock.dpi);
                QVERIFY(rendered.faults.isEmpty());
                QCOMPARE(rendered.images.size(), 1);
                const PrintImage &image = rendered.images.first();
                const LabelContent content = labelContent(report, records[r], QPoint(), perMm);
                for (int i = 0; i < report.elements.size(); ++i) {
                    const ThermalElement &e = content[i];
                    if (e.kind != ThermalElement::Kind::Text || e.value.trimmed().isEmpty())
                        continue;
                    const bool whole = printedInside(image, e.box) == e.value.simplified();
                    const bool warned = warnsCut(warnings, report.elements[i]);
                    QVERIFY2(warned == !whole, qPrintable(QStringLiteral("%1, %2: \"%3\" printed \"%4\", warned %5")
                                                              .arg(roll.name, report.elements[i].value, e.value,
                                                                   printedInside(image, e.box))
                                                              .arg(warned)));
                    // The long name never fits: warned wherever it is printed.
                    if (isLong && report.elements[i].value == QStringLiteral("COMPONENTE"))
                        QVERIFY2(warned, qPrintable(roll.name));
                    cut += warned;
                    ++checked;
                }
                if (!isLong)
                    continue;
                // In the picture of the first label the long name ends inside its box: the printer cut it there.
                const QRect box = content[0].box;
                const QImage png = paintPrintImage(image, QRect(QPoint(0, 0), rollOf(report).label));
                const auto [first, last] = inkColumns(png, box.top(), box.bottom());
                QVERIFY2(first >= box.left() - 1 && last <= box.right() + 1 && last > box.left(),
                         qPrintable(QStringLiteral("%1: ink %2..%3, box %4..%5").arg(roll.name).arg(first).arg(last).arg(box.left()).arg(box.right())));
                if (!shots.isEmpty())
                    QVERIFY(png.save(QDir(shots).filePath(QStringLiteral("cut %1.png").arg(roll.name).replace(QLatin1Char(' '), QLatin1Char('-')))));
            }
        }
        QVERIFY(checked > 100);
        qInfo("%d texts checked, %d warned cut", checked, cut);
    }

    // The warning the designer shows for a sheet against the page painted at
    // 203, 300 and 600 dpi: the starting layout of every sheet of the list,
    // each sample product, warned exactly when cut at one of them at least
    // (a font's own widths can leave a price whole at 300 dpi and cut at
    // 203); the long name, cut on some printer, is warned (Carta 2 x 10 cuts
    // it at 203 dpi only).
    void sheetWarningsAgreeWithThePage()
    {
        QList<LabelRecord> records = sampleProducts();
        records << longNamed(records.first());
        int checked = 0;
        int cut = 0;
        for (const LabelSheet &sheet : labelSheets()) {
            const SheetReport report = newSheetReport(sheet.name, sheet);
            for (qsizetype r = 0; r < records.size(); ++r) {
                const bool isLong = r == records.size() - 1;
                const QStringList warnings = layoutWarnings(report, {records[r]}, LabelPicture());
                for (const CellElement &element : report.elements) {
                    if (!element.isTextLike())
                        continue;
                    const bool warned = warnsCut(warnings, element);
                    QStringList seenAt;
                    for (const double dpi : {203.0, 300.0, 600.0}) {
                        // The long name: no cut goes unwarned at any resolution.
                        const bool seen = pageShowsCut(report, element, records[r], dpi);
                        QVERIFY2(warned || !seen, qPrintable(QStringLiteral("%1 at %2 dpi: %3 \"%4\" cut, not warned")
                                                                 .arg(sheet.name).arg(dpi).arg(element.value, SheetDocument::textOf(element, records[r]))));
                        if (seen)
                            seenAt << QString::number(dpi);
                        ++checked;
                        cut += seen;
                    }
                    // Nor is a text warned that no printer cuts.
                    QVERIFY2(isLong || warned == !seenAt.isEmpty(),
                             qPrintable(QStringLiteral("%1: %2 \"%3\" warned %4, cut at %5 dpi")
                                            .arg(sheet.name, element.value, SheetDocument::textOf(element, records[r])).arg(warned).arg(seenAt.join(QLatin1Char('/')))));
                }
            }
        }
        QVERIFY(checked > 500);
        QVERIFY(cut > 0); // the long name, at least somewhere
        qInfo("%d texts checked on the page, %d cut", checked, cut);
    }
};

QTEST_MAIN(DesignerCutWarningsTest)
#include "tst_designer_cut_warnings.moc"
