#pragma once

#include "PrintImage.h"

#include <QByteArray>

// Reads a ZPL II command file the way the printer runs it: each ^XA ... ^XZ
// format is one image; ^FO places a field, ^A0 / ^A@ / ^CF choose its font,
// ^BC ^BE ^B3 (with ^BY) make it a barcode, ^GB a box, ^FD ... ^FS its data.
// ^CI28 reads the data as UTF-8 (otherwise Windows-1252). Any other command
// is reported by name.
// `memory` carries the graphics a file stores to the files after it.
RenderedFile readZpl(const QByteArray &bytes, int dpi, PrinterMemory *memory = nullptr);
