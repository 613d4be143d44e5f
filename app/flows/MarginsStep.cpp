#include "MarginsStep.h"

#include "FixedLayouts.h"
#include "MarginsFile.h"

void stepMargins(const QList<QWidget *> &layoutWindows)
{
    if (QuickRepPage *page = relat2Page(layoutWindows))
        MarginsFile::step(*page);
}
