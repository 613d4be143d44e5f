#pragma once

#include "LabelSheets.h"
#include "ReportProject.h"

// New reports laid out from the stock in hand: the product's name across the
// top, the price under it and the EAN-13 below, sized to the label so a new
// report prints something sensible before anything is moved.

SheetReport newSheetReport(const QString &name, const LabelSheet &sheet);

struct RollStock
{
    PrinterLanguage language = PrinterLanguage::Zpl;
    int dpi = 203;
    int across = 1;
    double gap = 0;   // mm
    QSizeF label;     // mm
};

SheetReport newThermalReport(const QString &name, const RollStock &roll);

// Thermal rolls pharmacies buy, for "Novo relatório térmico".
struct CommonRoll
{
    QString name;
    int across;
    double gap;   // mm
    QSizeF label; // mm
};

QList<CommonRoll> commonRolls();
