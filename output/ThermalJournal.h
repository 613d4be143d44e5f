#pragma once

#include "PrintJob.h"

#include <QList>
#include <QString>

#include <optional>

// The one durable record of a thermal job: a file of its own in the station's
// work folder ("Envio-<identidade>.txt"), from the moment the job is queued
// until its last file went out and its history is written. Its first line
// holds the job whole (batch file, printer path, every command file with its
// bytes and labels, and the history's record of the job); every line after it
// is a mark, "iniciado N" before file N goes to the batch file, "enviado N"
// once the batch file ended well or "falhou N" once it ended badly (a run the
// time limit ended is not marked: it may have printed), each on disk before
// the program goes on.
// The hand-over, "Continuar envio" and the history read how far the job got
// from here and from nowhere else.
namespace ThermalJournal {

// A name of its own for the record of a new job, beside its batch file: the
// job can be known by it while the record is still being written.
QString newRecordPath(const PrintJob &job);
// Writes the record of a new job at job.journal, or at a new name it then
// sets there. Returns why it could not be written, or an empty text.
QString create(PrintJob &job);

// The marks; each returns why it could not be put on disk, or an empty text.
QString markStarted(const QString &journal, int fileNumber);
QString markDone(const QString &journal, int fileNumber);
// A run that ended badly ended all the same: it is not asked about later.
QString markFailed(const QString &journal, int fileNumber);
// A new job of the station overwrote the job's command files: it is never
// continued, and its record stays only until its history is written.
QString markReplaced(const QString &journal);
// The history's record of the job, given anew (a history number taken since
// it was queued): what the history is written from from now on.
QString keepHistory(const QString &journal, const QByteArray &history);

void remove(const QString &journal);

// A job as its record left it, firstFileNumber the first file not marked
// done: from load() every file with its path and bytes; from inFolder() only
// the labels of each file, which is all that the offer to continue, the
// history and the replacing of stopped jobs need.
struct Record
{
    PrintJob job;
    qint64 created = 0;
    // The file marked started and not done: the program ended while the batch
    // file ran it, so it may be on the printer already. 0 when none.
    int interrupted = 0;
    bool replaced = false; // marked so by markReplaced

    int filesDone() const { return job.firstFileNumber - 1; }
    bool whole() const { return filesDone() >= job.files.size(); }
};

std::optional<Record> load(const QString &journal);

// Every job recorded in the work folder `folder`, oldest first, without its
// files' paths and bytes: cheap enough to ask on every idle moment.
QList<Record> inFolder(const QString &folder);

// "etiquetas 19–21" of file `fileNumber`: the positions it holds on the stock.
QString positionsText(const PrintJob &job, int fileNumber);

} // namespace ThermalJournal
