#include "ThermalReportFiles.h"

#include "SheetDocument.h"

#include <cmath>

namespace {

// Points to dots: a point is 1/72 inch.
int pointsToDots(double points, double perMm)
{
    return std::max(1, int(std::lround(points * 25.4 / 72.0 * perMm)));
}

QRect dotsOf(const QRectF &mm, double perMm)
{
    const QPoint topLeft(int(std::lround(mm.left() * perMm)), int(std::lround(mm.top() * perMm)));
    const QPoint bottomRight(int(std::lround(mm.right() * perMm)), int(std::lround(mm.bottom() * perMm)));
    return QRect(topLeft, bottomRight - QPoint(1, 1));
}

} // namespace

// The calibration moves a label by whole dots, so every element keeps the
// size in dots it has without one.
LabelContent labelContent(const SheetReport &report, const LabelRecord &record, const QPoint &offsetDots, double perMm)
{
    LabelContent content;
    // A position used before stays blank.
    if (record.isBlank())
        return content;
    for (const CellElement &element : report.elements) {
        ThermalElement e;
        e.kind = element.kind == CellElement::Kind::Barcode ? ThermalElement::Kind::Barcode : ThermalElement::Kind::Text;
        e.box = dotsOf(element.box, perMm).translated(offsetDots);
        e.value = SheetDocument::textOf(element, record);
        e.fontHeight = pointsToDots(element.fontSize > 0 ? element.fontSize : 8.0, perMm);
        e.wrap = element.wrap;
        e.alignment = element.alignment;
        e.symbology = element.printerSymbology;
        e.legend = element.legend;
        content.append(e);
    }
    return content;
}

RollSetup rollOf(const SheetReport &report)
{
    const ThermalSetup setup = report.thermal.value_or(ThermalSetup());
    const double perMm = dotsPerMm(setup.dpi);
    RollSetup roll;
    roll.language = setup.language;
    roll.dpi = setup.dpi;
    roll.label = QSize(int(std::lround(report.grid.cellWidth * perMm)), int(std::lround(report.grid.cellHeight * perMm)));
    roll.across = setup.across;
    roll.gap = int(std::lround(setup.gap * perMm));
    return roll;
}

LabelStock stockOf(const SheetReport &report)
{
    const RollSetup roll = rollOf(report);
    LabelStock stock;
    stock.dotsPerMm = dotsPerMm(roll.dpi);
    stock.label = roll.label;
    for (int column = 0; column < roll.across; ++column)
        stock.columnStarts.append(roll.columnStart(column));
    return stock;
}

QList<QByteArray> thermalCommandFiles(const SheetReport &report, const QList<LabelRecord> &rows, const QPointF &offset,
                                      QList<int> *labels)
{
    const RollSetup roll = rollOf(report);
    const double perMm = dotsPerMm(roll.dpi);
    QList<QByteArray> files;
    const QPoint offsetDots(int(std::lround(offset.x() * perMm)), int(std::lround(offset.y() * perMm)));
    QList<LabelContent> row;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        row.append(labelContent(report, rows[i], offsetDots, perMm));
        if (row.size() == roll.across || i + 1 == rows.size()) {
            files.append(writeCommandFile(roll, row));
            if (labels)
                labels->append(int(row.size()));
            row.clear();
        }
    }
    return files;
}
