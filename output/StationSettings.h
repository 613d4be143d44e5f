#pragma once

#include <QString>

// The output's settings of one station, in its "Selvar.ini" (StationIni); a
// missing file or name leaves the default.
namespace StationSettings {

// The most seconds a run may be given: in milliseconds it still fits an int.
constexpr int MaxFileTimeLimitSeconds = 2147483;

// TEMPO LIMITE POR ARQUIVO=60: seconds one run of ImprEtiq.bat may take. A
// value that is no number or lies outside 1 to MaxFileTimeLimitSeconds is
// replaced (the default, or the nearest limit) and `note`, when given, says so
// in Portuguese; otherwise `note` is left empty.
int fileTimeLimitSeconds(const QString &nativeWorkFolder, QString *note = nullptr);

} // namespace StationSettings
