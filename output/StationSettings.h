#pragma once

#include <QString>

// The output's settings of one station, in its "Selvar.ini" (StationIni); a
// missing file, name or a value that makes no sense leaves the default.
namespace StationSettings {

// TEMPO LIMITE POR ARQUIVO=60: seconds one run of ImprEtiq.bat may take.
int fileTimeLimitSeconds(const QString &nativeWorkFolder);

} // namespace StationSettings
