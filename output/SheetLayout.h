#pragma once

#include <QList>
#include <QString>

// One of the fixed sheet layouts, as data: a sheet of paper divided into
// columns of equal label cells, and what each cell prints from the label job.
// Sizes are millimetres. Every layout is portrait, in Arial at 120 % zoom, and
// prints even when its data set is empty.
struct LayoutElement
{
    enum class Kind { DbText, Label };

    QString name;    // "QRDBText2"
    Kind kind = Kind::DbText;
    QString content; // the column a DbText prints, or the text of a Label
    QString fontFamily;
    double fontPoints = 8;
    double leftMm = 0; // from the cell's top-left corner
    double topMm = 0;
};

struct SheetLayout
{
    QString windowClass; // "TFormRelat2"
    QString title;       // leading blanks are part of it
    QString paper;       // "Letter" or "A4"
    double paperWidthMm = 0;
    double paperLengthMm = 0;
    int columns = 1;
    double topMm = 0, bottomMm = 0, leftMm = 0, rightMm = 0, columnSpaceMm = 0;
    double cellHeightMm = 0, cellWidthMm = 0;
    bool firstPageHeader = false, lastPageFooter = false, compression = false;
    // The data set and data source the layout names: components the main
    // window does not have, so they stay unresolved. Empty when none is named.
    QString dataSetName, dataSourceName;
    QList<LayoutElement> elements;
    bool hasBarcode = false; // the EAN barcode control stands in the cell
};

// The seven layouts, in the order start-up creates their windows.
const QList<SheetLayout> &fixedSheetLayouts();
