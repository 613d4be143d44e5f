#pragma once

#include "BarCodeTipo.h"

// The light margin a reader needs on each side of a symbol, in modules. Module
// strings carry none; the sheet keeps these free inside a barcode's box.
struct QuietZone
{
    int left = 0;
    int right = 0;
};

QuietZone quietZoneFor(TBarCodeTipo tipo);
