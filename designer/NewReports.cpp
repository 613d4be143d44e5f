#include "NewReports.h"

#include <cmath>

namespace {

// Tenths of a millimetre, as a person would type them.
double tenths(double mm)
{
    return std::floor(mm * 10) / 10;
}

QList<CellElement> starterElements(QSizeF label)
{
    const double margin = tenths(std::min(1.0, label.width() / 30));
    const double width = tenths(label.width() - 2 * margin);
    const double h = label.height();
    CellElement name;
    name.kind = CellElement::Kind::Field;
    name.value = QStringLiteral("COMPONENTE");
    name.box = QRectF(margin, tenths(h * 0.04), width, tenths(h * 0.26));
    name.wrap = true;
    // Three lines in the box: COMPONENTE holds up to 70 letters.
    name.fontSize = std::clamp(tenths(name.box.height() / 3 * 72 / 25.4 * 0.85), 4.0, 10.0);

    CellElement priceText;
    priceText.kind = CellElement::Kind::Text;
    priceText.value = QStringLiteral("R$");
    priceText.box = QRectF(margin, tenths(h * 0.31), tenths(width * 0.25), tenths(h * 0.18));
    priceText.fontSize = std::clamp(tenths(h * 0.45), 5.0, 14.0);

    CellElement price = priceText;
    price.kind = CellElement::Kind::Price;
    price.value = QStringLiteral("PRECO1");
    price.box = QRectF(tenths(margin + width * 0.25), price.box.y(), tenths(width * 0.75), price.box.height());
    price.alignment = Qt::AlignRight;
    price.bold = true;

    CellElement barcode;
    barcode.kind = CellElement::Kind::Barcode;
    barcode.value = QStringLiteral("CODIGOEAN");
    barcode.box = QRectF(0, tenths(h * 0.5), tenths(label.width()), tenths(h * 0.48));
    barcode.fontSize = 0;
    return {name, priceText, price, barcode};
}

} // namespace

SheetReport newSheetReport(const QString &name, const LabelSheet &sheet)
{
    SheetReport report;
    report.name = name;
    report.pageSize = QPageSize(sheet.pageSize);
    report.grid = sheet.grid;
    report.elements = starterElements(QSizeF(sheet.grid.cellWidth, sheet.grid.cellHeight));
    return report;
}

SheetReport newThermalReport(const QString &name, const RollStock &roll)
{
    SheetReport report;
    report.name = name;
    ThermalSetup setup;
    setup.language = roll.language;
    setup.dpi = roll.dpi;
    setup.across = roll.across;
    setup.gap = roll.gap;
    report.thermal = setup;
    report.grid.cellWidth = roll.label.width();
    report.grid.cellHeight = roll.label.height();
    report.grid.pitchX = roll.label.width();
    report.grid.pitchY = roll.label.height();
    report.elements = starterElements(roll.label);
    return report;
}

QList<CommonRoll> commonRolls()
{
    return {
        {QStringLiteral("40 × 25 mm"), 1, 3, QSizeF(40, 25)},
        {QStringLiteral("50 × 30 mm"), 1, 3, QSizeF(50, 30)},
        {QStringLiteral("30 × 17 mm, 3 lado a lado"), 3, 3, QSizeF(30, 17)},
    };
}
