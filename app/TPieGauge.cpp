#include "TPieGauge.h"

#include <QPainter>

TPieGauge::TPieGauge(QWidget *parent) : QWidget(parent)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 128)); // navy
    setPalette(p);
}

int TPieGauge::percentDone() const
{
    if (m_maximum <= 0)
        return 0;
    return int(qint64(m_value) * 100 / m_maximum);
}

void TPieGauge::setMaximum(int maximum)
{
    m_maximum = maximum;
    update();
}

void TPieGauge::setValue(int value)
{
    m_value = value;
    update();
}

void TPieGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1, 1, -1, -1);
    const QColor ink = palette().color(QPalette::WindowText);
    painter.setPen(QPen(ink, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(area);
    const double fraction = m_maximum <= 0 ? 0.0 : qBound(0.0, double(m_value) / m_maximum, 1.0);
    if (fraction > 0) {
        painter.setBrush(ink);
        // Qt angles are sixteenths of a degree, counter-clockwise from three o'clock:
        // start at twelve and fill clockwise.
        painter.drawPie(area, 90 * 16, -int(fraction * 360 * 16));
    }
    const QString text = QString::number(percentDone()) + QLatin1Char('%');
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    const QRect box = painter.fontMetrics().boundingRect(text).adjusted(-3, -1, 3, 1);
    QRect centred = box;
    centred.moveCenter(rect().center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRect(centred);
    painter.setPen(ink);
    painter.drawText(centred, Qt::AlignCenter, text);
}
