#pragma once

#include <QString>

// The printer path of a station may name a CUPS queue ("cups:ZEBRA", or a bare
// "ZEBRA", as ImprEtiq.bat reads it). A queue that is missing, disabled or
// refuses jobs takes the files and keeps them, or drops them, and the batch
// file still ends well; so the queue is asked before a job is written.
namespace PrinterQueue {

// The queue the path names; empty for a device or a file (a path with "/" or
// "\") and for an empty path.
QString queueName(const QString &printerPath);

// Throws SelvarError, saying what to do, when the path names a queue that does
// not exist, is disabled or rejects jobs; nothing for a path that names no queue.
// Asks the scheduler CUPS_SERVER names, as lp does.
void check(const QString &printerPath);

} // namespace PrinterQueue
