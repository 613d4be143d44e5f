#include "StationSettings.h"

#include "PrintHandOver.h"
#include "StationIni.h"

namespace StationSettings {

int fileTimeLimitSeconds(const QString &nativeWorkFolder)
{
    bool ok = false;
    const int seconds = StationIni::value(nativeWorkFolder, QStringLiteral("TEMPO LIMITE POR ARQUIVO")).value_or(QString()).toInt(&ok);
    return ok && seconds > 0 ? seconds : PrintHandOver::DefaultFileTimeLimitSeconds;
}

} // namespace StationSettings
