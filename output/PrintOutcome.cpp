#include "PrintOutcome.h"

namespace {

QString counted(qint64 count, const QString &one, const QString &many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

QString labelsCounted(qint64 labels)
{
    return counted(labels, QStringLiteral("etiqueta"), QStringLiteral("etiquetas"));
}

QString sentTo(qint64 labels)
{
    return labels == 1 ? QStringLiteral("enviada para a impressora") : QStringLiteral("enviadas para a impressora");
}

QString labelsInFiles(qint64 labels, int files)
{
    return labelsCounted(labels) + QStringLiteral(" em ") + counted(files, QStringLiteral("arquivo"), QStringLiteral("arquivos"));
}

} // namespace

PrintOutcome PrintOutcome::thermalQueued(int files)
{
    if (files <= 0)
        return {QStringLiteral("Nenhuma etiqueta enviada para a impressora"), false};
    return {QStringLiteral("Enviando ") + counted(files, QStringLiteral("arquivo"), QStringLiteral("arquivos"))
                + QStringLiteral(" para a impressora"),
            true};
}

PrintOutcome PrintOutcome::thermal(qint64 labels, int files)
{
    return {labelsInFiles(labels, files) + QLatin1Char(' ') + sentTo(labels), true};
}

PrintOutcome PrintOutcome::thermalStopped(qint64 labelsSent, qint64 labelsUnknown)
{
    QString text = QStringLiteral("Envio interrompido: ") + labelsCounted(labelsSent) + QLatin1Char(' ') + sentTo(labelsSent);
    if (labelsUnknown > 0)
        text += QStringLiteral("; mais ") + QString::number(labelsUnknown)
                + (labelsUnknown == 1 ? QStringLiteral(" pode ter saído") : QStringLiteral(" podem ter saído"));
    return {text, true};
}

PrintOutcome PrintOutcome::handOverStopped(qint64 labelsSent, int filesLeft)
{
    return {QStringLiteral("Envio parado: ") + labelsCounted(labelsSent)
                + (labelsSent == 1 ? QStringLiteral(" enviada; ") : QStringLiteral(" enviadas; "))
                + counted(filesLeft, QStringLiteral("arquivo não enviado."), QStringLiteral("arquivos não enviados.")),
            labelsSent > 0};
}

PrintOutcome PrintOutcome::handedOverLater()
{
    return {QString(), false, true};
}

PrintOutcome PrintOutcome::printer(qint64 labels, const QString &printerName)
{
    QString text = labelsCounted(labels) + QLatin1Char(' ') + sentTo(labels);
    if (!printerName.isEmpty())
        text += QStringLiteral(" \"%1\"").arg(printerName);
    return {text, true};
}

PrintOutcome PrintOutcome::pdf(const QString &path)
{
    return {QStringLiteral("PDF gravado em ") + path, true};
}

PrintOutcome PrintOutcome::cancelled()
{
    return {QStringLiteral("Impressão cancelada"), false};
}

PrintOutcome PrintOutcome::previewOnly()
{
    return {QStringLiteral("Visualização fechada sem imprimir"), false};
}

PrintOutcome PrintOutcome::noOutput(const QString &modelDescription)
{
    return {QStringLiteral("Nada foi impresso: o modelo \"%1\" não indica impressora térmica nem folha (A4, A5, Carta)")
                .arg(modelDescription),
            false};
}
