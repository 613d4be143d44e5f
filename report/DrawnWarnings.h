#pragma once

#include "LabelRecord.h"
#include "ReportProject.h"

#include <QStringList>

// What would print badly with the new kinds of element in a layout the parser
// takes: an image file gone or unreadable, a 2D code its box cannot hold (with
// the size it needs), or one whose module is under what readers reliably read,
// for the products shown.
QStringList drawnElementWarnings(const SheetReport &report, const QList<LabelRecord> &records);
