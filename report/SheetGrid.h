#pragma once

#include <QRectF>

// Where the labels of one sheet stand, in millimetres from the paper's top-left
// corner: the first label's corner, the pitch from one label to the next and the
// size of a label. Rows of the job fill it cell by cell, page after page.
struct SheetGrid
{
    enum class Order { AcrossThenDown, DownThenAcross };

    int columns = 1;
    int rows = 1;
    double left = 0;        // x of the first column's left edge
    double top = 0;         // y of the first row's top edge
    double pitchX = 0;      // from one column's left edge to the next one's
    double pitchY = 0;      // from one row's top edge to the next one's
    double cellWidth = 0;
    double cellHeight = 0;
    Order order = Order::AcrossThenDown;

    int cellsPerPage() const { return columns * rows; }

    // Pages needed for `labels` cells; an empty job still gets its one (blank) page.
    int pageCount(int labels) const;

    // The page a job position falls on, and its cell rectangle on that page.
    int pageOf(int position) const { return position / cellsPerPage(); }
    QRectF cellRect(int position) const;

    // The right and bottom edges of the last column and row.
    double rightEdge() const { return left + (columns - 1) * pitchX + cellWidth; }
    double bottomEdge() const { return top + (rows - 1) * pitchY + cellHeight; }
};
