// "Texto cortado" on thermal labels, judged by the render: the command file
// the designer writes is imaged by the thermal renderer, and a text counts as
// cut when the texts the renderer read inside its box are not its whole value.
// Every roll of the new-report list, EPL2 at 203 and 300 dpi, ZPL at 203, 300
// and 600: a text is warned exactly when the render shows it cut, for the
// sample products on the starting layout, and a deliberately long name is
// warned everywhere and shows cut in the picture.
#include "LayoutWarnings.h"
#include "LabelPicture.h"
#include "NewReports.h"
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

} // namespace

class DesignerThermalCutsTest : public QObject
{
    Q_OBJECT

private slots:
    void warningsAgreeWithTheRender()
    {
        const QList<LabelRecord> products = sampleProducts();
        LabelRecord longName = products.first();
        const QString name = QStringLiteral("CREME HIDRATANTE CORPORAL COM ÓLEO DE AMÊNDOAS, MANTEIGA DE KARITÉ "
                                            "E VITAMINA E, PELE EXTRASSECA, FRASCO COM VÁLVULA PUMP 400 ML");
        // Twice over: more than the smallest printer font gets into any name box of the list.
        longName.set(QStringLiteral("COMPONENTE"), {name + QLatin1Char(' ') + name, name + QLatin1Char(' ') + name});
        QList<LabelRecord> records = products;
        records << longName;
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
};

QTEST_MAIN(DesignerThermalCutsTest)
#include "tst_designer_thermal_cuts.moc"
