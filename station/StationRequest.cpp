#include "StationRequest.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// ESTACOES.USUARIO and ROTULO1 are text 60 and text 80: a longer value would
// be stored cut and never match or never reach the printer.
constexpr int UserNameLimit = 60;
constexpr int PrinterPathLimit = 80;

bool matches(const QString &text, const QString &pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

} // namespace

QString StationRequest::suiteFolderText() const
{
    QString folder = QDir::cleanPath(QDir(suiteFolder).absolutePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString StationRequest::workFolder() const
{
    return suiteFolderText() + QStringLiteral("Interfac") + stationCode;
}

QString requestRefusal(const StationRequest &r)
{
    // Letters and digits only: the code becomes part of a folder name.
    if (!matches(r.stationCode, QStringLiteral("[A-Za-z0-9]{2}")))
        return QStringLiteral("O código da estação deve ter exatamente dois caracteres (letras ou algarismos), não \"%1\".")
            .arg(r.stationCode);
    if (r.suiteFolderText().size() >= SuiteFolderLimit)
        return QStringLiteral("A pasta da suíte \"%1\" tem %2 caracteres; o Selvar só lê pastas de até %3 (com a barra final).")
            .arg(r.suiteFolderText()).arg(r.suiteFolderText().size()).arg(SuiteFolderLimit - 1);
    if (r.userName.trimmed().isEmpty() || r.userName.size() > UserNameLimit)
        return QStringLiteral("Informe o nome do usuário (--user), com até %1 caracteres.").arg(UserNameLimit);
    if (r.printerPath.isEmpty() || r.printerPath.size() > PrinterPathLimit)
        return QStringLiteral("Informe a impressora térmica (--printer: dispositivo, arquivo ou fila CUPS), com até %1 caracteres.")
            .arg(PrinterPathLimit);
    if (r.cupsQueue.isEmpty() != r.deviceUri.isEmpty())
        return QStringLiteral("--cups-raw-queue e --device-uri vão juntos: o nome da fila e o endereço da impressora.");
    if (!r.cupsQueue.isEmpty()) {
        if (!matches(r.cupsQueue, QStringLiteral("[A-Za-z0-9_.-]{1,127}")))
            return QStringLiteral("Nome de fila CUPS inválido: \"%1\" (use letras, algarismos, '_', '-' ou '.').").arg(r.cupsQueue);
        if (QStandardPaths::findExecutable(QStringLiteral("lpadmin")).isEmpty())
            return QStringLiteral("O CUPS não está instalado nesta máquina (falta o lpadmin): instale o pacote cups ou omita --cups-raw-queue.");
    }
    return {};
}
