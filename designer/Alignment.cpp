#include "Alignment.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

double round2(double mm)
{
    return std::round(mm * 100) / 100;
}

} // namespace

QList<QRectF> aligned(const QList<QRectF> &boxes, AlignEdge edge, const QRectF &label, bool toLabel)
{
    QRectF reference = label;
    if (!toLabel && boxes.size() > 1) {
        reference = boxes.first();
        for (const QRectF &box : boxes)
            reference |= box;
    }
    QList<QRectF> result = boxes;
    for (QRectF &box : result) {
        switch (edge) {
        case AlignEdge::Left:
            box.moveLeft(reference.left());
            break;
        case AlignEdge::Right:
            box.moveRight(reference.right());
            break;
        case AlignEdge::Top:
            box.moveTop(reference.top());
            break;
        case AlignEdge::Bottom:
            box.moveBottom(reference.bottom());
            break;
        case AlignEdge::HorizontalCentre:
            box.moveLeft(reference.center().x() - box.width() / 2);
            break;
        case AlignEdge::VerticalCentre:
            box.moveTop(reference.center().y() - box.height() / 2);
            break;
        }
        box.moveTopLeft(QPointF(round2(box.left()), round2(box.top())));
    }
    return result;
}

QList<QRectF> distributed(const QList<QRectF> &boxes, Qt::Orientation orientation)
{
    if (boxes.size() < 3)
        return boxes;
    const bool across = orientation == Qt::Horizontal;
    const auto start = [&](const QRectF &box) { return across ? box.left() : box.top(); };
    const auto length = [&](const QRectF &box) { return across ? box.width() : box.height(); };
    QList<int> order(boxes.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return start(boxes[a]) < start(boxes[b]); });
    const QRectF &first = boxes[order.first()];
    const QRectF &last = boxes[order.last()];
    double lengths = 0;
    for (const QRectF &box : boxes)
        lengths += length(box);
    const double gap = (start(last) + length(last) - start(first) - lengths) / (boxes.size() - 1);
    QList<QRectF> result = boxes;
    double at = start(first);
    for (const int index : order) {
        QRectF &box = result[index];
        if (across)
            box.moveLeft(round2(at));
        else
            box.moveTop(round2(at));
        at += length(box) + gap;
    }
    return result;
}
