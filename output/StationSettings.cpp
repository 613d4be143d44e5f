#include "StationSettings.h"

#include "PrintHandOver.h"
#include "StationIni.h"

#include <algorithm>

namespace StationSettings {

int fileTimeLimitSeconds(const QString &nativeWorkFolder, QString *note)
{
    const QString key = QStringLiteral("TEMPO LIMITE POR ARQUIVO");
    const std::optional<QString> text = StationIni::value(nativeWorkFolder, key);
    if (note)
        note->clear();
    if (!text)
        return PrintHandOver::DefaultFileTimeLimitSeconds;
    bool ok = false;
    const qlonglong seconds = text->trimmed().toLongLong(&ok);
    int used = int(std::clamp<qlonglong>(seconds, 1, MaxFileTimeLimitSeconds));
    if (!ok)
        used = PrintHandOver::DefaultFileTimeLimitSeconds;
    if (ok && used == seconds)
        return used;
    if (note)
        *note = QStringLiteral("O valor \"%1\" de %2 no Selvar.ini da estação não vale: o limite é de 1 a %3 segundos. "
                               "Foi usado %4 s; corrija o arquivo.")
                    .arg(text->trimmed(), key)
                    .arg(MaxFileTimeLimitSeconds)
                    .arg(used);
    return used;
}

} // namespace StationSettings
