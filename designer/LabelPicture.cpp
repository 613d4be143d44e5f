#include "LabelPicture.h"

#include "LabelStock.h"
#include "SheetDocument.h"
#include "ThermalReportFiles.h"
#include "ThermalRenderer.h"

#include <QPainter>

#include <cmath>

LabelPicture sheetLabelPicture(const SheetReport &report, const LabelRecord &record, double dpi)
{
    const double perMm = dpi / 25.4;
    const QRectF cell = report.grid.cellRect(0);
    // Whole pixels of the page, so that the cell's pixels are the page's own.
    const QRect pixels(QPoint(int(std::floor(cell.left() * perMm)), int(std::floor(cell.top() * perMm))),
                       QPoint(int(std::ceil(cell.right() * perMm)) - 1, int(std::ceil(cell.bottom() * perMm)) - 1));
    LabelPicture picture;
    picture.image = QImage(pixels.size(), QImage::Format_RGB32);
    picture.image.setDotsPerMeterX(qRound(dpi / 0.0254));
    picture.image.setDotsPerMeterY(qRound(dpi / 0.0254));
    picture.image.fill(Qt::white);
    {
        QPainter painter(&picture.image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(-pixels.topLeft());
        SheetDocument(report, {record}, QPointF()).paintPage(painter, 0);
    }
    picture.rect = QRectF(pixels.left() / perMm - cell.left(), pixels.top() / perMm - cell.top(), pixels.width() / perMm,
                          pixels.height() / perMm);
    return picture;
}

LabelPicture thermalLabelPicture(const SheetReport &report, const QList<LabelRecord> &records)
{
    const int dpi = report.thermal ? report.thermal->dpi : 203;
    const int across = report.thermal ? report.thermal->across : 1;
    LabelPicture picture;
    picture.printerDots = true;
    picture.files = thermalCommandFiles(report, records.mid(0, across), QPointF());
    const LabelStock stock = stockOf(report);
    if (!picture.files.isEmpty()) {
        const RenderedFile rendered = readCommandFile(picture.files.first(), dpi);
        if (!rendered.images.isEmpty())
            picture.printed = rendered.images.first();
    }
    picture.image = paintOnStock(picture.printed, stock);
    // paintOnStock frames what it shows by four dots around the labels and the print.
    QRect labels;
    for (int i = 0; i < stock.columnStarts.size(); ++i)
        labels |= stock.labelRect(i);
    const QRect area = (printArea(picture.printed) | labels).adjusted(-4, -4, 4, 4);
    const double perMm = stock.dotsPerMm;
    picture.rect = QRectF(area.left() / perMm, area.top() / perMm, area.width() / perMm, area.height() / perMm);
    return picture;
}

LabelPicture labelPicture(const SheetReport &report, const QList<LabelRecord> &records, double dpi)
{
    if (report.thermal)
        return thermalLabelPicture(report, records);
    return sheetLabelPicture(report, records.value(0), dpi);
}
