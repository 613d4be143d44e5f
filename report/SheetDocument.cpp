#include "SheetDocument.h"

#include "BrLocale.h"
#include "ProjectStatement.h"
#include "SheetBarcode.h"
#include "SheetShapes.h"
#include "SheetText.h"
#include "DrawnElements.h"

#include <QPaintDevice>
#include <QPainter>

namespace {

QRectF scaled(const QRectF &mm, double x, double y)
{
    return QRectF(mm.left() * x, mm.top() * y, mm.width() * x, mm.height() * y);
}

} // namespace

SheetDocument::SheetDocument(const SheetReport &report, const QList<LabelRecord> &rows, const QPointF &offset)
    : m_report(report), m_rows(rows), m_offset(offset), m_printDay(QDate::currentDate())
{
    // Read once for every label of the run.
    for (int i = 0; i < m_report.elements.size(); ++i) {
        if (m_report.elements[i].kind == CellElement::Kind::Image)
            m_pictures.insert(i, loadElementImage(m_report, m_report.elements[i]));
    }
}

QString SheetDocument::textOf(const CellElement &element, const LabelRecord &record, const QDate &printDay)
{
    switch (element.kind) {
    case CellElement::Kind::Text:
        return element.value;
    case CellElement::Kind::Date:
        return dateText(element, printDay);
    case CellElement::Kind::Line:
    case CellElement::Kind::Frame:
    case CellElement::Kind::Image:
        return {};
    case CellElement::Kind::QrCode:
    case CellElement::Kind::DataMatrix: {
        // A product without the field gets no code rather than one of the fixed text alone.
        QString text;
        for (const ValuePart &part : element.parts) {
            const QString piece = part.field ? record.value(part.text).display : part.text;
            if (part.field && piece.trimmed().isEmpty())
                return {};
            text += piece;
        }
        return text;
    }
    default:
        break;
    }
    const LabelValue value = record.value(element.value);
    if (element.kind == CellElement::Kind::Price) {
        double ignored = 0;
        if (!parseProjectNumber(value.plain, &ignored))
            return value.display;
        return BrLocale::formatDecimalText(value.plain, element.priceFormat);
    }
    return value.display;
}

void SheetDocument::paintPage(QPainter &painter, int page) const
{
    const QPaintDevice *device = painter.device();
    const double x = device->logicalDpiX() / 25.4;
    const double y = device->logicalDpiY() / 25.4;
    const int perPage = m_report.grid.cellsPerPage();
    const int first = page * perPage;
    const int last = std::min(first + perPage, labelCount());
    for (int position = first; position < last; ++position) {
        const LabelRecord &record = m_rows[position];
        if (record.isBlank())
            continue;
        paintCell(painter, m_report.grid.cellRect(position).translated(m_offset), record, x, y);
    }
}

QImage SheetDocument::pageImage(int page, double dpi) const
{
    const QSizeF paper = m_report.paperSize();
    QImage image(qRound(paper.width() / 25.4 * dpi), qRound(paper.height() / 25.4 * dpi), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintPage(painter, page);
    return image;
}

void SheetDocument::paintCell(QPainter &painter, const QRectF &cell, const LabelRecord &record, double dotsPerMmX,
                              double dotsPerMmY) const
{
    for (const CellElement &element : m_report.elements) {
        const QRectF box = scaled(element.box.translated(cell.topLeft()), dotsPerMmX, dotsPerMmY);
        const QString text = textOf(element, record, m_printDay);
        if (element.kind == CellElement::Kind::Line || element.kind == CellElement::Kind::Frame) {
            paintSheetRule(painter, box, element, dotsPerMmX);
        } else if (element.kind == CellElement::Kind::Image) {
            paintSheetImage(painter, box, m_pictures.value(&element - m_report.elements.constData()));
        } else if (element.isMatrixCode()) {
            if (!text.isEmpty())
                paintSheetMatrix(painter, box, element, text, dotsPerMmX);
        } else if (element.kind != CellElement::Kind::Barcode) {
            paintTurned(painter, box, element.rotation, [&](const QRectF &laid) { paintSheetText(painter, laid, element, text); });
        } else if (!text.trimmed().isEmpty()) {
            // A product without an EAN gets no barcode rather than one of zeros
            // that would scan as somebody else's product.
            paintTurned(painter, box, element.rotation, [&](const QRectF &laid) {
                paintSheetBarcode(painter, laid, element.symbology, text, {element.fontFamily, element.fontSize, element.bold, element.legend});
            });
        }
    }
}
