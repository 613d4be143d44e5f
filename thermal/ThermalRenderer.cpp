#include "ThermalRenderer.h"

#include "Epl2Reader.h"
#include "PrinterFonts.h"
#include "ZplReader.h"

#include <QPainter>

PrinterLanguage detectLanguage(const QByteArray &bytes)
{
    return bytes.contains("^XA") || bytes.contains("^xa") ? PrinterLanguage::Zpl : PrinterLanguage::Epl2;
}

RenderedFile readCommandFile(const QByteArray &bytes, int dpi, PrinterMemory *memory)
{
    return detectLanguage(bytes) == PrinterLanguage::Zpl ? readZpl(bytes, dpi, memory) : readEpl2(bytes, dpi, memory);
}

void paintElements(QPainter &painter, const PrintImage &image, const QColor &ink, const QRect &within)
{
    const QTransform base = painter.transform();
    for (const PrintedElement &element : image.elements) {
        if (!within.isNull() && !within.intersects(element.bounds()))
            continue;
        painter.setTransform(element.placement * base);
        for (const QRect &rect : element.ink)
            painter.fillRect(rect, ink);
        for (const PrintedText &text : element.texts)
            paintPrintedText(painter, text, ink);
    }
    painter.setTransform(base);
}

QRect printArea(const PrintImage &image)
{
    // A width of 999 dots ("q999") is the EPL2 way of saying "the whole
    // head"; only what is drawn widens the picture beyond the label length.
    QRect area(QPoint(0, 0), image.declared.expandedTo(QSize(1, 1)));
    return area | image.inkBounds();
}

QImage paintPrintImage(const PrintImage &image, const QRect &area)
{
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.translate(-area.topLeft());
    paintElements(painter, image, Qt::black);
    return picture;
}
