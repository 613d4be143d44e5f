#include "FixedLayouts.h"

#include "FixedLayoutWindow.h"
#include "SheetLayout.h"

QList<QWidget *> createFixedLayoutWindows(QWidget *owner)
{
    QList<QWidget *> windows;
    for (const SheetLayout &layout : fixedSheetLayouts())
        windows << new FixedLayoutWindow(layout, owner);
    return windows;
}

QuickRepPage *relat2Page(const QList<QWidget *> &layoutWindows)
{
    for (QWidget *window : layoutWindows)
        if (auto *layoutWindow = qobject_cast<FixedLayoutWindow *>(window))
            if (layoutWindow->layout().windowClass == QLatin1String("TFormRelat2"))
                return layoutWindow->QuickRep1();
    return nullptr;
}
