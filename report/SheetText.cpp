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

// Where the glyphs of a laid-out line put ink, the box's top-left at the
// layout's origin: the glyphs' own extent, not the line's spacing ("R$" in a
// box lower than its line pitch prints whole when its ink fits). Null for a
// blank line.
QRectF lineInk(const QTextLine &line, const QSizeF &box, Qt::Alignment alignment)
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
    return ink.isNull() ? ink : ink.translated(alignedX(QRectF(QPointF(), box), alignment, line.naturalTextWidth()), 0);
}

// Whether a line's ink reaches out of the box by more than two device pixels
// (the glyphs' boxes come rounded out to whole pixels from a baseline that is
// not on one, and antialiasing blurs the last one anyway): where the shown
// part of a cut line ends.
bool inkLeavesBox(const QTextLine &line, const QSizeF &box, Qt::Alignment alignment)
{
    const QRectF ink = lineInk(line, box, alignment);
    const double slack = 2.0;
    return !ink.isNull() &&
           (ink.left() < -slack || ink.top() < -slack || ink.right() > box.width() + slack || ink.bottom() > box.height() + slack);
}

// Whether the glyphs' boxes keep clear of where more room would show more
// ink (below the box; on one line, the side its alignment grows to) by
// three device pixels, more than a glyph's drawing ever passes its box: such
// a text needs no drawing to know it shows whole.
bool inkClearOfTheClip(const QTextLayout &layout, int lines, const QSizeF &box, const CellElement &element)
{
    const double clear = 3.0;
    for (int i = 0; i < lines; ++i) {
        const QRectF ink = lineInk(layout.lineAt(i), box, element.alignment);
        if (ink.isNull())
            continue;
        if (ink.bottom() > box.height() - clear)
            return false;
        if (element.wrap)
            continue;
        const bool growsLeft = element.alignment & (Qt::AlignRight | Qt::AlignHCenter);
        const bool growsRight = !(element.alignment & Qt::AlignRight);
        if ((growsLeft && ink.left() < clear) || (growsRight && ink.right() > box.width() - clear))
            return false;
    }
    return true;
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
    return lines;
}

// Draws the laid-out lines as paintSheetText does, its clip or none.
void drawLines(QPainter &painter, const QTextLayout &layout, int lines, const QRectF &box, Qt::Alignment alignment)
{
    for (int i = 0; i < lines; ++i) {
        const QTextLine line = layout.lineAt(i);
        line.draw(&painter, QPointF(alignedX(box, alignment, line.naturalTextWidth()), box.top()));
    }
}

// Whether the box's clip takes ink off the lines where more room would show
// it: below the box, and on one line on the side its alignment grows to. The
// lines are drawn twice at the device's resolution, clipped to the box and to
// the box with that room, and compared pixel by pixel as a reader compares a
// label with its text whole. The glyphs drawn are the render's own, from
// whichever font fontconfig put in the asked one's place: no table of metrics
// can disagree with the picture. A pixel counts when it darkens by a quarter;
// antialiasing's faint edge does not. (The box's top and far side cut the
// same on any box this text would be given: an accent over a capital that
// reaches past the top is left to the preview.)
bool clipTakesInk(const QTextLayout &layout, int lines, const QRectF &box, const CellElement &element, const QPaintDevice *device)
{
    const double margin = std::max(box.height(), 4.0);
    QRectF roomy = box.adjusted(0, 0, 0, margin);
    if (!element.wrap) {
        if (element.alignment & Qt::AlignRight)
            roomy.setLeft(roomy.left() - margin);
        else if (element.alignment & Qt::AlignHCenter)
            roomy.adjust(-margin, 0, margin, 0);
        else
            roomy.setRight(roomy.right() + margin);
    }
    const QRect pixels = roomy.adjusted(-margin, -margin, margin, margin).toAlignedRect();
    const auto draw = [&](const QRectF &clip) {
        QImage image(pixels.size(), QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(device->logicalDpiX() / 0.0254));
        image.setDotsPerMeterY(qRound(device->logicalDpiY() / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(-pixels.topLeft());
        painter.setPen(Qt::black);
        painter.setClipRect(clip, Qt::IntersectClip);
        drawLines(painter, layout, lines, box, element.alignment);
        painter.end();
        return image.convertToFormat(QImage::Format_Grayscale8);
    };
    const QImage whole = draw(roomy);
    const QImage clipped = draw(box);
    for (int y = 0; y < whole.height(); ++y) {
        const uchar *a = whole.constScanLine(y);
        const uchar *b = clipped.constScanLine(y);
        for (int x = 0; x < whole.width(); ++x) {
            if (std::abs(a[x] - b[x]) > 64)
                return true;
        }
    }
    return false;
}

// The text of the lines laid out, a line the box cuts up to the box's edge.
QString shownText(const QTextLayout &layout, int lines, const QRectF &box, Qt::Alignment alignment)
{
    QStringList shown;
    for (int i = 0; i < lines; ++i) {
        const QTextLine line = layout.lineAt(i);
        int end = line.textStart() + line.textLength();
        if (inkLeavesBox(line, box.size(), alignment)) {
            const double x = alignedX(QRectF(QPointF(), box.size()), alignment, line.naturalTextWidth());
            end = std::min(end, line.xToCursor(box.width() - x, QTextLine::CursorOnCharacter));
            shown << layout.text().mid(line.textStart(), end - line.textStart());
            break;
        }
        shown << layout.text().mid(line.textStart(), end - line.textStart());
    }
    return shown.join(QLatin1Char(' ')).simplified();
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
    drawLines(painter, layout, lines, box, element.alignment);
    painter.restore();
}

bool sheetTextIsCut(const QRectF &box, const CellElement &element, const QString &text, QPaintDevice *device, QString *shown)
{
    if (text.isEmpty())
        return false;
    const QFont font = elementFont(element);
    QTextLayout layout(laidOutText(element, text), font, device);
    bool cut = false;
    const int lines = layOutLines(layout, box, element, linePitch(font, device), &cut);
    cut = cut || (!inkClearOfTheClip(layout, lines, box.size(), element) && clipTakesInk(layout, lines, box, element, device));
    if (shown)
        *shown = shownText(layout, lines, box, element.alignment);
    return cut;
}
