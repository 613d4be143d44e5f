#include "PrinterQueue.h"

#include "SelvarError.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace PrinterQueue {

namespace {

constexpr int kAskLimitMs = 10000;

const QString kNothingWritten = QStringLiteral("Nada foi gravado: o trabalho anterior continua guardado.");

// lpstat's answer about the queue, in the words of the C locale; its exit code
// says whether the scheduler knows the queue.
struct Answer
{
    bool known = false;
    QString text;
};

Answer ask(const QString &lpstat, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(lpstat, arguments);
    if (!process.waitForFinished(kAskLimitMs)) {
        process.kill();
        process.waitForFinished(1000);
        throw SelvarError(QStringLiteral("O sistema de impressão (CUPS) não respondeu sobre a fila \"%1\" em %2 s.\r%3")
                              .arg(arguments.constLast())
                              .arg(kAskLimitMs / 1000)
                              .arg(kNothingWritten));
    }
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromLocal8Bit(process.readAll())};
}

} // namespace

QString queueName(const QString &printerPath)
{
    if (printerPath.startsWith(QLatin1String("cups:")))
        return printerPath.mid(5);
    if (printerPath.isEmpty() || printerPath.contains(QLatin1Char('/')) || printerPath.contains(QLatin1Char('\\')))
        return {};
    return printerPath;
}

void check(const QString &printerPath)
{
    const QString queue = queueName(printerPath);
    if (queue.isEmpty())
        return;
    const QString lpstat = QStandardPaths::findExecutable(QStringLiteral("lpstat"));
    if (lpstat.isEmpty()) {
        throw SelvarError(QStringLiteral("A impressora de etiquetas é a fila \"%1\" do CUPS, mas o programa lpstat (pacote "
                                         "cups-client) não está instalado nesta estação.\r%2")
                              .arg(queue, kNothingWritten));
    }
    const Answer state = ask(lpstat, {QStringLiteral("-p"), queue});
    if (!state.known) {
        throw SelvarError(QStringLiteral("A fila de impressão \"%1\" não existe no CUPS desta estação. Confira o caminho da "
                                         "impressora (ROTULO1 da estação) ou crie a fila (selvar-setup-station "
                                         "--cups-raw-queue).\r%2")
                              .arg(queue, kNothingWritten));
    }
    if (state.text.contains(QLatin1String(" disabled"))) {
        throw SelvarError(QStringLiteral("A fila de impressão \"%1\" está parada (desativada): o que fosse enviado ficaria "
                                         "esperando nela. Reative-a com \"cupsenable %1\" (ou pela página do CUPS) depois de "
                                         "conferir a impressora: papel, fita, tampa, painel.\r%2")
                              .arg(queue, kNothingWritten));
    }
    const Answer accepting = ask(lpstat, {QStringLiteral("-a"), queue});
    if (!accepting.known || accepting.text.contains(QLatin1String("not accepting"))) {
        throw SelvarError(QStringLiteral("A fila de impressão \"%1\" está recusando trabalhos. Libere-a com "
                                         "\"cupsaccept %1\" (ou pela página do CUPS).\r%2")
                              .arg(queue, kNothingWritten));
    }
}

} // namespace PrinterQueue
