#include "DataModuleCreate.h"

#include "Messages.h"
#include "ProgramEnd.h"
#include "RunValues.h"
#include "SuiteIni.h"
#include "SuitePaths.h"
#include "TDM.h"
#include "TextFile.h"
#include "Workstation.h"

#include <QFileInfo>

namespace {
const int FolderLineLimit = 100;
}

void SetVendorLibrary(TDM &DM)
{
    // The Firebird client is linked when the program is built, so the library text
    // only records what the suite asked for; it loads nothing.
    const QString file = SuitePaths::toNative(QStringLiteral("c:\\boticon\\CaminhoGDS.txt"));
    if (!QFileInfo(file).isFile())
        return;
    QString folder = TextFile::readFirstLine(file, FolderLineLimit);
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    DM.SQLConnection1->setVendorLib(folder + QStringLiteral("GDS32.DLL"));
}

void DataModuleCreate(TDM &DM, QWidget &mainWindow)
{
    SetVendorLibrary(DM);

    DM.SQLConnection1->Close();
    DM.SQLConnection1->setDataBase(SuiteIni::mainDatabase(RunValues::ServerAddress));

    const QString databaseName = ResolveWorkstation(DM, mainWindow);
    if (databaseName.isEmpty()) {
        Messages::show(QStringLiteral("O programa será fechado."));
        ProgramEnd::request();
        return;
    }

    DM.SQLConnection2->setDataBase(RunValues::ServerAddress + QStringLiteral(":C:\\boticon\\interfac")
                                   + RunValues::StationCode + QStringLiteral("\\boticon.bd"));
}
