#include "PrintedGraphic.h"

namespace {

// One rectangle a run of dark cells along a row, `scale` dots a cell.
template<typename Dark>
QList<QRect> runs(int columns, int rows, int scale, Dark dark)
{
    QList<QRect> ink;
    for (int y = 0; y < rows; ++y) {
        int x = 0;
        while (x < columns) {
            if (!dark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < columns && dark(x, y))
                ++x;
            ink.append(QRect(start * scale, y * scale, (x - start) * scale, scale));
        }
    }
    return ink;
}

} // namespace

PrintedElement matrixElement(const MatrixCode &code, int module)
{
    PrintedElement element;
    element.kind = PrintedElement::Kind::MatrixCode;
    element.ink = runs(code.columns, code.rows, module, [&](int x, int y) { return code.at(x, y); });
    // The symbol's whole square, light modules at its edges included.
    element.bars = QRect(0, 0, code.columns * module, code.rows * module);
    return element;
}

PrintedElement graphicElement(const QByteArray &bits, int bytesPerRow, int rows, bool darkBit)
{
    PrintedElement element;
    element.kind = PrintedElement::Kind::Graphic;
    element.ink = runs(bytesPerRow * 8, rows, 1, [&](int x, int y) {
        const bool set = (uchar(bits[y * bytesPerRow + x / 8]) >> (7 - x % 8)) & 1;
        return set == darkBit;
    });
    element.bars = QRect(0, 0, bytesPerRow * 8, rows);
    return element;
}
