#pragma once

#include <QString>

// The station's Selvar settings: "Selvar.ini" in the station's work folder
// (C:\Boticon\InterfacXX), lines "NAME=VALUE". A missing file or name keeps
// the default.
namespace HistorySettings {

constexpr int kDefaultRetentionDays = 365;

// "DIAS NO HISTORICO DE ETIQUETAS=365": how many days a printed job stays in the
// history; 0 keeps every job. A value that is not a whole number of days from
// 0 up keeps the default, and `problem` (when given) says so in Portuguese.
int retentionDays(const QString &nativeWorkFolder, QString *problem = nullptr);

// The setting's name, as it stands before the "=".
QString retentionKey();

} // namespace HistorySettings
