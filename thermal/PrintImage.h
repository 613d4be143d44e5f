#pragma once

#include "BarCodeTipo.h"

#include <QHash>
#include <QList>
#include <QRect>
#include <QString>
#include <QTransform>

#include <optional>

// What a label printer holds in its image buffer when a print command comes:
// every element in printer dots, worked out from the command file before a
// pixel is painted, so the out-of-label check and the painting see the same
// geometry.

// How characters are shaped: the resident fonts of EPL2 have a fixed cell per
// character; the scalable ZPL font is proportional, `height` tall and
// `widthScale` times its natural width.
struct PrinterFont
{
    int height = 0;
    int cellWidth = 0;      // fixed pitch when above zero
    double widthScale = 1;  // proportional fonts only
    bool bold = false;
};

struct PrintedText
{
    QPoint topLeft;         // element coordinates, before rotation
    QString text;
    PrinterFont font;
    int width = 0;          // dots the run takes
    bool reverse = false;   // white on black

    QRect box() const { return QRect(topLeft, QSize(width, font.height)); }
};

struct PrintedElement
{
    enum class Kind { Text, Barcode, Line, Box, MatrixCode, Graphic };

    Kind kind = Kind::Text;
    int line = 0;                 // line of the command file it came from
    QList<QRect> ink;             // filled rectangles, element coordinates
    QList<PrintedText> texts;
    QTransform placement;         // element coordinates -> image dots (origin and rotation)

    // Barcodes only.
    std::optional<TBarCodeTipo> symbology;
    QString data;                 // what a reader gets back, check digits included
    QRect bars;                   // the bars alone, element coordinates; a 2D code's or graphic's whole picture
    int quietLeft = 0;            // the light margins a reader needs, dots
    int quietRight = 0;

    QRect localBounds() const;
    QRect bounds() const { return placement.mapRect(localBounds()); }
    QRect barBounds() const { return placement.mapRect(bars); }
    // The bars with their quiet zones, in image dots.
    QRect quietBounds() const { return placement.mapRect(bars.adjusted(-quietLeft, 0, quietRight, 0)); }
};

// A command the renderer cannot image, or a parameter it cannot take.
struct RenderFault
{
    int line = 0;
    QString message;
};

struct PrintImage
{
    QSize declared;               // label width and length the file set (0 when it set none)
    int copies = 1;
    bool printed = false;         // a print command ended it
    QList<PrintedElement> elements;

    QRect inkBounds() const;
};

enum class PrinterLanguage { Epl2, Zpl };

// One command file as the printer would take it.
struct RenderedFile
{
    PrinterLanguage language = PrinterLanguage::Epl2;
    int dpi = 203;
    QList<PrintImage> images;
    QList<RenderFault> faults;
};

// A 1-bit picture stored in the printer by name (ZPL ~DG, EPL2 GM) and
// recalled in each label (^XG, GG).
struct StoredGraphic
{
    QByteArray bits;              // row by row, the leftmost dot in a byte's highest bit
    int bytesPerRow = 0;
    int rows = 0;
    bool darkBit = true;          // the bit value that prints
};

// What a printer keeps between the files of a job: the graphics stored in
// it, by name as the commands write it ("R:SLV1.GRF", "SLV1").
struct PrinterMemory
{
    QHash<QString, StoredGraphic> graphics;
};

// Dots per millimetre of a print head: 8 at 203 dpi, 12 at 300 dpi.
double dotsPerMm(int dpi);

// Turns the element clockwise by quarter turns and puts the top-left corner
// of what it draws, once turned, on `origin`: ZPL's field origin.
void placeElement(PrintedElement &element, QPoint origin, int quarterTurns);

// Puts the top-left corner of what the element draws unturned on `point` and
// turns it clockwise about that point: EPL2's start position. A field turned
// 90 degrees lies left of its point, reading downwards; 180, left of and
// above it, upside down; 270, right of it, reading upwards.
void turnElementAbout(PrintedElement &element, QPoint point, int quarterTurns);
