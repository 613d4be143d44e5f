#include "Ruler.h"

#include "LabelCanvas.h"

#include <QPainter>

#include <cmath>

Ruler::Ruler(Qt::Orientation orientation, LabelCanvas *canvas, QWidget *parent)
    : QWidget(parent), m_orientation(orientation), m_canvas(canvas)
{
    setObjectName(orientation == Qt::Horizontal ? QStringLiteral("ReguaHorizontal") : QStringLiteral("ReguaVertical"));
    if (orientation == Qt::Horizontal)
        setFixedHeight(sizeHint().height());
    else
        setFixedWidth(sizeHint().width());
    connect(canvas, &LabelCanvas::viewMoved, this, qOverload<>(&QWidget::update));
    connect(canvas, &LabelCanvas::pointerMoved, this, [this](const QPointF &mm) {
        m_pointer = m_orientation == Qt::Horizontal ? mm.x() : mm.y();
        update();
    });
}

QSize Ruler::sizeHint() const
{
    return QSize(22, 22);
}

void Ruler::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(240, 240, 240));
    const bool across = m_orientation == Qt::Horizontal;
    const QWidget *view = m_canvas->viewport();
    // Screen position (in this ruler) of a millimetre on the canvas.
    const QPoint origin = view->mapTo(parentWidget(), QPoint(0, 0)) - mapTo(parentWidget(), QPoint(0, 0));
    const auto at = [&](double mm) {
        const QPoint p = m_canvas->mapFromScene(across ? QPointF(mm, 0) : QPointF(0, mm));
        return across ? p.x() + origin.x() : p.y() + origin.y();
    };
    const double perMm = m_canvas->pixelsPerMm();
    const int numbered = perMm >= 40 ? 1 : perMm >= 8 ? 5 : 10;
    const double first = m_canvas->mapToScene(0, 0).x() * across + m_canvas->mapToScene(0, 0).y() * !across;
    const double span = (across ? width() : height()) / perMm;
    painter.setPen(QColor(90, 90, 90));
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    const int side = across ? height() : width();
    for (int mm = int(std::floor(first)) - 1; mm <= int(std::ceil(first + span)) + 1; ++mm) {
        const int pos = at(mm);
        if (perMm < 3 && mm % 5)
            continue;
        const int tick = mm % numbered == 0 ? side / 2 : mm % 5 == 0 ? side / 3 : side / 5;
        if (across)
            painter.drawLine(pos, side - tick, pos, side);
        else
            painter.drawLine(side - tick, pos, side, pos);
        if (mm % numbered == 0) {
            if (across)
                painter.drawText(pos + 2, 10, QString::number(mm));
            else
                painter.drawText(1, pos + 10, QString::number(mm));
        }
    }
    if (m_pointer > -1e8) {
        painter.setPen(QColor(220, 0, 0));
        const int pos = at(m_pointer);
        if (across)
            painter.drawLine(pos, 0, pos, side);
        else
            painter.drawLine(0, pos, side, pos);
    }
}
