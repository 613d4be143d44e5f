#pragma once

#include <QString>

// The run-wide values set at start-up and read by the window's operations.
// Code outside app/ never reads these: the window passes what it needs as arguments.
namespace RunValues {

extern QString ExeFolder;        // folder of the executable as text, final separator included, at most 60 characters
extern QString ServerAddress;    // first part of both database paths; empty means the embedded engine
extern int ScreenColor;          // Windows colour value of the main panel
extern QString WindowsUserName;  // as the system gives it
extern QString StationCode;      // first two characters of ESTACAO
extern QString LabelPrinterPath; // ROTULO1 of the station

// The station's work folder: ExeFolder + "Interfac" + StationCode.
QString WorkFolder();

// Back to the values of a fresh start (tests start the program many times in one process).
void reset();

} // namespace RunValues
