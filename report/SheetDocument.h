#pragma once

#include "LabelRecord.h"
#include "ReportProject.h"

#include <QDate>
#include <QHash>
#include <QImage>
#include <QList>

class QPainter;

// One run of a sheet report: the report, the rows of its connection (one per
// cell, in order) and the calibration offset that moves everything on the page.
// Pages are painted onto any device (printer, PDF, preview image) whose origin is
// the paper's top-left corner; millimetres become device units through the
// device's own resolution.
class SheetDocument
{
public:
    SheetDocument(const SheetReport &report, const QList<LabelRecord> &rows, const QPointF &offset);

    const SheetReport &report() const { return m_report; }
    int labelCount() const { return int(m_rows.size()); }
    int pageCount() const { return m_report.grid.pageCount(labelCount()); }

    // Paints page `page` (0-based); the device's paper is taken to be white.
    void paintPage(QPainter &painter, int page) const;

    // The page as a white image at `dpi` dots per inch (previews).
    QImage pageImage(int page, double dpi) const;

    // What an element prints for a row: its text, the field as shown, or the
    // price formatted anew from the plain value.
    // A date counts from `printDay`; lines and frames have no text.
    static QString textOf(const CellElement &element, const LabelRecord &record, const QDate &printDay = QDate::currentDate());

    // The day dates count from (the day the document was made, by default).
    void setPrintDay(const QDate &day) { m_printDay = day; }

private:
    void paintCell(QPainter &painter, const QRectF &cell, const LabelRecord &record, double dotsPerMmX, double dotsPerMmY) const;

    SheetReport m_report;
    QList<LabelRecord> m_rows;
    QPointF m_offset;
    QDate m_printDay;
    QHash<int, QImage> m_pictures;  // image elements by index
};
