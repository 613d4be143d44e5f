#include "IniSettings.h"

#include "Conversions.h"
#include "Messages.h"
#include "ProgramEnd.h"
#include "RunValues.h"
#include "SuitePaths.h"

#include <QFileInfo>

QString exeFolderFile(const QString &name)
{
    return SuitePaths::toNative(RunValues::ExeFolder + name);
}

void LoadIniSettings()
{
    // A folder longer than the suite allows is cut, as every program of the suite
    // cuts it; the INI file is then looked for under the cut text.
    RunValues::ExeFolder = SuiteIni::exeFolder();

    const QString iniPath = SuiteIni::path(RunValues::ExeFolder);
    if (!QFileInfo(iniPath).isFile()) {
        Messages::show(QStringLiteral("Arquivo BOTICON.INI não encontrado. Execute o programa Instalix.exe para criá-lo."));
        ProgramEnd::request();
        return;
    }

    for (const SuiteIni::Setting &setting : SuiteIni::settings(iniPath)) {
        if (setting.key == SuiteIni::ServerKey)
            RunValues::ServerAddress = setting.value;
        else if (setting.key == SuiteIni::ColorKey)
            RunValues::ScreenColor = Conversions::strToInt(setting.value);
    }
}
