#include "ElementPlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A tenth of a millimetre is less than a thermal printer's dot at 203 dpi.
constexpr double SliverMm = 0.1;
// New elements land on this grid: fine enough for any label, coarse enough to search at once.
constexpr double StepMm = 0.5;

bool coversOthers(const CellElement &e)
{
    return e.kind != CellElement::Kind::Frame;
}

// A line's box may have no height (or width) at all: it still takes its thickness of room.
QRectF roomTaken(const CellElement &e)
{
    QRectF box = e.box.normalized();
    if (box.height() < SliverMm)
        box.adjust(0, -SliverMm, 0, SliverMm);
    if (box.width() < SliverMm)
        box.adjust(-SliverMm, 0, SliverMm, 0);
    return box;
}

} // namespace

bool boxesOverlap(const QRectF &a, const QRectF &b)
{
    const QRectF shared = a.normalized().intersected(b.normalized());
    return shared.width() > SliverMm && shared.height() > SliverMm;
}

QPointF firstFreeSpot(const SheetReport &report, const QSizeF &size)
{
    const double width = report.grid.cellWidth;
    const double height = report.grid.cellHeight;
    QList<QRectF> taken;
    for (const CellElement &e : report.elements) {
        if (coversOthers(e))
            taken << roomTaken(e);
    }
    const int rows = std::max(0, int(std::floor((height - size.height()) / StepMm + 1e-9)));
    const int columns = std::max(0, int(std::floor((width - size.width()) / StepMm + 1e-9)));
    // No free place: the one that covers the least of the others.
    QPointF leastCovered;
    double leastArea = std::numeric_limits<double>::max();
    for (int row = 0; row <= rows; ++row) {
        for (int column = 0; column <= columns; ++column) {
            const QRectF box(QPointF(column * StepMm, row * StepMm), size);
            double covered = 0;
            for (const QRectF &t : std::as_const(taken)) {
                if (boxesOverlap(t, box)) {
                    const QRectF shared = t.intersected(box);
                    covered += shared.width() * shared.height();
                }
            }
            if (covered == 0)
                return box.topLeft();
            if (covered < leastArea) {
                leastArea = covered;
                leastCovered = box.topLeft();
            }
        }
    }
    return leastCovered;
}

QString elementName(const CellElement &e)
{
    switch (e.kind) {
    case CellElement::Kind::Text:
        return QStringLiteral("\"%1\"").arg(e.value);
    case CellElement::Kind::Field:
    case CellElement::Kind::Price:
    case CellElement::Kind::Barcode:
        return e.value;
    case CellElement::Kind::Line:
        return QStringLiteral("a linha");
    case CellElement::Kind::Frame:
        return QStringLiteral("o quadro");
    case CellElement::Kind::QrCode:
        return QStringLiteral("o QR");
    case CellElement::Kind::DataMatrix:
        return QStringLiteral("o DataMatrix");
    case CellElement::Kind::Date:
        return QStringLiteral("a data");
    case CellElement::Kind::Image:
        return QStringLiteral("a imagem \"%1\"").arg(e.value);
    }
    return e.value;
}

QStringList overlapWarnings(const SheetReport &report)
{
    QStringList warnings;
    const QList<CellElement> &elements = report.elements;
    for (qsizetype i = 0; i < elements.size(); ++i) {
        if (!coversOthers(elements[i]))
            continue;
        for (qsizetype j = i + 1; j < elements.size(); ++j) {
            if (coversOthers(elements[j]) && boxesOverlap(roomTaken(elements[i]), roomTaken(elements[j])))
                warnings << QStringLiteral("Elementos sobrepostos: %1 e %2 ocupam o mesmo lugar; um cobre o outro na impressão")
                                .arg(elementName(elements[i]), elementName(elements[j]));
        }
    }
    return warnings;
}
