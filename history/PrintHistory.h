#pragma once

#include "PrintedJob.h"

#include <QByteArray>
#include <optional>

class HistoryStore;

// Follows each print from the job written to what really went out, and
// records that much. A sheet or a PDF puts the whole job out at once. A thermal
// job goes out file by file after the click: its products travel in the job's
// own record of the hand-over, with a job number reserved beforehand, and
// whenever files of it have gone out the history is brought up to them from
// that record, so a stop, a failure, a "Continuar envio" or a program killed
// and started again all end in one history job holding exactly what went out.
// Recording never stops a print: a failure becomes a note for the print line.
class PrintHistory
{
public:
    explicit PrintHistory(HistoryStore &store);

    // The job the click just wrote; the next output is this one's.
    void jobWritten(PrintedJob job) { m_current = std::move(job); }
    // The click ended without (more) output for it.
    void jobDropped() { m_current.reset(); }

    // The whole job went to a sheet printer or a PDF. Returns the note for the
    // print line: empty when the history was written.
    QString wholeJobOut(const QString &output);

    // The job just written goes to the thermal hand-over: what its record
    // keeps for the history. Empty when no job was written.
    QByteArray thermalRecord();
    // Files of a thermal job went out: the first `filesDone`, which held these
    // many positions each (skipped ones counted). The history is brought up to
    // them, whatever of it an earlier call or an earlier program wrote.
    // Returns the note, as above.
    QString thermalOut(const QByteArray &record, const QList<int> &positionsPerFile, int filesDone);

    // " — o histórico de etiquetas não pôde ser gravado"
    static QString failureNote();

private:
    HistoryStore &m_store;
    std::optional<PrintedJob> m_current;
};
