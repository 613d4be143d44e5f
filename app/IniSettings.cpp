#include "IniSettings.h"

#include "Conversions.h"
#include "Messages.h"
#include "ProgramEnd.h"
#include "RunValues.h"
#include "SuitePaths.h"
#include "TextFile.h"

#include <QFileInfo>

namespace {

const int KeyLength = 48;
const int ValueColumn = 50; // 1-based; column 49 only separates
const int ValueLength = 60;
const int FolderLimit = 60;

const QString ServerKey = QStringLiteral("IP DO SERVIDOR CENTRAL.........................:");
const QString ColorKey = QStringLiteral("COR DE FUNDO DAS TELAS.........................:");

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

QString exeFolderFile(const QString &name)
{
    return SuitePaths::toNative(RunValues::ExeFolder + name);
}

void LoadIniSettings()
{
    // A folder longer than the suite allows is cut, as every program of the suite
    // cuts it; the INI file is then looked for under the cut text.
    RunValues::ExeFolder = SuitePaths::exeFolderText().left(FolderLimit);

    const QString iniPath = exeFolderFile(QStringLiteral("BOTICON.INI"));
    if (!QFileInfo(iniPath).isFile()) {
        Messages::show(QStringLiteral("Arquivo BOTICON.INI não encontrado. Execute o programa Instalix.exe para criá-lo."));
        ProgramEnd::request();
        return;
    }

    for (const QString &line : TextFile::readLines(iniPath)) {
        const QString key = line.left(KeyLength);
        const QString value = line.mid(ValueColumn - 1, ValueLength);
        if (key == ServerKey)
            RunValues::ServerAddress = TrimSpaces(value);
        else if (key == ColorKey)
            RunValues::ScreenColor = Conversions::strToInt(TrimSpaces(value));
    }
}
