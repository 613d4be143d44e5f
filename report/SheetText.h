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
// on `device`: a line left over, or ink the box's clip takes off below or, on
// one line, beyond its end (judged on the glyphs drawn, whatever font stands
// in for the one asked). `shown`, when
// asked for, gets what shows: the whole lines, and of a line the box cuts,
// the characters inside it.
bool sheetTextIsCut(const QRectF &box, const CellElement &element, const QString &text, QPaintDevice *device,
                    QString *shown = nullptr);
