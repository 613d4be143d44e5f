#include "SheetText.h"

#include "ReportProject.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace {

QFont elementFont(const CellElement &element)
{
    QFont font(element.fontFamily);
    font.setPointSizeF(element.fontSize);
    font.setBold(element.bold);
    font.setItalic(element.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Lines stand 1.15 em apart, as Arial sets them on the suite's workstations,
// whatever font a machine puts in its place (Linux often has one whose own
// line spacing is a fifth taller) and however a coarse screen rounds a small
// font's metrics: the same box holds the same lines in the preview, on paper
// and on every machine. The baseline divides the line as the font's design does.
struct LinePitch
{
    double height = 0;   // device units from one line's top to the next one's
    double baseline = 0; // from a line's top to its baseline
};

LinePitch linePitch(const QFont &font, const QPaintDevice *device)
{
    QFont reference = font;
    reference.setPixelSize(1000);
    const QFontMetricsF design(reference);
    LinePitch pitch;
    pitch.height = 1.15 * font.pointSizeF() * device->logicalDpiY() / 72.0;
    pitch.baseline = pitch.height * design.ascent() / (design.ascent() + design.descent());
    return pitch;
}

double alignedX(const QRectF &box, Qt::Alignment alignment, double lineWidth)
{
    if (alignment & Qt::AlignRight)
        return box.right() - lineWidth;
    if (alignment & Qt::AlignHCenter)
        return box.left() + (box.width() - lineWidth) / 2;
    return box.left();
}

// Whether the glyphs of a laid-out line reach out of the box (its top-left
// at the layout's origin), where the clip cuts them off. The glyphs' own
// extent counts, not the line's spacing: "R$" in a box lower than its line
// pitch prints whole when its ink fits. Two device pixels of slack: the
// glyphs' boxes come rounded out to whole pixels from a baseline that is not
// on one, and antialiasing blurs the last one anyway.
bool inkLeavesBox(const QTextLine &line, const QSizeF &box, Qt::Alignment alignment)
{
    QRectF ink;
    for (const QGlyphRun &run : line.glyphRuns()) {
        const QRawFont font = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QRectF glyph = font.boundingRect(glyphs[i]);
            if (!glyph.isEmpty())
                ink |= glyph.translated(positions[i]);
        }
    }
    if (ink.isNull())
        return false;
    ink.translate(alignedX(QRectF(QPointF(), box), alignment, line.naturalTextWidth()), 0);
    const double slack = 2.0;
    return ink.left() < -slack || ink.top() < -slack || ink.right() > box.width() + slack || ink.bottom() > box.height() + slack;
}

// Lays out as many lines as the box holds whole; `cut` tells whether some of
// the text did not find room (a line left over, or one wider than the box).
int layOutLines(QTextLayout &layout, const QRectF &box, const CellElement &element, const LinePitch &pitch, bool *cut)
{
    QTextOption option;
    option.setWrapMode(element.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);

    layout.beginLayout();
    double y = 0;
    int lines = 0;
    *cut = false;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        if ((lines > 0 && y + pitch.height > box.height()) || (!element.wrap && lines > 0)) {
            *cut = true;
            break;
        }
        // A line draws its baseline at its position plus its ascent.
        line.setPosition(QPointF(0, y + pitch.baseline - line.ascent()));
        y += pitch.height;
        ++lines;
        if (!element.wrap)
            break;
    }
    layout.endLayout();
    if (!element.wrap && layout.lineCount() == 1 && layout.lineAt(0).textLength() < layout.text().size())
        *cut = true;
    for (int i = 0; i < lines && !*cut; ++i)
        *cut = inkLeavesBox(layout.lineAt(i), box.size(), element.alignment);
    return lines;
}

QString laidOutText(const CellElement &element, const QString &text)
{
    return element.wrap ? text : QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

void paintSheetText(QPainter &painter, const QRectF &box, const CellElement &element, const QString &text)
{
    if (text.isEmpty() || box.isEmpty())
        return;
    const QFont font = elementFont(element);
    QTextLayout layout(laidOutText(element, text), font, painter.device());
    const LinePitch pitch = linePitch(font, painter.device());
    bool cut = false;
    const int lines = layOutLines(layout, box, element, pitch, &cut);

    painter.save();
    painter.setPen(Qt::black);
    painter.setClipRect(box, Qt::IntersectClip);
    for (int i = 0; i < lines; ++i) {
        const QTextLine line = layout.lineAt(i);
        const double x = alignedX(box, element.alignment, line.naturalTextWidth());
        line.draw(&painter, QPointF(x, box.top()));
    }
    painter.restore();
}

bool sheetTextIsCut(const QRectF &box, const CellElement &element, const QString &text, QPaintDevice *device)
{
    if (text.isEmpty())
        return false;
    const QFont font = elementFont(element);
    QTextLayout layout(laidOutText(element, text), font, device);
    bool cut = false;
    layOutLines(layout, box, element, linePitch(font, device), &cut);
    return cut;
}
