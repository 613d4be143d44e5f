#include "StationBatchFile.h"

#include "Messages.h"
#include "StationFiles.h"

#include <QDir>
#include <QFileInfo>

bool offerBatchFile(const QString &stationFolder)
{
    const QString batch = QDir::toNativeSeparators(QDir(stationFolder).filePath(QStringLiteral("ImprEtiq.bat")));
    if (!QFileInfo(stationFolder).isDir()) {
        Messages::show(QStringLiteral("A pasta da estação \"%1\" não existe: o teste não foi impresso.\n\n"
                                      "O selvar-setup-station prepara a estação (pasta, ImprEtiq.bat, impressora).")
                           .arg(QDir::toNativeSeparators(stationFolder)));
        return false;
    }
    if (!Messages::ask(QStringLiteral("Não há \"%1\", que leva as etiquetas à impressora.\n\n"
                                      "Gravar ali o ImprEtiq.bat do Selvar (o mesmo que o selvar-setup-station instala: "
                                      "copia para o dispositivo ou arquivo, ou manda à fila CUPS) e imprimir o teste?")
                           .arg(batch)))
        return false;
    if (!StationFiles::writeBatchFile(stationFolder)) {
        Messages::show(QStringLiteral("Não foi possível gravar \"%1\": o teste não foi impresso.").arg(batch));
        return false;
    }
    return true;
}
