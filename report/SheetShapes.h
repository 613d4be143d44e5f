#pragma once

#include <QImage>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;
struct CellElement;

// What a sheet label draws besides texts and linear barcodes, in device units
// of the painter, each edge on a whole device pixel: a line or a frame of the
// thickness asked (at least one pixel), a 2D code of whole pixels a module.

void paintSheetRule(QPainter &painter, const QRectF &box, const CellElement &element, double pixelsPerMm);

// Returns the module in device pixels (0: the code was not drawn, its box
// cannot hold it or the symbology cannot hold the text).
int paintSheetMatrix(QPainter &painter, const QRectF &box, const CellElement &element, const QString &text, double pixelsPerMm);

// The picture fitted inside `box` keeping its proportions, scaled once to the
// device's own pixels and drawn pixel for pixel, centred.
void paintSheetImage(QPainter &painter, const QRectF &box, const QImage &picture);

// Calls `paint` with the box the element is laid out in, the painter turned
// `rotation` degrees clockwise so that the layout lands inside `box`.
void paintTurned(QPainter &painter, const QRectF &box, int rotation, const std::function<void(const QRectF &)> &paint);
