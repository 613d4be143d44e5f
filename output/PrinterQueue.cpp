#include "PrinterQueue.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace PrinterQueue {

namespace {

const QString kNothingWritten = QStringLiteral("Nada foi gravado: o trabalho anterior continua guardado.");

// The names Windows gives its ports; a site's batch file copies to them.
bool windowsPort(const QString &name)
{
    static const QRegularExpression port(QStringLiteral("^(LPT[1-9]|COM[1-9]|PRN|AUX|NUL)(:)?$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return port.match(name).hasMatch();
}

bool hostAddress(const QString &name)
{
    QHostAddress address;
    return address.setAddress(name);
}

} // namespace

Target target(const QString &printerPath)
{
    if (printerPath.startsWith(QLatin1String("cups:")))
        return {printerPath.mid(5), true};
    if (printerPath.isEmpty() || printerPath.contains(QLatin1Char('/')) || printerPath.contains(QLatin1Char('\\'))
        || windowsPort(printerPath) || hostAddress(printerPath))
        return {};
    return {printerPath, false};
}

QString stateProblem(const Target &target, const Answer &state)
{
    if (!state.known) {
        if (!target.marked)
            return {};
        if (state.text.contains(QLatin1String("connect"), Qt::CaseInsensitive))
            return QStringLiteral("O sistema de impressão (CUPS) desta estação não está funcionando: não foi possível "
                                  "perguntar pela fila \"%1\". Confira se o serviço CUPS está ligado.\r%2")
                .arg(target.queue, kNothingWritten);
        return QStringLiteral("A fila de impressão \"%1\" não existe no CUPS desta estação. Confira o caminho da "
                              "impressora (ROTULO1 da estação) ou crie a fila (selvar-setup-station "
                              "--cups-raw-queue).\r%2")
            .arg(target.queue, kNothingWritten);
    }
    if (state.text.contains(QLatin1String(" disabled")))
        return QStringLiteral("A fila de impressão \"%1\" está parada (desativada): o que fosse enviado ficaria "
                              "esperando nela. Reative-a com \"cupsenable %1\" (ou pela página do CUPS) depois de "
                              "conferir a impressora: papel, fita, tampa, painel.\r%2")
            .arg(target.queue, kNothingWritten);
    return {};
}

QString acceptingProblem(const Target &target, const Answer &accepting)
{
    if (accepting.known && !accepting.text.contains(QLatin1String("not accepting")))
        return {};
    return QStringLiteral("A fila de impressão \"%1\" está recusando trabalhos. Libere-a com "
                          "\"cupsaccept %1\" (ou pela página do CUPS).\r%2")
        .arg(target.queue, kNothingWritten);
}

QString silentProblem(const Target &target, int seconds)
{
    return QStringLiteral("O sistema de impressão (CUPS) não respondeu sobre a fila \"%1\" em %2 s.\r%3")
        .arg(target.queue)
        .arg(seconds)
        .arg(kNothingWritten);
}

QString missingLpstatProblem(const Target &target)
{
    return QStringLiteral("A impressora de etiquetas é a fila \"%1\" do CUPS, mas o programa lpstat (pacote "
                          "cups-client) não está instalado nesta estação.\r%2")
        .arg(target.queue, kNothingWritten);
}

} // namespace PrinterQueue
