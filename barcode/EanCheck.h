#pragma once

#include <QString>

// Why a product's stored EAN number would not come out of the printers as it
// is stored, or the empty text when it would. A sheet draws an EAN-13 from the
// first twelve digits and its own check digit, so a wrong check digit scans as
// another number; the thermal label prints the stored text as it is. Only
// digits print the same on both. An empty number prints no barcode at all.
QString EanProblem(const QString &codigoEan);
