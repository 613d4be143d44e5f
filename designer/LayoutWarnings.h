#pragma once

#include "LabelPicture.h"
#include "ReportProject.h"

#include <QStringList>

// What would print badly with a layout the parser takes: for thermal reports
// the thermal preview's own findings (ink beyond a label, a barcode without
// its quiet zones, a command the printer would not take); for both, a barcode
// module under 0,25 mm and a text cut at its box, for the products shown.
QStringList layoutWarnings(const SheetReport &report, const QList<LabelRecord> &records, const LabelPicture &picture);

// Narrower modules than this are more than a shop's scanner reliably reads.
constexpr double MinModuleMm = 0.25;
