#pragma once

class TDM;
class QWidget;

// The data module's creation step: the client library named by the suite, both
// database paths, and the user's workstation. A user without a station is told
// the program will close, and the program is asked to end.
void DataModuleCreate(TDM &DM, QWidget &mainWindow);

// Reads "c:\boticon\CaminhoGDS.txt" and gives SQLConnection1 the library it names.
void SetVendorLibrary(TDM &DM);
