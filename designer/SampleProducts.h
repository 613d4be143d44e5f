#pragma once

#include "LabelRecord.h"

#include <QList>

// Products the canvas fills a label with when no list of the suite is at
// hand: long names, accents and large prices, so a layout meets the worst a
// pharmacy's list holds before it meets the printer.
QList<LabelRecord> sampleProducts();
