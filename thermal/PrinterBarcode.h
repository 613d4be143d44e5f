#pragma once

#include "PrintImage.h"

// Barcodes as label printers draw them: module-exact bars from the project's
// encoders, a narrow/wide width in dots, a bar height and the human-readable
// line. The element comes back in element coordinates (bars from x = 0) with
// an identity placement; the caller places it.

enum class PrinterSymbology {
    Code128Auto,     // the printer picks subsets A, B and C
    Code128A,
    Code128B,
    Code128C,
    Code128Invoked,  // ZPL: start and subset changes written into the data (>; >: >9 >5 >6 >7)
    Code39,
    Code39Check,     // with the modulo-43 check character
    Ean13,
    Ean8,
    UpcA,
    Interleaved2of5,
};

enum class HumanReadable { None, Below, Above };

struct BarcodeRequest
{
    PrinterSymbology symbology = PrinterSymbology::Code128Auto;
    QString data;
    int narrow = 2;     // module width, or narrow element of the two-width symbologies
    int wide = 6;       // wide element of Code 39 and Interleaved 2 of 5
    int height = 40;
    HumanReadable legend = HumanReadable::Below;
    PrinterFont legendFont;
};

PrintedElement printerBarcode(const BarcodeRequest &request);

// Modules a symbol of this data has (quiet zones excluded), for layouts that
// size a barcode before writing it; two-width symbologies count narrow = 1, wide = 3.
int printerBarcodeModules(PrinterSymbology symbology, const QString &data);
