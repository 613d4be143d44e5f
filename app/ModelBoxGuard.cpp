#include "ModelBoxGuard.h"

#include <QComboBox>
#include <QKeyEvent>

ModelBoxGuard::ModelBoxGuard(QComboBox *box) : QObject(box)
{
    box->installEventFilter(this);
}

bool ModelBoxGuard::keepsItsChoice(const QEvent *event)
{
    if (event->type() == QEvent::Wheel)
        return true;
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->modifiers() & Qt::AltModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    case Qt::Key_Space:
        return false;
    default:
        return !key->text().isEmpty() && key->text().at(0).isPrint();
    }
}

bool ModelBoxGuard::eventFilter(QObject *watched, QEvent *event)
{
    return keepsItsChoice(event) || QObject::eventFilter(watched, event);
}
