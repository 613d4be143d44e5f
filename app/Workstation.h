#pragma once

#include <QString>

class TDM;
class QWidget;

// Finds the ESTACOES row of the user who runs the program. Sets WindowsUserName,
// StationCode, LabelPrinterPath and the main window's title, and returns the
// station's DATBASNAM; returns the empty text, after explaining why, when the
// user has no station.
QString ResolveWorkstation(TDM &DM, QWidget &mainWindow);

// "maria" -> "MARIA": only the letters a to z change, as the suite compares names.
QString upperAsciiLetters(const QString &text);

QString workstationTitle(const QString &userName, const QString &stationCode);
QString workstationNotFoundMessage(const QString &userName);
