#pragma once

#include <QColor>
#include <QPalette>

// A Windows colour value: red in the low byte, then green, then blue; a negative
// value names a system colour, which maps onto the palette given.
QColor windowsColor(int value, const QPalette &palette);
