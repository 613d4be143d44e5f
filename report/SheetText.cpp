#include "SheetText.h"

#include "ReportProject.h"

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

double alignedX(const QRectF &box, Qt::Alignment alignment, double lineWidth)
{
    if (alignment & Qt::AlignRight)
        return box.right() - lineWidth;
    if (alignment & Qt::AlignHCenter)
        return box.left() + (box.width() - lineWidth) / 2;
    return box.left();
}

} // namespace

void paintSheetText(QPainter &painter, const QRectF &box, const CellElement &element, const QString &text)
{
    if (text.isEmpty() || box.isEmpty())
        return;
    QTextLayout layout(element.wrap ? text : QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                       elementFont(element), painter.device());
    QTextOption option;
    option.setWrapMode(element.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);

    // Lay out only as many lines as the box holds whole.
    layout.beginLayout();
    double y = 0;
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(box.width());
        if (lines > 0 && y + line.height() > box.height())
            break;
        line.setPosition(QPointF(0, y));
        y += line.height();
        ++lines;
        if (!element.wrap)
            break;
    }
    layout.endLayout();

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
