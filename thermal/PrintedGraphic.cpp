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

namespace {

constexpr int PcxHeader = 128;

void putWord(QByteArray &bytes, int at, int value)
{
    bytes[at] = char(value & 0xff);
    bytes[at + 1] = char((value >> 8) & 0xff);
}

int word(const QByteArray &bytes, int at)
{
    return uchar(bytes[at]) | (uchar(bytes[at + 1]) << 8);
}

} // namespace

QByteArray pcxFile(int width, int height, const QByteArray &lightOnes)
{
    const int bytesPerRow = (width + 7) / 8;
    const int bytesPerLine = bytesPerRow + bytesPerRow % 2; // a PCX line is an even number of bytes
    QByteArray pcx(PcxHeader, '\0');
    pcx[0] = char(0x0A);    // manufacturer
    pcx[1] = char(5);       // version
    pcx[2] = char(1);       // run-length encoding
    pcx[3] = char(1);       // bits per pixel
    putWord(pcx, 8, width - 1);
    putWord(pcx, 10, height - 1);
    putWord(pcx, 12, 203);
    putWord(pcx, 14, 203);
    pcx[19] = pcx[20] = pcx[21] = char(0xff); // palette: colour 0 black, colour 1 white
    pcx[65] = char(1);      // planes
    putWord(pcx, 66, bytesPerLine);
    putWord(pcx, 68, 1);
    for (int y = 0; y < height; ++y) {
        QByteArray line = lightOnes.mid(y * bytesPerRow, bytesPerRow);
        line.append(QByteArray(bytesPerLine - bytesPerRow, char(0xff)));
        for (int x = 0; x < line.size();) {
            int run = 1;
            while (x + run < line.size() && run < 63 && line[x + run] == line[x])
                ++run;
            const uchar value = uchar(line[x]);
            if (run > 1 || value >= 0xC0)
                pcx.append(char(0xC0 | run));
            pcx.append(char(value));
            x += run;
        }
    }
    return pcx;
}

std::optional<StoredGraphic> pcxGraphic(const QByteArray &pcx)
{
    if (pcx.size() < PcxHeader || pcx[0] != char(0x0A) || pcx[2] != char(1) || pcx[3] != char(1) || pcx[65] != char(1))
        return std::nullopt;
    const int width = word(pcx, 8) - word(pcx, 4) + 1;
    const int height = word(pcx, 10) - word(pcx, 6) + 1;
    const int bytesPerLine = word(pcx, 66);
    if (width < 1 || height < 1 || bytesPerLine * 8 < width)
        return std::nullopt;
    QByteArray bits;
    bits.reserve(bytesPerLine * height);
    for (qsizetype i = PcxHeader; i < pcx.size() && bits.size() < bytesPerLine * height; ++i) {
        const uchar byte = uchar(pcx[i]);
        if (byte >= 0xC0 && i + 1 < pcx.size())
            bits.append(QByteArray(byte & 0x3F, pcx[++i]));
        else
            bits.append(char(byte));
    }
    if (bits.size() < bytesPerLine * height)
        return std::nullopt;
    bits.truncate(bytesPerLine * height);
    // What lies right of the picture's width in a line prints nothing.
    for (int y = 0; y < height; ++y) {
        for (int x = width; x < bytesPerLine * 8; ++x)
            bits[y * bytesPerLine + x / 8] = char(uchar(bits[y * bytesPerLine + x / 8]) | (0x80 >> (x % 8)));
    }
    return StoredGraphic{bits, bytesPerLine, height, false};
}
