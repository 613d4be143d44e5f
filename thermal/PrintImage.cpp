#include "PrintImage.h"

QRect PrintedElement::localBounds() const
{
    QRect r;
    for (const QRect &rect : ink)
        r |= rect;
    for (const PrintedText &text : texts)
        r |= text.box();
    // A picture's light edges are part of it: it is placed by its corner.
    if (kind == Kind::MatrixCode || kind == Kind::Graphic)
        r |= bars;
    return r;
}

QRect PrintImage::inkBounds() const
{
    QRect r;
    for (const PrintedElement &e : elements)
        r |= e.bounds();
    return r;
}

double dotsPerMm(int dpi)
{
    return dpi >= 300 ? 12.0 : 8.0;
}

void placeElement(PrintedElement &element, QPoint origin, int quarterTurns)
{
    QTransform turn;
    turn.rotate(90.0 * quarterTurns);
    const QRect turned = turn.mapRect(element.localBounds());
    element.placement = turn * QTransform::fromTranslate(origin.x() - turned.left(), origin.y() - turned.top());
}

void turnElementAbout(PrintedElement &element, QPoint point, int quarterTurns)
{
    const QPoint corner = element.localBounds().topLeft();
    QTransform turn;
    turn.rotate(90.0 * quarterTurns);
    element.placement = QTransform::fromTranslate(-corner.x(), -corner.y()) * turn * QTransform::fromTranslate(point.x(), point.y());
}
