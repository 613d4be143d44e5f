#pragma once

#include "PrintedJob.h"

#include <QQueue>
#include <optional>

class HistoryStore;

// Follows each print from the job written to what really went out, and
// records that much. A sheet or a PDF puts the whole job out at once; a thermal
// job goes out file by file after the click, so it waits in a line of its own,
// in the order the hand-over takes jobs, until the hand-over says how far it got.
// Recording never stops a print: a failure becomes a note for the print line.
class PrintHistory
{
public:
    explicit PrintHistory(HistoryStore &store) : m_store(store) {}

    // The job the click just wrote; the next output is this one's.
    void jobWritten(PrintedJob job) { m_current = std::move(job); }
    // The click ended without (more) output for it.
    void jobDropped() { m_current.reset(); }

    // The whole job went to a sheet printer or a PDF. Returns the note for the
    // print line: empty when the history was written.
    QString wholeJobOut(const QString &output);

    // The job went to the hand-over's line.
    void thermalQueued();
    // The first job of the line put out `positions` more positions (skipped
    // ones counted) after those already recorded. Returns the note, as above.
    QString thermalOut(qint64 positions);
    // The first job of the line is done with; whatever did not go out is not recorded.
    void thermalEnded();
    int thermalWaiting() const { return int(m_line.size()); }

    // " — o histórico de etiquetas não pôde ser gravado"
    static QString failureNote();

private:
    struct Going
    {
        PrintedJob job;
        qint64 positionsDone = 0;
        qint64 jobId = 0;
    };
    QString write(Going &going, qint64 positions, const QString &output);

    HistoryStore &m_store;
    std::optional<PrintedJob> m_current;
    QQueue<Going> m_line;
};
