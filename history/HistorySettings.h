#pragma once

#include <QString>

// The station's Selvar settings: "Selvar.ini" in the station's work folder
// (C:\Boticon\InterfacXX), one setting a line in the suite's INI form (the key
// padded with dots to 48 characters and ended by a colon, the value from
// column 50). A missing file or key keeps the default.
namespace HistorySettings {

constexpr int kDefaultRetentionDays = 365;

// "DIAS NO HISTORICO DE ETIQUETAS": how many days a printed job stays in the
// history; 0 keeps every job. A value that is not a whole number of days from
// 0 up keeps the default, and `problem` (when given) says so in Portuguese.
int retentionDays(const QString &nativeWorkFolder, QString *problem = nullptr);

// The key as it stands in the file, dots and colon included.
QString retentionKey();

} // namespace HistorySettings
