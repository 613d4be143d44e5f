#include "Snapping.h"

#include <cmath>
#include <optional>

namespace {

double round2(double mm)
{
    return std::round(mm * 100) / 100;
}

// The x (or y) lines a box offers: its two edges and its centre.
QList<double> linesOf(const QRectF &box, bool vertical)
{
    return vertical ? QList<double>{box.left(), box.center().x(), box.right()}
                    : QList<double>{box.top(), box.center().y(), box.bottom()};
}

struct Match
{
    double shift = 0;
    double at = 0;
};

// The smallest shift that puts one of `mine` on one of the targets.
std::optional<Match> nearest(const QList<double> &mine, const QList<QRectF> &targets, bool vertical, double tolerance)
{
    std::optional<Match> best;
    for (const QRectF &target : targets) {
        for (const double line : linesOf(target, vertical)) {
            for (const double own : mine) {
                const double shift = line - own;
                if (std::abs(shift) <= tolerance && (!best || std::abs(shift) < std::abs(best->shift)))
                    best = Match{shift, line};
            }
        }
    }
    return best;
}

QLineF guide(double at, bool vertical, const QRectF &span)
{
    return vertical ? QLineF(at, span.top(), at, span.bottom()) : QLineF(span.left(), at, span.right(), at);
}

// What a box snaps to (the label first) and how far the guides reach.
struct Targets
{
    QList<QRectF> boxes;
    QRectF span;
};

Targets targetsOf(const QList<QRectF> &others, const QRectF &label)
{
    Targets targets{QList<QRectF>{label} + others, label};
    for (const QRectF &other : others)
        targets.span |= other;
    return targets;
}

} // namespace

double snapToGrid(double mm)
{
    return round2(std::round(mm / SnapGrid) * SnapGrid);
}

Snapped snapMove(const QRectF &box, const QList<QRectF> &others, const QRectF &label, double tolerance)
{
    const Targets targets = targetsOf(others, label);
    Snapped snapped{box, {}};
    for (const bool vertical : {true, false}) {
        const auto match = nearest(linesOf(box, vertical), targets.boxes, vertical, tolerance);
        const double start = vertical ? box.left() : box.top();
        const double moved = match ? round2(start + match->shift) : snapToGrid(start);
        if (vertical)
            snapped.box.moveLeft(moved);
        else
            snapped.box.moveTop(moved);
        if (match)
            snapped.guides << guide(match->at, vertical, targets.span | snapped.box);
    }
    return snapped;
}

Snapped snapResize(const QRectF &box, const QList<QRectF> &others, const QRectF &label, double tolerance, double minimumSide)
{
    const Targets targets = targetsOf(others, label);
    Snapped snapped{box, {}};
    for (const bool vertical : {true, false}) {
        const double end = vertical ? box.right() : box.bottom();
        const auto match = nearest({end}, targets.boxes, vertical, tolerance);
        const double start = vertical ? box.left() : box.top();
        const double snappedEnd = match ? round2(end + match->shift) : start + snapToGrid(end - start);
        const double side = std::max(minimumSide, snappedEnd - start);
        if (vertical)
            snapped.box.setWidth(side);
        else
            snapped.box.setHeight(side);
        if (match && side > minimumSide)
            snapped.guides << guide(match->at, vertical, targets.span | snapped.box);
    }
    return snapped;
}
