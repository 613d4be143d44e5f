#pragma once

#include <QLineF>
#include <QList>
#include <QRectF>

// Where a dragged box comes to rest, in millimetres: an edge or centre within
// `tolerance` of another element's edge or centre, or of the label's, snaps
// to it (and a guide is drawn along it); otherwise its corner goes to the
// nearest step of the grid.
constexpr double SnapGrid = 0.5;

struct Snapped
{
    QRectF box;
    QList<QLineF> guides;
};

// A box moved: its size kept.
Snapped snapMove(const QRectF &box, const QList<QRectF> &others, const QRectF &label, double tolerance);
// A box resized by its bottom-right corner: its top-left kept.
Snapped snapResize(const QRectF &box, const QList<QRectF> &others, const QRectF &label, double tolerance, double minimumSide);

// To the grid alone (a nudge, a typed value).
double snapToGrid(double mm);
