#include "SheetBarcode.h"

#include "BarcodePlan.h"
#include "BarcodeText.h"
#include "QuietZones.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

// Where the symbol lands: the left edge of module 1 and the module width.
struct Placement
{
    double x = 0;
    double module = 0;
    double xOf(double moduleOffset) const { return x + moduleOffset * module; }
};

Placement place(const QRectF &box, int modules, const QuietZone &quiet)
{
    const int total = quiet.left + modules + quiet.right;
    double module = box.width() / total;
    // Whole dots keep every bar and space true to its width; only a device too
    // coarse for one dot per module (a small preview) gets fractional modules.
    if (module >= 1.0)
        module = std::floor(module);
    return {box.left() + (box.width() - total * module) / 2 + quiet.left * module, module};
}

// A stretch of the legend line, in module offsets from module 1's left edge,
// and which way its text leans.
struct Span
{
    double from = 0;
    double to = 0;
    Qt::Alignment align = Qt::AlignHCenter;
};

// The EAN/UPC legend sits in the light stretches between the long guards and
// in the quiet zones beside them; every other legend is one line under the bars.
QList<Span> legendSpans(const BarcodePlan &plan, const QuietZone &quiet)
{
    const double n = plan.modules.size();
    if (plan.longModules.isEmpty())
        return {{0, n, Qt::AlignHCenter}};
    QList<Span> spans;
    spans.append({-double(quiet.left), 0, Qt::AlignRight});
    for (qsizetype i = 0; i + 1 < plan.longModules.size(); ++i)
        spans.append({double(plan.longModules[i].last), double(plan.longModules[i + 1].first - 1), Qt::AlignHCenter});
    spans.append({n, n + quiet.right, Qt::AlignLeft});
    return spans;
}

// The span a legend piece falls in, by where the plan puts it (module offsets).
const Span &spanFor(const QList<Span> &spans, int x)
{
    if (spans.size() == 1)
        return spans.first();
    if (x < 0)
        return spans.first();
    for (qsizetype i = 1; i + 1 < spans.size(); ++i) {
        if (x >= spans[i].from && x < spans[i].to)
            return spans[i];
    }
    return spans.last();
}

// The legend font: the size asked for, or one about nine modules tall; then
// made smaller until every piece fits its span and the line leaves the bars
// at least half the box.
QFont legendFont(const BarcodePlan &plan, const QList<Span> &spans, const Placement &at, const QRectF &box,
                 const BarcodeStyle &style, QPaintDevice *device)
{
    const double dpi = device->logicalDpiY();
    QFont font(style.fontFamily);
    font.setBold(style.bold);
    double pixels = style.fontPoints > 0 ? style.fontPoints * dpi / 72.0 : 9 * at.module;
    pixels = std::min(pixels, box.height() * 0.4);
    for (int attempt = 0; attempt < 40 && pixels > 1; ++attempt, pixels *= 0.92) {
        font.setPointSizeF(pixels * 72.0 / dpi);
        const QFontMetricsF metrics(font, device);
        bool fits = true;
        for (const LegendPiece &piece : plan.legend) {
            const Span &span = spanFor(spans, piece.x);
            if (metrics.horizontalAdvance(piece.text) > (span.to - span.from) * at.module)
                fits = false;
        }
        if (fits)
            break;
    }
    return font;
}

void paintBars(QPainter &painter, const BarcodePlan &plan, const Placement &at, double top, double bottom, double guardBottom)
{
    const QString &m = plan.modules;
    for (qsizetype k = 0; k < m.size();) {
        if (!IsBarModule(m[k])) {
            ++k;
            continue;
        }
        // One rectangle per run of dark modules of the same length.
        const bool isLong = plan.isLong(int(k) + 1);
        qsizetype end = k + 1;
        while (end < m.size() && IsBarModule(m[end]) && plan.isLong(int(end) + 1) == isLong)
            ++end;
        painter.fillRect(QRectF(at.xOf(k), top, (end - k) * at.module, (isLong ? guardBottom : bottom) - top), Qt::black);
        k = end;
    }
}

} // namespace

void paintSheetBarcode(QPainter &painter, const QRectF &box, TBarCodeTipo tipo, const QString &texto, const BarcodeStyle &style)
{
    const QuietZone quiet = quietZoneFor(tipo);
    // Planned with the first module at 0 and one unit per module, so every x the
    // plan gives is a module offset; the leading EAN/UPC digit goes left of the bars.
    const BarcodePlan plan = PlanBarcode(tipo, texto, BarcodeGeometry{0, -1, 1});
    const Placement at = place(box, int(plan.modules.size()), quiet);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    double barBottom = box.bottom();
    double guardBottom = box.bottom();
    if (style.legend) {
        const QList<Span> spans = legendSpans(plan, quiet);
        const QFont font = legendFont(plan, spans, at, box, style, painter.device());
        const QFontMetricsF metrics(font, painter.device());
        // Digits stand on the baseline and reach the cap height; the bars stop
        // one module above them, the guards halfway down the digits.
        const double baseline = box.bottom() - metrics.descent();
        const double digitTop = baseline - metrics.capHeight();
        barBottom = digitTop - at.module;
        guardBottom = digitTop + metrics.capHeight() / 2;
        painter.setFont(font);
        painter.setPen(Qt::black);
        const double gap = at.module;
        for (const LegendPiece &piece : plan.legend) {
            const Span &span = spanFor(spans, piece.x);
            const double from = at.xOf(span.from) + (span.align == Qt::AlignLeft ? gap : 0);
            const double to = at.xOf(span.to) - (span.align == Qt::AlignRight ? gap : 0);
            const double width = metrics.horizontalAdvance(piece.text);
            double x = from + (to - from - width) / 2;
            if (span.align == Qt::AlignLeft)
                x = from;
            else if (span.align == Qt::AlignRight)
                x = to - width;
            painter.drawText(QPointF(x, baseline), piece.text);
        }
    }
    paintBars(painter, plan, at, box.top(), barBottom, guardBottom);
    painter.restore();
}
