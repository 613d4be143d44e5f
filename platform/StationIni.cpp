#include "StationIni.h"

#include "SelvarError.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace StationIni {

QString path(const QString &nativeWorkFolder)
{
    return QDir(nativeWorkFolder).filePath(QStringLiteral("Selvar.ini"));
}

std::optional<QString> value(const QString &nativeWorkFolder, const QString &name, QString *problem)
{
    const QString file = path(nativeWorkFolder);
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    QStringList lines;
    try {
        lines = TextFile::readLines(file);
    } catch (const SelvarError &error) {
        if (problem)
            *problem = error.message();
        return std::nullopt;
    }
    for (const QString &line : lines) {
        if (line.section(QLatin1Char('='), 0, 0).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.section(QLatin1Char('='), 1).trimmed();
    }
    return std::nullopt;
}

} // namespace StationIni
