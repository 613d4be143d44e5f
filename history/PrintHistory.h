#pragma once

#include "PrintedJob.h"

#include <QByteArray>
#include <QList>
#include <functional>
#include <optional>

class HistoryStore;
class HistoryWork;

// Follows each print from the job written to what really went out, and
// records that much. A sheet or a PDF puts the whole job out at once. A thermal
// job goes out file by file after the click: its products travel in the job's
// own record of the hand-over, with a job number reserved beforehand, and
// whenever files of it have gone out the history is brought up to them from
// that record, so a stop, a failure, a "Continuar envio" or a program killed
// and started again all end in one history job holding exactly what went out.
// Recording never stops a print: a failure becomes a note for the print line.
//
// What a print put out is copied when the print notes it (the list may
// change right after) and written on the history's worker, in the order the
// prints asked; the note comes back by queued call.
class PrintHistory
{
public:
    // A note for the print line: empty when the history was written.
    using Noted = std::function<void(const QString &note)>;

    // `store` takes a thermal job's number at once; `work` writes, on the
    // database `database` names at the moment of each write.
    PrintHistory(HistoryStore &store, HistoryWork &work, std::function<QString()> database);

    // The job the click just wrote; the next output is this one's.
    void jobWritten(PrintedJob job) { m_current = std::move(job); }
    // The click ended without (more) output for it.
    void jobDropped() { m_current.reset(); }

    // The whole job went to a sheet printer or a PDF.
    void wholeJobOut(const QString &output, Noted noted);

    // The job just written goes to the thermal hand-over: what its record
    // keeps for the history, with a job number taken on the history's worker,
    // is handed to `given` on this thread; at once, and empty, when no job was
    // written. The print never waits long for the history: with no number
    // after kNumberWaitMs the record goes without one, and the history then
    // holds the job only if it goes out whole.
    static constexpr int kNumberWaitMs = 5000;
    void thermalRecord(std::function<void(const QByteArray &record)> given);
    // Files of a thermal job went out: the first `filesDone`, which held these
    // many positions each (skipped ones counted). The history is brought up to
    // them, whatever of it an earlier call or an earlier program wrote.
    // A whole job without a number takes one first, handed to `keep` on the
    // history's worker (it puts the record in the job's own record and says
    // why it could not) before the history is written under it; without
    // `keep` nothing durable holds the number.
    using Keep = std::function<QString(const QByteArray &record)>;
    void thermalOut(const QByteArray &record, const QList<int> &positionsPerFile, int filesDone, Keep keep, Noted noted);
    void thermalOut(const QByteArray &record, const QList<int> &positionsPerFile, int filesDone, Noted noted);

    // " — o histórico de etiquetas não pôde ser gravado"
    static QString failureNote();

    // The writes themselves, on whichever thread owns `store`. A failure of
    // the database throws; a part that cannot be told apart returns the note.
    static void recordWhole(HistoryStore &store, const PrintedJob &job, const QString &output, qint64 *jobId);
    // The record of a thermal job numbered `jobId`, 0 when no number could be taken.
    static QByteArray thermalRecord(const PrintedJob &job, qint64 jobId);
    // A record without a number writes nothing and returns the note: it
    // must be numbered first, so that the same job run again writes once.
    static QString recordThermal(HistoryStore &store, const QByteArray &record, const QList<int> &positionsPerFile,
                                 int filesDone);

private:
    HistoryStore &m_store;
    HistoryWork &m_work;
    std::function<QString()> m_database;
    std::optional<PrintedJob> m_current;
};
