#pragma once

#include "BarCodeTipo.h"

#include <QRectF>
#include <QString>

class QPainter;

// How a barcode on a label looks beyond its symbology.
struct BarcodeStyle
{
    QString fontFamily = QStringLiteral("Arial");
    double fontPoints = 0; // 0: the legend is sized to fit under the symbol
    bool bold = false;
    bool legend = true;
};

// Draws the symbol of `texto` inside `box` (device units of the painter): the
// quiet zones of the symbology kept free on both sides, the module width a
// whole number of device dots wherever the device is fine enough, so every bar
// prints as wide as the one before; the legend in the light space under the bars,
// EAN/UPC style with the guards reaching down between its groups of digits.
void paintSheetBarcode(QPainter &painter, const QRectF &box, TBarCodeTipo tipo, const QString &texto, const BarcodeStyle &style);
