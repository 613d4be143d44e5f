#include "PrintHandOver.h"

#include "ProcessStarter.h"
#include "TextFile.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

namespace {

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
}

PrintHandOver::~PrintHandOver()
{
    m_waiting.clear();
    m_running = false;
    m_closing = true;
    // A run still going is waited for here, while the queue can still hear it end.
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
    while (!m_running && !m_waiting.isEmpty()) {
        m_job = m_waiting.dequeue();
        m_running = true;
        m_next = 0;
        m_labelsSent = 0;
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
    return true;
}

void PrintHandOver::runNextFile()
{
    if (m_next >= m_job.files.size()) {
        const int labels = m_labelsSent;
        const int files = int(m_job.files.size());
        endJob();
        emit jobHandedOver(labels, files);
        startNextJob();
        return;
    }
    const CommandFile &file = m_job.files[m_next];
    emit sending(m_next + 1, int(m_job.files.size()));
    ProcessStarter::runBatch(this, m_job.batchFile, {file.path, m_job.printerPath},
                             [this](const ProcessStarter::Outcome &outcome) { runEnded(outcome); });
}

void PrintHandOver::runEnded(const ProcessStarter::Outcome &outcome)
{
    if (m_closing)
        return;
    const CommandFile &done = m_job.files[m_next];
    if (!outcome.succeeded()) {
        fail(QStringLiteral("O envio de %1 à impressora falhou: %2.\r%3%4")
                 .arg(shortName(done.path), failureReason(shortName(m_job.batchFile), outcome), labelsSentText(m_labelsSent),
                      filesLeftText(int(m_job.files.size()) - m_next - 1)));
        startNextJob();
        return;
    }
    m_labelsSent += done.labels;
    ++m_next;
    runNextFile();
}

void PrintHandOver::fail(const QString &message)
{
    const int sent = m_labelsSent;
    endJob();
    emit jobFailed(message, sent);
}

void PrintHandOver::endJob()
{
    m_running = false;
    m_job = PrintJob();
    m_next = 0;
    m_labelsSent = 0;
}
