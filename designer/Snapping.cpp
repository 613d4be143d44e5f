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

Snapped snapResize(const QRectF &box, const QList<QRectF> &others, const QRectF &label, double tolerance, double minimumSide,
                   int edges)
{
    const Targets targets = targetsOf(others, label);
    Snapped snapped{box, {}};
    for (const bool vertical : {true, false}) {
        const int low = vertical ? EdgeLeft : EdgeTop;
        const int high = vertical ? EdgeRight : EdgeBottom;
        if (!(edges & (low | high)))
            continue;
        // Measured from the edge that stays, towards the one dragged.
        const bool atEnd = edges & high;
        const double sign = atEnd ? 1 : -1;
        const double first = vertical ? box.left() : box.top();
        const double last = vertical ? box.right() : box.bottom();
        const double fixed = atEnd ? first : last;
        const double moving = atEnd ? last : first;
        const auto match = nearest({moving}, targets.boxes, vertical, tolerance);
        const double snappedEdge = match ? round2(moving + match->shift) : fixed + sign * snapToGrid(sign * (moving - fixed));
        const double side = std::max(minimumSide, sign * (snappedEdge - fixed));
        const double start = atEnd ? fixed : round2(fixed - side);
        if (vertical) {
            snapped.box.setLeft(start);
            snapped.box.setWidth(side);
        } else {
            snapped.box.setTop(start);
            snapped.box.setHeight(side);
        }
        if (match && side > minimumSide)
            snapped.guides << guide(match->at, vertical, targets.span | snapped.box);
    }
    return snapped;
}
