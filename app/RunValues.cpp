#include "RunValues.h"

namespace RunValues {

QString ExeFolder;
QString ServerAddress;
int ScreenColor = 0;
QString WindowsUserName;
QString StationCode;
QString LabelPrinterPath;

QString WorkFolder()
{
    return ExeFolder + QStringLiteral("Interfac") + StationCode;
}

void reset()
{
    ExeFolder.clear();
    ServerAddress.clear();
    ScreenColor = 0;
    WindowsUserName.clear();
    StationCode.clear();
    LabelPrinterPath.clear();
}

} // namespace RunValues
