#include "StationSettings.h"

#include "PrintHandOver.h"
#include "SelvarError.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace StationSettings {

namespace {

QString value(const QString &nativeWorkFolder, const QString &name)
{
    const QString path = QDir(nativeWorkFolder).filePath(QStringLiteral("Selvar.ini"));
    if (!QFileInfo(path).isFile())
        return {};
    try {
        for (const QString &line : TextFile::readLines(path)) {
            if (line.section(QLatin1Char('='), 0, 0).trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return line.section(QLatin1Char('='), 1).trimmed();
        }
    } catch (const SelvarError &) {
    }
    return {};
}

} // namespace

int fileTimeLimitSeconds(const QString &nativeWorkFolder)
{
    bool ok = false;
    const int seconds = value(nativeWorkFolder, QStringLiteral("TEMPO LIMITE POR ARQUIVO")).toInt(&ok);
    return ok && seconds > 0 ? seconds : PrintHandOver::DefaultFileTimeLimitSeconds;
}

} // namespace StationSettings
