#pragma once

#include "HandOverResult.h"
#include "PrintJob.h"
#include "ThermalJournal.h"

#include <QObject>
#include <QQueue>

#include <functional>
#include <memory>

class HandOverDisk;

namespace ProcessStarter {
struct Outcome;
}

// The hand-over of thermal jobs to the printer: one queue per program. A job's
// command files are all written first, so a full disk or a read-only folder
// never sends half a job; then the batch file runs for one file at a time, in
// file order, each run waited for from the event loop, with a time limit, and
// its exit status checked; a run past the time limit is ended and its file
// counts as maybe printed. A job waits for the job before it to end, since
// both use the same file names. A run that fails stops its job: the files
// after it stay unsent, and the message says which file failed and how many
// labels had gone out. Each job has one record of its own (ThermalJournal),
// written when it is queued and marked before and after every file: a job
// whose record cannot be written does not go out. The files not handed over
// stay on that record until "Continuar envio" sends them or a new job
// replaces them; the print history is completed from it, whatever stopped
// the job, also in a program started again.
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

    // Records what went out of a job (its files up to `filesDone` are on the
    // printer), then calls `recorded` with a note for the user, empty when
    // recorded: at once or later, on this object's thread, calls answered in
    // the order made. Called when a job's hand-over ends and for every record
    // left behind whose files all went out or that a new job replaced; it
    // must give the same history however often it is called. The job's
    // record stays until it is answered with an empty note. `keep` puts a
    // history record given anew (a history number taken only now) into the
    // job's record, before anything is written from it, and says why it could
    // not: a later call then writes to that same number. It may be called on
    // the history's thread: it only appends to the record's file, which the
    // hand-over no longer marks once the job is being recorded.
    using Recorded = std::function<void(const QString &note)>;
    using Keep = std::function<QString(const QByteArray &history)>;
    using Recorder = std::function<void(const PrintJob &job, int filesDone, Keep keep, Recorded recorded)>;
    void setRecorder(Recorder recorder) { m_recorder = std::move(recorder); }

    // Queues the job; it starts at once when nothing else is being handed over.
    // A new job gets its record now; it replaces the records of stopped jobs
    // of its station that are not in this line (their command files are about
    // to be overwritten): they are no longer offered to "Continuar envio", and
    // each is removed once its history is written, kept until then. A test
    // print keeps no record and replaces none.
    void enqueue(PrintJob job);
    // The same for a job whose history record is still being made (a number
    // is taken for it on the history's own thread): `ask` is called now and
    // hands the record to the function it is given, on this object's thread.
    // The job takes its place in the line at once; it gets its own record and
    // starts when the history record comes, so nothing goes out unrecorded.
    using HistoryGiven = std::function<void(const QByteArray &history)>;
    using HistoryAsk = std::function<void(HistoryGiven given)>;
    void enqueue(PrintJob job, const HistoryAsk &ask);

    // "Parar envio": the job being handed over stops once the file being sent
    // has gone; the jobs queued behind it stay on record, to go out after it
    // with "Continuar envio". No effect when idle.
    void stop();

    // The program closes now: the file being sent is cut off (it stays marked
    // started, so "Continuar envio" asks about it) and nothing else goes.
    void abandon();

    // The jobs recorded in the work folder `folder` with files still to hand
    // over and not in this line, oldest first, without their files' bytes
    // (ThermalJournal::inFolder).
    QList<ThermalJournal::Record> pending(const QString &folder) const;
    // Records whose files all went out (the program ended before their history
    // was written), and replaced ones, get their history now and are removed
    // once it is written.
    void settle(const QString &folder);
    // "Continuar envio": queues every pending job of the folder in order, each
    // from its first file not marked done. A file the batch file was running
    // when the program ended is resent only if the user says so; when not,
    // it is marked done on the disk thread, and its job goes on from the
    // file after it only once the mark is on disk. A mark that cannot be
    // written stops there, with a message: that job and the ones after it
    // stay offered. Returns the jobs taken up.
    int continuePending(const QString &folder);

    // A job is being written or handed over, or waits for its turn.
    bool handingOver() const { return m_running || !m_waiting.isEmpty(); }
    // ... or the history of one is being recorded.
    bool busy() const { return handingOver() || !m_recording.isEmpty() || !m_continuing.isEmpty(); }
    // "arquivo 12 de 334" of the job being handed over; 0 of 0 when idle.
    int currentFile() const { return m_running ? m_next + 1 : 0; }
    int currentFileCount() const { return m_running ? m_job.fileCount() : 0; }

    // "6 etiquetas já foram enviadas à impressora." and its singular and zero forms.
    static QString labelsSentText(int labels);
    // What the print line adds to a history note when the record is kept for it.
    static QString historyPendingText();

signals:
    // File `fileNumber` of `fileCount` of the current job goes to the batch file now.
    void sending(int fileNumber, int fileCount);
    // File `fileNumber` went out and is marked so on the job's record.
    void fileDone(int fileNumber);
    // Every file of a job went to the printer.
    void jobHandedOver(int labels, int files);
    // A job stopped; `message` is for the user, `labelsSent` went out before it stopped.
    void jobFailed(const QString &message, int labelsSent);
    // Every end of a job (whole, failed, stopped), file by file, once what
    // went out is recorded.
    void jobEnded(const HandOverResult &result);
    // Nothing is left to hand over.
    void idle();
    // The history of a replaced job could not be written: its record is kept,
    // and the history is written from it later (settle). `note` is for the
    // print line.
    void historyKept(const QString &note);

private:
    void startNextJob();
    void writeFiles();
    void filesWritten(const QString &path, const QString &error);
    void runNextFile();
    void startMarked(const QString &error);
    void runEnded(const ProcessStarter::Outcome &outcome);
    void doneMarked(const QString &error);
    // Puts a mark on the current job's record on the disk thread, then
    // answers `then` with why it could not, unless the job was cut off.
    void mark(std::function<QString()> write, std::function<void(const QString &error)> then);
    int sentLabels() const;
    void forgetIfUnstarted();
    void fail(const QString &message);
    void finish(HandOverResult::End end, const QString &message = {});
    void record(const PrintJob &job, int filesDone, Recorded then);
    // The record goes once its history is written; `tell` says a failure on the print line.
    void removeOnceRecorded(const ThermalJournal::Record &left, bool tell);
    void idleIfDone();
    bool inLine(const QString &journal) const;
    void replaceStopped(const QString &folder);
    void continueWith(QList<ThermalJournal::Record> records);
    void doneMarked(ThermalJournal::Record rest, QList<ThermalJournal::Record> records, const QString &error);

    struct Queued
    {
        PrintJob job;
        QString recordError = QString(); // why its record could not be written
        bool fresh = false;  // a new job, not the rest of a recorded one
        quint64 ticket = 0;
        bool awaiting = false; // its history record, or its own record, is not here yet
        bool recordAsked = false; // its own record is being written on the disk thread
        bool kept = false;     // "Parar envio" came while it was awaited: recorded, not started
    };
    void replaceStopped(const Queued &queued);
    void admit(Queued &queued);
    void keptJobUnrecorded(const Queued &queued);
    void recordWritten(quint64 ticket, const QString &error, const QList<CommandFile> &files);
    void admitted(QQueue<Queued>::iterator queued);
    int keepWaiting();
    void historyGiven(quint64 ticket, const QByteArray &history);
    QQueue<Queued> m_waiting;
    quint64 m_tickets = 0;
    Recorder m_recorder;
    QStringList m_recording; // records of jobs whose history is being written, kept till it is
    QStringList m_continuing; // records "Continuar envio" took up and has not queued yet
    bool m_fresh = false; // the current job is new: its record was written when it was queued
    PrintJob m_job;
    bool m_running = false;
    bool m_closing = false;
    bool m_stopRequested = false;
    bool m_starting = false;
    bool m_finishing = false;
    int m_timeLimitSeconds = DefaultFileTimeLimitSeconds;
    int m_next = 0;               // index of the current job's file being handed over
    QList<int> m_labelsPerFile;   // labels of each file of the current job whose run ended well
    int m_cutOff = 0;             // labels of the file whose run the time limit ended
    std::unique_ptr<HandOverDisk> m_disk; // last: gone first, before anything its answers touch
};
