#include "HandOverFlow.h"

#include "HandOverScreen.h"
#include "Messages.h"
#include "PrintOutcome.h"
#include "RunValues.h"
#include "StationSettings.h"
#include "SuitePaths.h"
#include "ThermalOutput.h"

#include <QFileInfo>

namespace {

QString stationFolder()
{
    return QFileInfo(ThermalOutput(RunValues::WorkFolder(), RunValues::LabelPrinterPath).batchFilePath()).absolutePath();
}

QString continueCaption(const QList<ThermalJournal::Record> &rests)
{
    const PrintJob &rest = rests.constFirst().job;
    QString caption = rest.firstFileNumber == rest.fileCount()
                          ? QStringLiteral("Continuar envio (arquivo %1)").arg(rest.firstFileNumber)
                          : QStringLiteral("Continuar envio (arquivos %1 a %2)").arg(rest.firstFileNumber).arg(rest.fileCount());
    if (rests.size() == 2)
        caption += QStringLiteral(" e mais 1 trabalho");
    else if (rests.size() > 2)
        caption += QStringLiteral(" e mais %1 trabalhos").arg(rests.size() - 1);
    return caption;
}

QString keptText(int jobs)
{
    if (jobs <= 0)
        return {};
    return jobs == 1 ? QStringLiteral("; 1 trabalho na fila ficou guardado para \"Continuar envio\"")
                     : QStringLiteral("; %1 trabalhos na fila ficaram guardados para \"Continuar envio\"").arg(jobs);
}

} // namespace

HandOverFlow::HandOverFlow(PrintHandOver &handOver, HandOverScreen &screen, Record record, QObject *parent)
    : QObject(parent), m_handOver(handOver), m_screen(screen), m_record(std::move(record))
{
    connect(&m_handOver, &PrintHandOver::sending, this, [this](int file, int files) {
        m_screen.showSendingLine(QStringLiteral("Enviando arquivo %1 de %2").arg(file).arg(files));
        m_screen.showContinueOffer(QString());
        m_screen.showStopSending(true);
    });
    connect(&m_handOver, &PrintHandOver::idle, this, [this] {
        m_screen.showSendingLine(QString());
        m_screen.showStopSending(false);
        m_screen.setStopSending(QStringLiteral("Parar envio"), true);
        // Not settled here: a record whose history could not be written
        // would be tried again at every end of the trying.
        offer(false);
    });
    // A replaced job whose history could not be written: its record waits for it.
    connect(&m_handOver, &PrintHandOver::historyKept, this,
            [this](const QString &note) { m_screen.showPrintLine(m_screen.printLine() + note); });
    connect(&m_handOver, &PrintHandOver::jobEnded, this, &HandOverFlow::jobEnded);
    // Closing waits for the hand-over to end; the window keeps answering meanwhile.
    connect(&m_handOver, &PrintHandOver::idle, this, [this] {
        if (m_closing)
            m_screen.closeWindow();
    }, Qt::QueuedConnection);
}

void HandOverFlow::readTimeLimit()
{
    m_handOver.setFileTimeLimitSeconds(StationSettings::fileTimeLimitSeconds(SuitePaths::toNative(RunValues::WorkFolder())));
}

void HandOverFlow::jobEnded(const HandOverResult &result)
{
    // Unless the box was typed in or another job was queued since (it
    // starts at position 1 of the same row).
    if (result.dropped && m_screen.startLabelText().isEmpty() && !m_handOver.handingOver())
        m_screen.setStartLabelText(result.startPosition);
    switch (result.end) {
    case HandOverResult::End::Whole:
        m_screen.showPrintLine(PrintOutcome::thermal(result.labels(), int(result.labelsPerFile.size())).text());
        break;
    case HandOverResult::End::Stopped:
        m_screen.showPrintLine(PrintOutcome::handOverStopped(result.labels(), result.filesLeft).text() + keptText(result.jobsKept));
        break;
    case HandOverResult::End::Failed:
        m_screen.showPrintLine(PrintOutcome::thermalStopped(result.labels(), result.labelsCutOff).text());
        Messages::show(result.message);
        break;
    }
    if (!result.historyNote.isEmpty())
        m_screen.showPrintLine(m_screen.printLine() + result.historyNote);
}

void HandOverFlow::handOver(PrintJob job)
{
    readTimeLimit();
    m_screen.showContinueOffer(QString());
    // The job's files hold its blank positions, and its record keeps them for
    // "Continuar envio": from now on the box belongs to the next job, which
    // starts at position 1 unless told otherwise.
    job.startPosition = m_screen.startLabelText();
    m_screen.setStartLabelText(QString());
    m_screen.showPrintLine(PrintOutcome::thermalQueued(int(job.files.size())).text());
    // Its history number is taken on the history's worker; the job waits for
    // it in the line, the window does not.
    if (m_record)
        m_handOver.enqueue(std::move(job), m_record);
    else
        m_handOver.enqueue(std::move(job));
}

// "Continuar envio" shown for the jobs left with files to hand over, if any;
// `settleFirst` completes the history of those whose files all went.
void HandOverFlow::offer(bool settleFirst)
{
    if (m_handOver.busy() || RunValues::WorkFolder().isEmpty())
        return;
    const QString folder = stationFolder();
    if (settleFirst)
        m_handOver.settle(folder);
    const QList<ThermalJournal::Record> rests = m_handOver.pending(folder);
    m_screen.showContinueOffer(rests.isEmpty() ? QString() : continueCaption(rests));
}

void HandOverFlow::refreshOffer()
{
    offer(true);
}

void HandOverFlow::stopSending()
{
    m_handOver.stop();
    m_screen.setStopSending(QStringLiteral("Parando…"), false);
}

void HandOverFlow::continueSending()
{
    m_screen.showContinueOffer(QString());
    readTimeLimit();
    m_handOver.continuePending(stationFolder());
    refreshOffer();
}

bool HandOverFlow::mayClose()
{
    if (!m_handOver.handingOver() || m_closeAnyway)
        return true;
    if (m_closing)
        return false; // already waiting for the file to go
    const int limit = m_handOver.fileTimeLimitSeconds();
    // A job still waiting for its history number has no file under way yet.
    const bool sending = m_handOver.currentFileCount() > 0;
    const QString which = sending ? QStringLiteral("arquivo %1 de %2").arg(m_handOver.currentFile()).arg(m_handOver.currentFileCount())
                                  : QStringLiteral("o trabalho está na fila");
    if (!Messages::ask(QStringLiteral("Ainda há etiquetas sendo enviadas à impressora (%1).\r"
                                      "Fechando agora, o arquivo em envio termina (em até %2 s) e os seguintes não são "
                                      "enviados; eles ficam guardados e podem ser enviados depois com \"Continuar envio\".\r"
                                      "Fechar o programa assim mesmo?")
                           .arg(which)
                           .arg(limit)))
        return false;
    // The window keeps answering while the file goes: it closes when the
    // hand-over is idle, or at once if the clerk will not wait.
    m_handOver.stop();
    m_closing = true;
    m_screen.showClosingWait(sending ? QStringLiteral("Fechando: aguardando o %1 terminar de ir para a impressora "
                                                      "(no máximo %2 s).")
                                           .arg(which)
                                           .arg(limit)
                                     : QStringLiteral("Fechando: guardando o trabalho da fila para \"Continuar envio\"."));
    return false;
}

void HandOverFlow::closeAnyway()
{
    // The file cut off stays marked started: "Continuar envio" asks about it.
    m_closeAnyway = true;
    m_handOver.abandon();
    m_screen.closeWindow();
}
