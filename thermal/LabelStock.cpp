#include "LabelStock.h"

#include "ThermalRenderer.h"

#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

QString elementName(PrintedElement::Kind kind)
{
    switch (kind) {
    case PrintedElement::Kind::Text:
        return QStringLiteral("Texto");
    case PrintedElement::Kind::Barcode:
        return QStringLiteral("Código de barras");
    case PrintedElement::Kind::Line:
        return QStringLiteral("Linha");
    case PrintedElement::Kind::Box:
        return QStringLiteral("Caixa");
    case PrintedElement::Kind::MatrixCode:
        return QStringLiteral("Código 2D");
    case PrintedElement::Kind::Graphic:
        return QStringLiteral("Gráfico");
    }
    return {};
}

QString millimetres(int dots, double dotsPerMm)
{
    return QString::number(dots / dotsPerMm, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

int columnOf(const QRect &bounds, const LabelStock &stock)
{
    int column = 0;
    for (int i = 0; i < stock.columnStarts.size(); ++i) {
        if (stock.columnStarts[i] <= bounds.left())
            column = i;
    }
    return column;
}

// How far a rectangle reaches past the label on its worst side, in dots.
int overhang(const QRect &r, const QRect &label)
{
    return std::max({label.left() - r.left(), r.right() - label.right(), label.top() - r.top(), r.bottom() - label.bottom(), 0});
}

} // namespace

LabelStock LabelStock::fromMillimetres(QSizeF labelMm, const QList<int> &columnStarts, int dpi)
{
    LabelStock stock;
    stock.dotsPerMm = ::dotsPerMm(dpi);
    stock.label = QSize(int(std::lround(labelMm.width() * stock.dotsPerMm)), int(std::lround(labelMm.height() * stock.dotsPerMm)));
    stock.columnStarts = columnStarts;
    return stock;
}

std::optional<QSizeF> labelSizeFromDescription(const QString &description)
{
    static const QRegularExpression size(QStringLiteral("(\\d+(?:[.,]\\d+)?)\\s*[xX×]\\s*(\\d+(?:[.,]\\d+)?)"));
    const QRegularExpressionMatch m = size.match(description);
    if (!m.hasMatch())
        return std::nullopt;
    const auto cm = [](QString text) { return text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(); };
    return QSizeF(cm(m.captured(1)) * 10.0, cm(m.captured(2)) * 10.0);
}

QList<int> columnStartsOf(const PrintImage &image, int labelWidth)
{
    QList<int> lefts;
    for (const PrintedElement &e : image.elements)
        lefts.append(e.bounds().left());
    std::sort(lefts.begin(), lefts.end());
    QList<int> starts;
    for (const int left : lefts) {
        if (starts.isEmpty() || left >= starts.last() + labelWidth)
            starts.append(left);
    }
    return starts;
}

QList<StockNote> checkAgainstStock(const PrintImage &image, const LabelStock &stock)
{
    QList<StockNote> notes;
    if (stock.columnStarts.isEmpty())
        return notes;
    for (int i = 0; i < image.elements.size(); ++i) {
        const PrintedElement &e = image.elements[i];
        const QRect bounds = e.bounds();
        const int column = columnOf(bounds, stock);
        const QRect label = stock.labelRect(column);
        StockNote note;
        note.element = i;
        note.column = column + 1;
        if (const int beyond = overhang(bounds, label); beyond > 0) {
            note.outside = true;
            note.message = QStringLiteral("%1 %2 mm além da etiqueta na coluna %3")
                               .arg(elementName(e.kind), millimetres(beyond, stock.dotsPerMm))
                               .arg(note.column);
        } else if (e.symbology) {
            const QRect quiet = e.quietBounds();
            const int missing = std::max(label.left() - quiet.left(), quiet.right() - label.right());
            if (missing <= 0)
                continue;
            note.message = QStringLiteral("Código de barras sem a zona de silêncio: faltam %1 mm na coluna %2")
                               .arg(millimetres(missing, stock.dotsPerMm))
                               .arg(note.column);
        } else {
            continue;
        }
        notes.append(note);
    }
    return notes;
}

QImage paintOnStock(const PrintImage &image, const LabelStock &stock)
{
    QRect labels;
    for (int i = 0; i < stock.columnStarts.size(); ++i)
        labels |= stock.labelRect(i);
    const QRect area = (printArea(image) | labels).adjusted(-4, -4, 4, 4);
    QImage picture(area.size(), QImage::Format_RGB32);
    // The bare liner shaded, the labels white on it.
    picture.fill(QColor(225, 225, 225));
    QPainter painter(&picture);
    painter.translate(-area.topLeft());
    for (int i = 0; i < stock.columnStarts.size(); ++i)
        painter.fillRect(stock.labelRect(i), Qt::white);

    // What reaches off a label goes down in red, then every label paints its
    // part in black over it: rectangular clips keep this as fast as plain
    // painting, which matters for a job of hundreds of files.
    PrintImage off;
    for (const StockNote &note : checkAgainstStock(image, stock)) {
        if (note.outside)
            off.elements.append(image.elements[note.element]);
    }
    paintElements(painter, off, QColor(220, 0, 0));
    for (int i = 0; i < stock.columnStarts.size(); ++i) {
        painter.setClipRect(stock.labelRect(i));
        paintElements(painter, image, Qt::black, stock.labelRect(i));
    }
    painter.setClipping(false);
    painter.setPen(QColor(0, 90, 200));
    for (int i = 0; i < stock.columnStarts.size(); ++i)
        painter.drawRect(stock.labelRect(i).adjusted(0, 0, -1, -1));
    return picture;
}
