#pragma once

#include <QList>
#include <QRectF>

// Lining boxes up (millimetres): to the edge or centre the selection shares,
// or to the label's when one box is chosen; spreading three or more with
// equal gaps between them.
enum class AlignEdge { Left, Right, Top, Bottom, HorizontalCentre, VerticalCentre };

// `label` is taken as the reference when `toLabel` or fewer than two boxes.
QList<QRectF> aligned(const QList<QRectF> &boxes, AlignEdge edge, const QRectF &label, bool toLabel);

// The outer two stay; the gaps between neighbours become equal.
QList<QRectF> distributed(const QList<QRectF> &boxes, Qt::Orientation orientation);
