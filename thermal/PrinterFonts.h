#pragma once

#include "PrintImage.h"

#include <QFont>

#include <optional>

class QPainter;

// The resident EPL2 fonts 1 to 5: one character's cell in dots (the spacing
// to the next character included) at 203 or 300 dpi, from the EPL2
// programming guide's font table. Multipliers widen and heighten the cell.
std::optional<PrinterFont> epl2Font(int font, int horizontal, int vertical, int dpi);

// ZPL's scalable font 0 at h dots tall, w dots wide (w == h: natural width).
PrinterFont zplScalableFont(int height, int width);

// A fixed-pitch font of the given cell, for the human-readable lines.
PrinterFont cellFont(int cellWidth, int height);

// Dots the text takes in the font: the cells of a fixed-pitch font, the
// measured advance of a proportional one.
int printedWidth(const PrinterFont &font, const QString &text);

// Draws the run in painter coordinates (dots), white on black when reversed.
void paintPrintedText(QPainter &painter, const PrintedText &text, const QColor &ink);
