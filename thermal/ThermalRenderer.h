#pragma once

#include "PrintImage.h"

#include <QByteArray>
#include <QColor>
#include <QImage>

class QPainter;

// Command files imaged as the printer would: the language is told by the
// bytes (ZPL formats begin with ^XA), the geometry comes from the readers,
// and painting puts one printer dot on one pixel.

PrinterLanguage detectLanguage(const QByteArray &bytes);

// One file of a job; `memory` is the printer's between the job's files, so
// a graphic the first file stores is recalled by the later ones.
RenderedFile readCommandFile(const QByteArray &bytes, int dpi, PrinterMemory *memory = nullptr);

// Draws the elements in image dots on a painter already placed: every one,
// or those that reach into `within` when it is given.
void paintElements(QPainter &painter, const PrintImage &image, const QColor &ink, const QRect &within = QRect());

// The part `area` (image dots) of the image, black on white.
QImage paintPrintImage(const PrintImage &image, const QRect &area);

// The area worth showing: what the file declared and everything it draws.
QRect printArea(const PrintImage &image);
