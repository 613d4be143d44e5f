#pragma once

#include <QImage>
#include <QSize>

// A picture (a pharmacy's logo, a photo) made into what a label printer's head
// prints: one bit a dot, at the label's resolution, converted once here so the
// printer never scales it. Dark is below the threshold, or spread by
// Floyd–Steinberg error diffusion for photos, where a threshold would leave
// blotches.

struct MonoSettings
{
    int threshold = 50;     // percent of full brightness under which a dot prints
    bool dither = false;
};

// `source` fitted inside `dots` keeping its proportions (transparent parts
// light), as a Format_Grayscale8 image whose pixels are 0 (print) or 255.
QImage monoPicture(const QImage &source, QSize dots, const MonoSettings &settings);

inline bool monoDark(const QImage &mono, int x, int y)
{
    return mono.constScanLine(y)[x] == 0;
}
