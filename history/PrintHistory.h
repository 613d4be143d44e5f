#pragma once

#include "PrintedJob.h"

#include <QQueue>
#include <functional>
#include <optional>

class HistoryStore;

// Follows each print from the job written to what really went out, and
// records that much. A sheet or a PDF puts the whole job out at once. A thermal
// job goes out file by file after the click, so it waits in a line of its own,
// in the order the hand-over takes jobs, until the hand-over says how far it
// got; the rest of a job whose hand-over stopped is kept (also on disk, for a
// program started again) until "Continuar envio" puts it out or a new job
// replaces it. Recording never stops a print: a failure becomes a note for
// the print line.
class PrintHistory
{
public:
    // `restFile`: where the rest of a stopped thermal job is kept (a native
    // path in the station's work folder), asked for at every use.
    PrintHistory(HistoryStore &store, std::function<QString()> restFile);

    // The job the click just wrote; the next output is this one's.
    void jobWritten(PrintedJob job) { m_current = std::move(job); }
    // The click ended without (more) output for it.
    void jobDropped() { m_current.reset(); }

    // The whole job went to a sheet printer or a PDF. Returns the note for the
    // print line: empty when the history was written.
    QString wholeJobOut(const QString &output);

    // The job went to the hand-over's line as files holding these many
    // positions each (skipped ones counted); the rest of an earlier stopped
    // job can no longer go out.
    void thermalQueued(const QList<int> &positionsPerFile);
    // The first job of the line starts going out: from now on a program
    // closed or killed leaves its record for "Continuar envio".
    void thermalStarted();
    // A hand-over ended: a new job's (firstFileNumber 1, the first of the
    // line) or the rest of a stopped one (from file firstFileNumber; the files
    // before it went out, also those a closed program never reported). The
    // files it handed over held these many positions each; `restLeft` when
    // files of it are still to go. Returns the note, as above.
    QString thermalEnded(int firstFileNumber, const QList<int> &positionsPerFile, bool restLeft);
    // Nothing is left to hand over: any job still in the line was dropped.
    void handOverIdle() { m_line.clear(); }

    // " — o histórico de etiquetas não pôde ser gravado"
    static QString failureNote();

private:
    struct Going
    {
        PrintedJob job;
        qint64 positionsDone = 0;
        qint64 jobId = 0;
        QList<int> filePositions;
    };
    QString write(Going &going, qint64 positions, const QString &output);
    void keepRest(const Going &going);
    void dropRest();
    std::optional<Going> rest();

    HistoryStore &m_store;
    std::function<QString()> m_restFile;
    std::optional<PrintedJob> m_current;
    QQueue<Going> m_line;
    std::optional<Going> m_rest;
};
