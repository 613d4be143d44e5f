#pragma once

#include "SuiteIni.h"

#include <QString>

// Sets ExeFolder, ServerAddress and ScreenColor. A missing file shows its message
// and asks the program to end. A colour that is not an integer throws the
// conversion error; the lines after it are not read.
void LoadIniSettings();

// The native path of a file the program names as ExeFolder + name.
QString exeFolderFile(const QString &name);
