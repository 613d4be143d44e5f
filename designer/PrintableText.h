#pragma once

#include "ReportProject.h"

#include <QString>

// The characters of `text` a thermal printer's resident fonts have no glyph
// for: everything outside Windows-1252, the code page of the suite's texts and
// of what the command files carry (emoji, arrows, "≥", other alphabets). The
// printer prints them as an empty box or a '?'. Each one once, in order.
QString unprintableCharacters(const QString &text);

// "Caracteres que a impressora não imprime em …", or nothing when every character prints.
QString unprintableWarning(const CellElement &element, const QString &text);
