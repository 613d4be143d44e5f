#include "SuiteIni.h"

#include "SuitePaths.h"
#include "TextFile.h"

#include <QFileInfo>

namespace {

const int KeyLength = 48;
const int ValueColumn = 50; // 1-based; column 49 only separates
const int ValueLength = 60;

} // namespace

QString TrimSpaces(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

namespace SuiteIni {

QString exeFolder()
{
    return SuitePaths::exeFolderText().left(FolderLimit);
}

QString path(const QString &exeFolder)
{
    return SuitePaths::toNative(exeFolder + QStringLiteral("BOTICON.INI"));
}

QList<Setting> settings(const QString &iniPath)
{
    QList<Setting> result;
    for (const QString &line : TextFile::readLines(iniPath))
        result.append({line.left(KeyLength), TrimSpaces(line.mid(ValueColumn - 1, ValueLength))});
    return result;
}

std::optional<QString> serverAddress(const QString &exeFolder)
{
    const QString file = path(exeFolder);
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    QString server;
    for (const Setting &setting : settings(file))
        if (setting.key == ServerKey)
            server = setting.value;
    return server;
}

QString mainDatabase(const QString &serverAddress)
{
    return serverAddress + QStringLiteral(":C:\\boticon\\dados\\boticon.bd");
}

} // namespace SuiteIni
