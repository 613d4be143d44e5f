#pragma once

#include <QWidget>

class LabelCanvas;

// A ruler in millimetres along one side of the canvas: it follows the zoom
// and the scrolling, numbers every 10 mm (every 5 or 1 mm when zoomed in)
// and marks where the pointer is.
class Ruler : public QWidget
{
    Q_OBJECT
public:
    Ruler(Qt::Orientation orientation, LabelCanvas *canvas, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    double pointer() const { return m_pointer; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::Orientation m_orientation;
    LabelCanvas *m_canvas;
    double m_pointer = -1e9; // mm; none yet
};
