#pragma once

#include "PrintJob.h"

#include <QObject>
#include <QQueue>

namespace ProcessStarter {
struct Outcome;
}

// The hand-over of thermal jobs to the printer: one queue per program. A job's
// command files are all written first, so a full disk or a read-only folder
// never sends half a job; then the batch file runs for one file at a time, in
// file order, each run waited for from the event loop and its exit status
// checked. A job waits for the job before it to end, since both use the same
// file names. A run that fails stops its job: the files after it stay unsent,
// and the message says which file failed and how many labels had gone out.
class PrintHandOver : public QObject
{
    Q_OBJECT
public:
    explicit PrintHandOver(QObject *parent = nullptr);
    ~PrintHandOver() override;

    // Queues the job; it starts at once when nothing else is being handed over.
    void enqueue(PrintJob job);

    // A job is being written or handed over, or waits for its turn.
    bool busy() const { return m_running || !m_waiting.isEmpty(); }
    // "arquivo 12 de 334" of the job being handed over; 0 of 0 when idle.
    int currentFile() const { return m_running ? m_next + 1 : 0; }
    int currentFileCount() const { return m_running ? int(m_job.files.size()) : 0; }

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
    // Nothing is left to hand over.
    void idle();

private:
    void startNextJob();
    bool writeFiles();
    void runNextFile();
    void runEnded(const ProcessStarter::Outcome &outcome);
    void fail(const QString &message);
    void endJob();

    QQueue<PrintJob> m_waiting;
    PrintJob m_job;
    bool m_running = false;
    bool m_closing = false;
    int m_next = 0;       // files of the current job handed over or being handed over
    int m_labelsSent = 0; // labels of the current job whose run ended well
};
