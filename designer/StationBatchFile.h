#pragma once

class QString;

// A station folder without ImprEtiq.bat cannot print a test: offers (asking
// first) to write there the one selvar-setup-station installs. True when the
// folder has one now; a refusal or a failure is said and gives false.
bool offerBatchFile(const QString &stationFolder);
