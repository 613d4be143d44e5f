#pragma once

#include <QString>

// The suite's INI file, "BOTICON.INI" in the executable's folder: one setting a
// line, a 48-character key padded with dots and ended by a colon, a separator
// column, then the value from column 50 to 109.

// Removes leading, then trailing blanks; only the space character counts.
QString TrimSpaces(const QString &text);

// Sets ExeFolder, ServerAddress and ScreenColor. A missing file shows its message
// and asks the program to end. A colour that is not an integer throws the
// conversion error; the lines after it are not read.
void LoadIniSettings();

// The native path of a file the program names as ExeFolder + name.
QString exeFolderFile(const QString &name);
