#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Starts a batch file of the installation without waiting for it: "cmd /c" on
// Windows, /bin/sh elsewhere. Tests replace the starter to see every start.
namespace ProcessStarter {

using Starter = std::function<bool(const QString &batchFile, const QStringList &arguments)>;

bool startBatch(const QString &batchFile, const QStringList &arguments);

Starter setStarter(Starter starter);

} // namespace ProcessStarter
