#pragma once

#include "LabelRecord.h"
#include "PrintImage.h"
#include "ReportProject.h"

#include <QImage>
#include <QList>
#include <QRectF>

// A label as it prints, drawn by the code that prints it: a sheet report's
// cell painted by the sheet renderer exactly as on its page, a thermal
// report's row of labels written as a command file and imaged by the
// thermal renderer over its stock. The canvas shows it; nothing here draws
// a label by itself.
struct LabelPicture
{
    QImage image;
    QRectF rect;              // where the image lies, mm from the first label's top-left corner
    bool printerDots = false; // one pixel a printer dot: shown without smoothing
    PrintImage printed;       // thermal: what the renderer read from the file
    QList<QByteArray> files;  // thermal: the command files it came from
};

// The first cell of a sheet report filled with `record`, at `dpi`: the
// pixels of the sheet engine's page at that resolution around the cell.
LabelPicture sheetLabelPicture(const SheetReport &report, const LabelRecord &record, double dpi);

// One row of a thermal report's labels across, filled with `records` in turn,
// at one pixel a printer dot, over the labels of its roll.
LabelPicture thermalLabelPicture(const SheetReport &report, const QList<LabelRecord> &records);

// Either, as the report prints: a sheet at `dpi`, a thermal row at its printer's.
LabelPicture labelPicture(const SheetReport &report, const QList<LabelRecord> &records, double dpi);
