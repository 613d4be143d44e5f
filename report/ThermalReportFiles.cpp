#include "ThermalReportFiles.h"

#include "DrawnElements.h"
#include "SheetDocument.h"

#include <cmath>

namespace {

// Points to dots: a point is 1/72 inch.
int pointsToDots(double points, double perMm)
{
    return std::max(1, int(std::lround(points * 25.4 / 72.0 * perMm)));
}

// A thin line keeps at least one dot: rounded to none it would vanish.
QRect dotsOf(const QRectF &mm, double perMm)
{
    const QPoint topLeft(int(std::lround(mm.left() * perMm)), int(std::lround(mm.top() * perMm)));
    const QPoint bottomRight(int(std::lround(mm.right() * perMm)), int(std::lround(mm.bottom() * perMm)));
    return QRect(topLeft, QSize(std::max(1, bottomRight.x() - topLeft.x()), std::max(1, bottomRight.y() - topLeft.y())));
}

ThermalElement::Kind thermalKind(CellElement::Kind kind)
{
    switch (kind) {
    case CellElement::Kind::Barcode:
        return ThermalElement::Kind::Barcode;
    case CellElement::Kind::Line:
        return ThermalElement::Kind::Line;
    case CellElement::Kind::Frame:
        return ThermalElement::Kind::Frame;
    case CellElement::Kind::QrCode:
    case CellElement::Kind::DataMatrix:
        return ThermalElement::Kind::MatrixCode;
    case CellElement::Kind::Image:
        return ThermalElement::Kind::Graphic;
    default:
        return ThermalElement::Kind::Text;
    }
}

// A stored graphic's name: letters and digits, at most 8, one an element.
QString storedPictureName(int elementIndex)
{
    return QStringLiteral("SLV%1").arg(elementIndex);
}

} // namespace

QHash<int, QImage> thermalPictures(const SheetReport &report, double perMm)
{
    QHash<int, QImage> pictures;
    for (int i = 0; i < report.elements.size(); ++i) {
        const CellElement &element = report.elements[i];
        if (element.kind != CellElement::Kind::Image)
            continue;
        const QImage source = loadElementImage(report, element);
        pictures.insert(i, monoPicture(source, dotsOf(element.box, perMm).size(), {element.threshold, element.dither}));
    }
    return pictures;
}

// The calibration moves a label by whole dots, so every element keeps the
// size in dots it has without one.
LabelContent labelContent(const SheetReport &report, const LabelRecord &record, const QPoint &offsetDots, double perMm,
                          const QDate &printDay, const QHash<int, QImage> *pictures)
{
    LabelContent content;
    // A position used before stays blank.
    if (record.isBlank())
        return content;
    for (int index = 0; index < report.elements.size(); ++index) {
        const CellElement &element = report.elements[index];
        ThermalElement e;
        e.kind = thermalKind(element.kind);
        e.box = dotsOf(element.box, perMm).translated(offsetDots);
        e.value = SheetDocument::textOf(element, record, printDay);
        e.quarterTurns = element.rotation / 90;
        e.thickness = std::max(1, int(std::lround(element.thickness * perMm)));
        e.matrix = element.kind == CellElement::Kind::DataMatrix ? MatrixSymbology::DataMatrix : MatrixSymbology::QrCode;
        e.qrLevel = element.qrLevel;
        e.module = element.moduleMm > 0 ? std::max(1, int(std::lround(element.moduleMm * perMm))) : 0;
        if (element.kind == CellElement::Kind::Image) {
            e.picture = pictures ? pictures->value(index) : thermalPictures(report, perMm).value(index);
            // A job's pictures are stored in the printer once (storedPictures).
            if (pictures)
                e.storedAs = storedPictureName(index);
        }
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
    // One day for the whole job, even one printed across midnight.
    const QDate printDay = QDate::currentDate();
    const QHash<int, QImage> pictures = thermalPictures(report, perMm);
    QList<StoredPicture> stored;
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        if (!it.value().isNull())
            stored.append({storedPictureName(it.key()), it.value()});
    }
    std::sort(stored.begin(), stored.end(), [](const StoredPicture &a, const StoredPicture &b) { return a.name < b.name; });
    for (qsizetype i = 0; i < rows.size(); ++i) {
        row.append(labelContent(report, rows[i], offsetDots, perMm, printDay, &pictures));
        if (row.size() == roll.across || i + 1 == rows.size()) {
            // The job's pictures go to the printer once, ahead of its first label.
            files.append((files.isEmpty() ? storePictures(roll, stored) : QByteArray()) + writeCommandFile(roll, row));
            if (labels)
                labels->append(int(row.size()));
            row.clear();
        }
    }
    return files;
}
