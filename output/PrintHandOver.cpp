#include "PrintHandOver.h"

#include "PendingFiles.h"
#include "ProcessStarter.h"
#include "TextFile.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTimer>

#include <numeric>

namespace {

// As long as a copy to the printer is let finish when the program closes.
constexpr int kGraceAtCloseMs = 30000;

QString shortName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString filesLeftText(int files)
{
    if (files <= 0)
        return {};
    return files == 1 ? QStringLiteral(" O arquivo seguinte não foi enviado.")
                      : QStringLiteral(" Os %1 arquivos seguintes não foram enviados.").arg(files);
}

// Why a run of the batch file did not end well, in the user's words.
QString failureReason(const QString &batch, const ProcessStarter::Outcome &outcome)
{
    QString why;
    if (!outcome.started)
        why = QStringLiteral("não foi possível executar %1: %2").arg(batch, outcome.error);
    else if (!outcome.error.isEmpty())
        why = QStringLiteral("%1 foi %2").arg(batch, outcome.error);
    else
        why = QStringLiteral("%1 terminou com o código %2").arg(batch).arg(outcome.exitCode);
    if (!outcome.errorOutput.isEmpty())
        why += QStringLiteral(" (%1)").arg(outcome.errorOutput);
    return why;
}

} // namespace

PrintHandOver::PrintHandOver(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("PrintHandOver"));
    qRegisterMetaType<HandOverResult>();
}

PrintHandOver::~PrintHandOver()
{
    m_waiting.clear();
    m_closing = true;
    // The file being sent when the program closes is let finish; when it went
    // out, it comes off the record of what is left, so that "Continuar envio"
    // never sends it twice.
    if (m_running) {
        for (QProcess *run : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
            if (run->waitForFinished(kGraceAtCloseMs) && run->exitStatus() == QProcess::NormalExit && run->exitCode() == 0)
                PendingFiles::record(m_job, m_next + 1);
        }
    }
    m_running = false;
    qDeleteAll(findChildren<QObject *>(Qt::FindDirectChildrenOnly));
}

QString PrintHandOver::labelsSentText(int labels)
{
    if (labels == 0)
        return QStringLiteral("Nenhuma etiqueta foi enviada à impressora.");
    if (labels == 1)
        return QStringLiteral("1 etiqueta já foi enviada à impressora.");
    return QStringLiteral("%1 etiquetas já foram enviadas à impressora.").arg(labels);
}

void PrintHandOver::enqueue(PrintJob job)
{
    m_waiting.enqueue(std::move(job));
    if (!m_running)
        startNextJob();
}

void PrintHandOver::stop()
{
    if (m_running)
        m_stopRequested = true;
}

std::optional<PrintJob> PrintHandOver::pending(const QString &batchFile)
{
    return PendingFiles::load(batchFile);
}

bool PrintHandOver::waitUntilIdle(int timeoutMs)
{
    if (!busy())
        return true;
    QEventLoop loop;
    connect(this, &PrintHandOver::idle, &loop, &QEventLoop::quit);
    if (timeoutMs >= 0)
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return !busy();
}

void PrintHandOver::startNextJob()
{
    // A job that ends while this loop starts it (a file that cannot be
    // written, a stop) is followed by the loop itself.
    if (m_starting)
        return;
    m_starting = true;
    const auto done = qScopeGuard([this] { m_starting = false; });
    while (!m_running && !m_waiting.isEmpty()) {
        m_job = m_waiting.dequeue();
        m_running = true;
        m_stopRequested = false;
        m_next = 0;
        m_labelsPerFile.clear();
        if (!QFileInfo(m_job.batchFile).isFile()) {
            fail(QStringLiteral("O arquivo %1 não foi encontrado; ele é quem envia as etiquetas à impressora.\r%2")
                     .arg(m_job.batchFile, labelsSentText(0)));
        } else if (writeFiles()) {
            runNextFile();
        }
    }
    if (!m_running)
        emit idle();
}

bool PrintHandOver::writeFiles()
{
    // The files about to be written replace those an earlier rest was kept in.
    PendingFiles::discard(m_job.batchFile);
    for (const CommandFile &file : std::as_const(m_job.files)) {
        // Written aside and put in place when whole: a printer never gets half
        // a file, whatever the disk does.
        const QString error = TextFile::writeWhole(file.path, file.bytes);
        if (!error.isEmpty()) {
            fail(QStringLiteral("Não foi possível gravar o arquivo de etiquetas %1 (%2).\r%3")
                     .arg(file.path, error, labelsSentText(0)));
            return false;
        }
    }
    const QString error = PendingFiles::record(m_job, 0);
    if (!error.isEmpty()) {
        fail(QStringLiteral("Não foi possível gravar o arquivo %1 (%2).\r%3")
                 .arg(PendingFiles::recordPath(m_job.batchFile), error, labelsSentText(0)));
        return false;
    }
    return true;
}

void PrintHandOver::runNextFile()
{
    if (m_next >= m_job.files.size()) {
        finish(HandOverResult::End::Whole);
        return;
    }
    if (m_stopRequested) {
        finish(HandOverResult::End::Stopped);
        return;
    }
    const CommandFile &file = m_job.files[m_next];
    emit sending(currentFile(), currentFileCount());
    ProcessStarter::runBatch(
        this, m_job.batchFile, {file.path, m_job.printerPath},
        [this](const ProcessStarter::Outcome &outcome) { runEnded(outcome); }, m_timeLimitSeconds * 1000);
}

void PrintHandOver::runEnded(const ProcessStarter::Outcome &outcome)
{
    if (m_closing)
        return;
    const CommandFile &done = m_job.files[m_next];
    if (!outcome.succeeded()) {
        fail(QStringLiteral("O envio de %1 à impressora falhou: %2.\r%3%4")
                 .arg(shortName(done.path), failureReason(shortName(m_job.batchFile), outcome),
                      labelsSentText(std::accumulate(m_labelsPerFile.cbegin(), m_labelsPerFile.cend(), 0)),
                      filesLeftText(int(m_job.files.size()) - m_next - 1)));
        return;
    }
    m_labelsPerFile.append(done.labels);
    ++m_next;
    // Should the record fail now, the next file's run tells the user soon
    // enough; this file went out and is off the record in memory either way.
    PendingFiles::record(m_job, m_next);
    runNextFile();
}

void PrintHandOver::fail(const QString &message)
{
    finish(HandOverResult::End::Failed, message);
}

void PrintHandOver::finish(HandOverResult::End end, const QString &message)
{
    HandOverResult result{end, m_job.firstFileNumber, m_labelsPerFile, int(m_job.files.size()) - m_next, message};
    const int files = int(m_job.files.size());
    m_running = false;
    m_job = PrintJob();
    m_next = 0;
    m_labelsPerFile.clear();
    if (end == HandOverResult::End::Stopped)
        m_waiting.clear(); // "Parar envio" stops the printer line, not one job of it
    emit jobEnded(result);
    if (end == HandOverResult::End::Whole)
        emit jobHandedOver(result.labels(), files);
    else if (end == HandOverResult::End::Failed)
        emit jobFailed(message, result.labels());
    startNextJob();
}
