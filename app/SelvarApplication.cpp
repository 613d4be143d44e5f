#include "SelvarApplication.h"

#include "Guarded.h"

bool SelvarApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
