#include "SheetShapes.h"

#include "ReportProject.h"

#include <QPainter>

#include <cmath>

namespace {

QRect pixelRect(const QRectF &box)
{
    const QPoint topLeft(int(std::lround(box.left())), int(std::lround(box.top())));
    const QPoint bottomRight(int(std::lround(box.right())), int(std::lround(box.bottom())));
    return QRect(topLeft, QSize(std::max(1, bottomRight.x() - topLeft.x()), std::max(1, bottomRight.y() - topLeft.y())));
}

} // namespace

void paintSheetRule(QPainter &painter, const QRectF &box, const CellElement &element, double pixelsPerMm)
{
    const QRect r = pixelRect(box);
    if (element.kind == CellElement::Kind::Line) {
        painter.fillRect(r, Qt::black);
        return;
    }
    const int t = std::max(1, int(std::lround(element.thickness * pixelsPerMm)));
    painter.fillRect(QRect(r.left(), r.top(), r.width(), t), Qt::black);
    painter.fillRect(QRect(r.left(), r.top() + r.height() - t, r.width(), t), Qt::black);
    painter.fillRect(QRect(r.left(), r.top(), t, r.height()), Qt::black);
    painter.fillRect(QRect(r.left() + r.width() - t, r.top(), t, r.height()), Qt::black);
}

int paintSheetMatrix(QPainter &painter, const QRectF &box, const CellElement &element, const QString &text, double pixelsPerMm)
{
    const MatrixSymbology symbology = element.kind == CellElement::Kind::DataMatrix ? MatrixSymbology::DataMatrix : MatrixSymbology::QrCode;
    const std::optional<MatrixCode> code = encodeMatrixCode(symbology, text, element.qrLevel);
    if (!code)
        return 0;
    const QRect r = pixelRect(box);
    const int asked = element.moduleMm > 0 ? std::max(1, int(std::lround(element.moduleMm * pixelsPerMm))) : 0;
    const int module = matrixModule(*code, symbology, r.width(), r.height(), asked);
    if (module == 0)
        return 0;
    const QPoint corner = r.topLeft() + QPoint((r.width() - code->columns * module) / 2, (r.height() - code->rows * module) / 2);
    for (int y = 0; y < code->rows; ++y) {
        for (int x = 0; x < code->columns; ++x) {
            if (code->at(x, y))
                painter.fillRect(QRect(corner + QPoint(x * module, y * module), QSize(module, module)), Qt::black);
        }
    }
    return module;
}

void paintSheetImage(QPainter &painter, const QRectF &box, const QImage &picture)
{
    if (picture.isNull())
        return;
    const QRect r = pixelRect(box);
    const QImage fitted = picture.scaled(r.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(r.topLeft() + QPoint((r.width() - fitted.width()) / 2, (r.height() - fitted.height()) / 2), fitted);
}

void paintTurned(QPainter &painter, const QRectF &box, int rotation, const std::function<void(const QRectF &)> &paint)
{
    if (rotation % 360 == 0) {
        paint(box);
        return;
    }
    const QSizeF size = rotation % 180 ? box.size().transposed() : box.size();
    painter.save();
    painter.translate(box.center());
    painter.rotate(rotation);
    paint(QRectF(QPointF(-size.width() / 2, -size.height() / 2), size));
    painter.restore();
}
