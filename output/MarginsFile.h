#pragma once

#include <QString>

class QuickRepPage;

// The margins file "C:\BOTICON\GUARDMARG.TXT": two lines, the left and the
// right margin of the 6 x 20 layout's page in millimetres, with a decimal comma.
namespace MarginsFile {

// The suite's name of the file; the suite folder maps it to a native path.
QString path();

// The margins step of every activation of the main window. An existing file
// sets the left margin from line 1, then the right margin from line 2 (both
// read before either is converted); a line that is not a number raises
// "'x' is not a valid floating point value", so a bad line 1 changes nothing
// and a bad line 2 leaves the right margin as it was. A missing file is
// created from the page's current margins; when it cannot be, the platform's
// I/O error is raised and the next activation tries again.
void step(QuickRepPage &page);

// "8", "12,5": the shortest decimal text, up to 15 significant digits.
QString marginText(double millimetres);
// The inverse; also takes a decimal point, and blanks around the number.
double marginValue(const QString &text);

} // namespace MarginsFile
