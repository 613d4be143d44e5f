#pragma once

#include <QList>
#include <QString>

#include <optional>

// Two-dimensional codes (QR Code and DataMatrix ECC 200) as a grid of dark and
// light modules, encoded by zint. The grid has no quiet zone: whoever draws it
// keeps the light margin a reader needs around it.

enum class MatrixSymbology { QrCode, DataMatrix };

struct MatrixCode
{
    int columns = 0;
    int rows = 0;
    QList<bool> dark;          // row by row, `columns` a row

    bool at(int column, int row) const { return dark[row * columns + column]; }
};

// QR error-correction levels, from the least to the most redundant.
enum class QrLevel { L, M, Q, H };

// The symbol of `text` (UTF-8 on the wire); nothing when the symbology cannot
// hold it. `level` only matters to QR Code; DataMatrix is kept square.
std::optional<MatrixCode> encodeMatrixCode(MatrixSymbology symbology, const QString &text, QrLevel level = QrLevel::M);

// Light modules a reader needs around the symbol on every side.
int matrixQuietModules(MatrixSymbology symbology);

// The module (whole dots) a symbol is drawn with in a box of `width` × `height`
// dots, its quiet zones inside the box: `asked` when that fits (or the largest
// that fits when `asked` is 0 or too large); 0 when not even one dot does.
int matrixModule(const MatrixCode &code, MatrixSymbology symbology, int width, int height, int asked);

// Dots a side the symbol needs with its quiet zones at `module` dots a module.
int matrixSide(const MatrixCode &code, MatrixSymbology symbology, int module);
