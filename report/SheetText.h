#pragma once

#include <QRectF>
#include <QString>

class QPainter;
class QPaintDevice;
struct CellElement;

// Draws a text element inside `box` (device units of the painter), top-aligned.
// Only whole lines are drawn: a wrapped name gets the lines its box holds and
// no half line spilling its tops over the next element; the first line always
// shows, cut at the box. Words are measured with the font's design widths, so
// a name breaks into the same lines in the preview as on paper.
void paintSheetText(QPainter &painter, const QRectF &box, const CellElement &element, const QString &text);

// Whether the text does not show whole in `box` as paintSheetText lays it out
// on `device`: a line left over, or a line wider than the box.
bool sheetTextIsCut(const QRectF &box, const CellElement &element, const QString &text, QPaintDevice *device);
