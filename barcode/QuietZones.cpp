#include "QuietZones.h"

QuietZone quietZoneFor(TBarCodeTipo tipo)
{
    switch (tipo) {
    case btCode128A:
    case btCode128B:
    case btCode128C:
        return {10, 10}; // ISO/IEC 15417: at least 10 X each side
    case btCode39:
        return {10, 10}; // ISO/IEC 16388: at least 10 X each side
    case btCode2e5I:
        return {10, 10}; // ISO/IEC 16390: at least 10 X each side
    case btCodeEAN13:
        return {11, 7};  // GS1 General Specifications, EAN-13: 11 X left, 7 X right
    case btCodeEAN8:
        return {7, 7};   // GS1 General Specifications, EAN-8: 7 X each side
    case btCodeUPCA:
        return {9, 9};   // GS1 General Specifications, UPC-A: 9 X each side
    }
    return {10, 10};
}
