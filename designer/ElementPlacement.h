#pragma once

#include "ReportProject.h"

#include <QPointF>
#include <QSizeF>
#include <QStringList>

// Which elements of a label cover each other, and where a new one finds room.
// A frame surrounds the others by design and is never in their way; every
// other element covers what lies under its box, a line included.

// Whether a and b share more than a sliver: boxes that only touch, or cross
// by under a tenth of a millimetre, stand side by side.
bool boxesOverlap(const QRectF &a, const QRectF &b);

// The first place, row by row from the label's top-left corner, where a box
// of `size` lies inside the label and over no other element; when the label
// has no such place, the one covering the least of the others (the overlap
// warning then tells).
QPointF firstFreeSpot(const SheetReport &report, const QSizeF &size);

// "Elementos sobrepostos: …" for each pair of elements that cover each other.
QStringList overlapWarnings(const SheetReport &report);

// How a warning names an element: its field, its text in quotes, or its kind.
QString elementName(const CellElement &e);
