#pragma once

#include "PrintImage.h"

#include <QByteArray>

// Reads an EPL2 command file (one command a line, its text in the code page
// its I command selects; Windows-1252 until one does) the way the
// printer runs it: N clears the image buffer, A, B and LO draw into it, P
// prints it. Set-up commands that change nothing on the label (I, S, D, Z,
// J, O, f, r) are taken; any other command is reported by name.
// `memory` carries the graphics a file stores to the files after it.
RenderedFile readEpl2(const QByteArray &bytes, int dpi, PrinterMemory *memory = nullptr);
