#include "SheetGrid.h"

int SheetGrid::pageCount(int labels) const
{
    if (labels <= 0)
        return 1;
    return (labels + cellsPerPage() - 1) / cellsPerPage();
}

QRectF SheetGrid::cellRect(int position) const
{
    const int onPage = position % cellsPerPage();
    const int column = order == Order::AcrossThenDown ? onPage % columns : onPage / rows;
    const int row = order == Order::AcrossThenDown ? onPage / columns : onPage % rows;
    return QRectF(left + column * pitchX, top + row * pitchY, cellWidth, cellHeight);
}
