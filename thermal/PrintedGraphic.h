#pragma once

#include "MatrixCode.h"
#include "PrintImage.h"

#include <QByteArray>

#include <optional>

// Dot pictures in a printer's image buffer: a 2D code drawn module by module,
// and a stored graphic (EPL2 GW, ZPL ^GFA) row by row. Both become runs of
// dark dots, so the renderer paints and measures them as it does bars.

// A 2D code of `module` dots a module, its top-left module at (0, 0).
PrintedElement matrixElement(const MatrixCode &code, int module);

// A 1-bit picture `bytesPerRow` × `rows`, the leftmost dot in a byte's highest
// bit; `darkBit` is the bit value that prints (EPL2 prints 0, ZPL 1).
PrintedElement graphicElement(const QByteArray &bits, int bytesPerRow, int rows, bool darkBit);

// The bytes of a 1-bit picture the other way round: `dark(x, y)` for every
// dot. A template, so that a logo of tens of thousands of dots costs no call a dot.
template<typename Dark>
QByteArray packedBits(int width, int height, bool darkBit, Dark dark)
{
    const int bytesPerRow = (width + 7) / 8;
    QByteArray bits(bytesPerRow * height, darkBit ? '\0' : '\xff');
    char *out = bits.data();
    for (int y = 0; y < height; ++y, out += bytesPerRow) {
        for (int x = 0; x < width; ++x) {
            if (dark(x, y))
                out[x / 8] = char(uchar(out[x / 8]) ^ (0x80 >> (x % 8)));
        }
    }
    return bits;
}

// A 1-bit picture as a PCX file, the form EPL2 stores graphics in (EPL2
// Programmer's Manual, "GM Command - Store Graphics": "PCX format ... 1 bit
// per pixel"): the 128-byte header, then every row run-length encoded, a
// dark dot a 0 bit (palette colour 0, black).
QByteArray pcxFile(int width, int height, const QByteArray &lightOnes);
template<typename Dark>
QByteArray pcxPicture(int width, int height, Dark dark)
{
    return pcxFile(width, height, packedBits(width, height, false, dark));
}

// The picture of a PCX file as EPL2 prints it; nothing when it is not a
// 1-bit, one-plane, run-length encoded PCX.
std::optional<StoredGraphic> pcxGraphic(const QByteArray &pcx);
