#pragma once

#include "BarCodeTipo.h"

#include <QImage>
#include <QString>

class TZetaDBBarcode;

// What zxing-cpp reads in an image, looking only for the format that the given
// symbology is; an empty string when it reads nothing.
QString DecodeWithZxing(const QImage &image, TBarCodeTipo tipo);

// The control's drawing as an image of exactly its painted size.
QImage RenderControl(TZetaDBBarcode &control);
