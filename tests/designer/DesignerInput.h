#pragma once

#include "LabelCanvas.h"

#include <QListWidget>
#include <QtTest>

// The mouse on the designer's canvas as a hand moves it.
inline QPoint centreOf(LabelCanvas *canvas, int element)
{
    return canvas->elementOnViewport(element).center();
}

// A drag in several steps, as a hand makes it.
inline void drag(QWidget *viewport, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mousePress(viewport, Qt::LeftButton, modifiers, from);
    for (int step = 1; step <= 5; ++step)
        QTest::mouseMove(viewport, from + (to - from) * step / 5);
    QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, to);
}

// The lines of a list as the user reads them.
inline QStringList itemsOf(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}
