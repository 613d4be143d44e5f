#pragma once

#include "BarcodePlan.h"

#include <QFont>

class QPainter;

// The vertical placement and the legend settings the plan does not carry.
struct BarcodeFrame {
    int superior = 10;      // y of the top of every bar
    int altura = 60;        // y of the bottom of ordinary bars and of the legend's top
    int clearHeight = 75;   // the area cleared to white is this tall
    int clearWidth = 2000;  // ... and this wide
    bool legenda = false;
    QFont legendaFont;
};

// Clears the area to white, paints every module as a column of w pixels (bars
// black, spaces white, guards 12 pixels longer) and, when asked, writes the
// legend pieces in black on an opaque white background.
void PaintBarcode(QPainter &painter, const BarcodePlan &plan, const BarcodeFrame &frame);

// The pixels one module covers. The classic canvas drew each module as a
// one-pixel-wide rectangle outlined with a pen w pixels wide, centred on its
// edges; this is that footprint, so a module is exactly w pixels wide and
// reaches about w/2 beyond the top and bottom edges.
QRect ModuleFootprint(int x, int top, int bottom, int moduleWidth);
