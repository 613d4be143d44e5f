#include "BarcodePainter.h"

#include "BarcodeText.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

QRect ModuleFootprint(int x, int top, int bottom, int moduleWidth)
{
    // The corners may come in either order; the outline straddles the edges.
    const int y1 = std::min(top, bottom);
    const int y2 = std::max(top, bottom);
    const int before = (moduleWidth - 1) / 2;
    return QRect(x - before, y1 - before, moduleWidth, y2 - y1 + moduleWidth - 1);
}

void PaintBarcode(QPainter &painter, const BarcodePlan &plan, const BarcodeFrame &frame)
{
    painter.fillRect(QRect(0, 0, frame.clearWidth, frame.clearHeight), Qt::white);

    for (int k = 1; k <= int(plan.modules.size()); ++k) {
        const int bottom = plan.isLong(k) ? frame.altura + GuardExtension : frame.altura;
        const QColor colour = IsBarModule(plan.modules[k - 1]) ? Qt::black : Qt::white;
        painter.fillRect(ModuleFootprint(plan.moduleX(k), frame.superior, bottom, plan.moduleWidth), colour);
    }

    if (!frame.legenda)
        return;
    painter.setFont(frame.legendaFont);
    painter.setPen(Qt::black);
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    const int ascent = QFontMetrics(frame.legendaFont, painter.device()).ascent();
    for (const LegendPiece &piece : plan.legend)
        painter.drawText(QPoint(piece.x, frame.altura + ascent), piece.text);
}
