#pragma once

#include <QString>

// Settings of one station's Selvar, in "Selvar.ini" of its work folder
// (InterfacXX): lines "NAME=VALUE"; a missing file, name or a value that
// makes no sense leaves the default.
namespace StationSettings {

// TEMPO LIMITE POR ARQUIVO=60: seconds one run of ImprEtiq.bat may take.
int fileTimeLimitSeconds(const QString &nativeWorkFolder);

} // namespace StationSettings
