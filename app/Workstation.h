#pragma once

#include "UserName.h"

#include <QString>

class TDM;
class QWidget;

// Finds the ESTACOES row of the user who runs the program. Sets WindowsUserName,
// StationCode, LabelPrinterPath and the main window's title, and returns the
// station's DATBASNAM; returns the empty text, after explaining why, when the
// user has no station.
QString ResolveWorkstation(TDM &DM, QWidget &mainWindow);

QString workstationTitle(const QString &userName, const QString &stationCode);
QString workstationNotFoundMessage(const QString &userName);
