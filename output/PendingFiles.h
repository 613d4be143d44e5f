#pragma once

#include "PrintJob.h"

#include <optional>

// The command files of a thermal job not yet handed over, kept on record in the
// work folder ("EnvioPendente.txt", with how far it got in "EnvioProximo.txt") from the moment the job starts until its
// last file went out. A hand-over that stops (a failure, the time limit,
// "Parar envio", the program closed or killed) leaves the record, and the rest
// of the job can be handed over later from the files themselves, without
// building the job again. How far it got is rewritten after every file, so a
// file is never handed over twice.
namespace PendingFiles {

// Where the record of the station whose batch file is `batchFile` lies.
QString recordPath(const QString &batchFile);

// Records `job` from file index `next` on; an empty rest removes the record.
// Returns why the record could not be written, or an empty text.
QString record(const PrintJob &job, int next);

// Forgets whatever is pending for this batch file's station.
void discard(const QString &batchFile);

// The rest of the job recorded for this batch file's station, its files read
// back from the work folder; nothing when there is no record or a file of it
// is gone (the rest could no longer be handed over whole).
std::optional<PrintJob> load(const QString &batchFile);

} // namespace PendingFiles
