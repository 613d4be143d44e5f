#include "QuickRepPage.h"

#include "SheetLayout.h"

QuickRepPage::QuickRepPage(const SheetLayout &layout, QObject *parent)
    : QObject(parent), m_paperSize(layout.paper), m_columns(layout.columns)
{
    setObjectName(QStringLiteral("QuickRep1"));
    const double mm[ValueCount] = {layout.bottomMm, layout.paperLengthMm, layout.topMm, layout.paperWidthMm,
                                   layout.leftMm,   layout.rightMm,       layout.columnSpaceMm};
    for (int i = 0; i < ValueCount; ++i)
        m_tenths[i] = mm[i] * 10;
}

double QuickRepPage::storedValue(int index) const
{
    return index >= 0 && index < ValueCount ? m_tenths[index] : 0;
}

double QuickRepPage::pageValue(int index) const
{
    return storedValue(index) / 10;
}

void QuickRepPage::setPageValue(int index, double millimetres)
{
    if (index < 0 || index >= ValueCount)
        return;
    if ((index == PaperLength || index == PaperWidth) && !customPaper())
        return;
    m_tenths[index] = millimetres * 10;
}
