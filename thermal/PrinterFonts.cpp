#include "PrinterFonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <cmath>

namespace {

struct CellSize
{
    int width;
    int height;
};

// EPL2 programming guide, "Text (Fonts)": dots per character cell.
constexpr CellSize Epl2Cells203[] = {{8, 12}, {10, 16}, {12, 20}, {14, 24}, {32, 48}};
constexpr CellSize Epl2Cells300[] = {{12, 20}, {16, 28}, {20, 36}, {24, 44}, {48, 80}};

// The line box of DejaVu is about 1.17 em: a glyph of this pixel size fits
// the printer's character height with its ascenders and descenders.
constexpr double LineBoxEm = 1.17;

struct QtFont
{
    QFont font;
    QRawFont raw;   // fixed-pitch fonts: glyphs placed cell by cell, no shaping
    double ascent = 0;
};

// Fonts are looked up once per shape: a job repeats the same few shapes on
// every label, and building a QFont per text would dominate the rendering.
const QtFont &qtFontFor(const PrinterFont &shape)
{
    static QHash<QString, QtFont> cache;
    const QString key = QStringLiteral("%1/%2/%3/%4").arg(shape.height).arg(shape.cellWidth).arg(shape.widthScale).arg(shape.bold);
    auto it = cache.find(key);
    if (it != cache.end())
        return *it;
    QtFont made;
    QFont &font = made.font;
    font.setFamily(shape.cellWidth > 0 ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans Condensed"));
    font.setStyleHint(shape.cellWidth > 0 ? QFont::Monospace : QFont::SansSerif);
    font.setBold(shape.bold);
    font.setPixelSize(std::max(1, int(std::lround(shape.height / LineBoxEm))));
    font.setKerning(false);
    if (shape.cellWidth > 0) {
        // Squeeze or widen the glyphs to most of the cell, then let the
        // spacing make every advance exactly one cell.
        const double natural = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
        font.setStretch(std::clamp(int(100.0 * shape.cellWidth * 0.85 / natural), 1, 4000));
        const double stretched = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
        font.setLetterSpacing(QFont::AbsoluteSpacing, shape.cellWidth - stretched);
        made.raw = QRawFont::fromFont(font);
    } else {
        font.setStretch(std::clamp(int(std::lround(100.0 * shape.widthScale)), 1, 4000));
    }
    made.ascent = QFontMetricsF(font).ascent();
    return *cache.insert(key, made);
}

} // namespace

std::optional<PrinterFont> epl2Font(int font, int horizontal, int vertical, int dpi)
{
    if (font < 1 || font > 5)
        return std::nullopt;
    const CellSize cell = (dpi >= 300 ? Epl2Cells300 : Epl2Cells203)[font - 1];
    PrinterFont shape;
    shape.cellWidth = cell.width * horizontal;
    shape.height = cell.height * vertical;
    return shape;
}

PrinterFont zplScalableFont(int height, int width)
{
    PrinterFont shape;
    shape.height = height;
    shape.widthScale = height > 0 ? double(width) / height : 1.0;
    shape.bold = true;
    return shape;
}

PrinterFont cellFont(int cellWidth, int height)
{
    PrinterFont shape;
    shape.cellWidth = cellWidth;
    shape.height = height;
    return shape;
}

int printedWidth(const PrinterFont &font, const QString &text)
{
    if (font.cellWidth > 0)
        return int(text.size()) * font.cellWidth;
    return int(std::ceil(QFontMetricsF(qtFontFor(font).font).horizontalAdvance(text)));
}

void paintPrintedText(QPainter &painter, const PrintedText &text, const QColor &ink)
{
    const QtFont &font = qtFontFor(text.font);
    if (text.reverse) {
        painter.fillRect(text.box(), ink);
        painter.setPen(Qt::white);
    } else {
        painter.setPen(ink);
    }
    const QPointF baseline(text.topLeft.x(), text.topLeft.y() + font.ascent);
    if (!font.raw.isValid()) {
        painter.setFont(font.font);
        painter.drawText(baseline, text.text);
        return;
    }
    // A printer's resident font has no kerning or ligatures: one glyph a cell.
    QGlyphRun run;
    run.setRawFont(font.raw);
    const QList<quint32> glyphs = font.raw.glyphIndexesForString(text.text);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    for (qsizetype i = 0; i < glyphs.size(); ++i)
        positions.append(QPointF(double(i * text.font.cellWidth), 0));
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(baseline, run);
}
