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
// The edges a resize moves: one for an edge's handle, two for a corner's.
enum ResizeEdge { EdgeLeft = 1, EdgeRight = 2, EdgeTop = 4, EdgeBottom = 8 };

// A box resized by the `edges` it was dragged by (as the pointer left it):
// each moved edge snaps, the edges facing them stay, and no side gets
// shorter than `minimumSide`.
Snapped snapResize(const QRectF &box, const QList<QRectF> &others, const QRectF &label, double tolerance, double minimumSide,
                   int edges = EdgeRight | EdgeBottom);

// To the grid alone (a nudge, a typed value).
double snapToGrid(double mm);
