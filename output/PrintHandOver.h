#pragma once

#include "HandOverResult.h"
#include "PrintJob.h"

#include <QObject>
#include <QQueue>

#include <optional>

namespace ProcessStarter {
struct Outcome;
}

// The hand-over of thermal jobs to the printer: one queue per program. A job's
// command files are all written first, so a full disk or a read-only folder
// never sends half a job; then the batch file runs for one file at a time, in
// file order, each run waited for from the event loop, with a time limit, and
// its exit status checked. A job waits for the job before it to end, since
// both use the same file names. A run that fails stops its job: the files
// after it stay unsent, and the message says which file failed and how many
// labels had gone out. The files not handed over stay on record in the work
// folder (PendingFiles) until the rest is handed over or a new job replaces them.
class PrintHandOver : public QObject
{
    Q_OBJECT
public:
    // A run that has not ended after this long is ended: a batch file that
    // hangs would otherwise hold every later job.
    static constexpr int DefaultFileTimeLimitSeconds = 60;

    explicit PrintHandOver(QObject *parent = nullptr);
    ~PrintHandOver() override;

    void setFileTimeLimitSeconds(int seconds) { m_timeLimitSeconds = seconds; }
    int fileTimeLimitSeconds() const { return m_timeLimitSeconds; }

    // Queues the job; it starts at once when nothing else is being handed over.
    // A new job (firstFileNumber 1) replaces whatever rest of an earlier job was pending.
    void enqueue(PrintJob job);

    // "Parar envio": the job being handed over stops once the file being sent
    // has gone; jobs queued behind it are dropped. No effect when idle.
    void stop();

    // The rest of a stopped job of the station whose batch file is
    // `batchFile`, when there is one to hand over.
    static std::optional<PrintJob> pending(const QString &batchFile);

    // A job is being written or handed over, or waits for its turn.
    bool busy() const { return m_running || !m_waiting.isEmpty(); }
    // "arquivo 12 de 334" of the job being handed over; 0 of 0 when idle.
    int currentFile() const { return m_running ? m_job.firstFileNumber + m_next : 0; }
    int currentFileCount() const { return m_running ? m_job.fileCount() : 0; }

    // Runs the event loop until nothing is left to hand over, at most
    // `timeoutMs` (negative: no limit). True when idle.
    bool waitUntilIdle(int timeoutMs = -1);

    // "6 etiquetas já foram enviadas à impressora." and its singular and zero forms.
    static QString labelsSentText(int labels);

signals:
    // File `fileNumber` of `fileCount` of the current job goes to the batch file now.
    void sending(int fileNumber, int fileCount);
    // Every file of a job went to the printer.
    void jobHandedOver(int labels, int files);
    // A job stopped; `message` is for the user, `labelsSent` went out before it stopped.
    void jobFailed(const QString &message, int labelsSent);
    // Every end of a job (whole, failed, stopped), file by file.
    void jobEnded(const HandOverResult &result);
    // Nothing is left to hand over.
    void idle();

private:
    void startNextJob();
    bool writeFiles();
    void runNextFile();
    void runEnded(const ProcessStarter::Outcome &outcome);
    void fail(const QString &message);
    void finish(HandOverResult::End end, const QString &message = {});

    QQueue<PrintJob> m_waiting;
    PrintJob m_job;
    bool m_running = false;
    bool m_closing = false;
    bool m_stopRequested = false;
    bool m_starting = false;
    int m_timeLimitSeconds = DefaultFileTimeLimitSeconds;
    int m_next = 0;               // files of the current job handed over or being handed over
    QList<int> m_labelsPerFile;   // labels of each file of the current job whose run ended well
};
