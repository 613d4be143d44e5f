#pragma once

#include <QString>

// What one press of "Etiquetas com preços" did, in the words of the line the
// list panel shows after it, and whether any label stock was used: when nothing
// went out, the first label position typed for the run still holds for the next.
class PrintOutcome
{
public:
    // "Enviando 6 arquivos para a impressora": the thermal job is queued; the
    // hand-over says later what went out.
    static PrintOutcome thermalQueued(int files);
    // "17 etiquetas em 6 arquivos enviadas para a impressora": the files the
    // hand-over gave the printer and the labels they carry.
    static PrintOutcome thermal(qint64 labels, int files);
    // The hand-over stopped at a file that failed, after `labelsSent` labels;
    // `labelsUnknown` more may have gone with a file the time limit cut off.
    static PrintOutcome thermalStopped(qint64 labelsSent, qint64 labelsUnknown = 0);
    // "Envio parado: 12 etiquetas enviadas; 5 arquivos não enviados.": "Parar envio".
    static PrintOutcome handOverStopped(qint64 labelsSent, int filesLeft);
    // The job went to the hand-over queue, which tells what went out once it knows.
    static PrintOutcome handedOverLater();
    // "17 etiquetas enviadas para a impressora "HP"": sheets sent to a printer.
    static PrintOutcome printer(qint64 labels, const QString &printerName);
    // "PDF gravado em /home/ana/etiquetas.pdf".
    static PrintOutcome pdf(const QString &path);
    // "Impressão cancelada": the output options were closed without a choice.
    static PrintOutcome cancelled();
    // The preview was closed without printing from it.
    static PrintOutcome previewOnly();
    // The model's description names neither the thermal printer nor a sheet.
    static PrintOutcome noOutput(const QString &modelDescription);

    const QString &text() const { return m_text; }
    bool usedLabelStock() const { return m_usedStock; }
    bool handedOver() const { return m_handedOver; }

private:
    PrintOutcome(const QString &text, bool usedStock, bool handedOver = false)
        : m_text(text), m_usedStock(usedStock), m_handedOver(handedOver)
    {
    }

    QString m_text;
    bool m_usedStock;
    bool m_handedOver;
};
