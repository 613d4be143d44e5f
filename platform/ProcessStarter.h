#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

// Runs a batch file of the installation in the background: "cmd /c" on
// Windows, /bin/sh elsewhere. The caller is told how the run ended, from the
// event loop, so the window keeps answering while a printer copy takes its time.
// Tests replace the real run with a starter of their own to see every start.
namespace ProcessStarter {

// How one run ended: it could not start (`error` says why), or it ended with
// `exitCode`; a run killed by a signal counts as not ended well (`error` set).
struct Outcome
{
    bool started = false;
    int exitCode = -1;
    QString error;
    QString errorOutput; // the last line the batch file wrote to its error output
    bool timedOut = false; // ended by the time limit, not by itself


    bool succeeded() const { return started && exitCode == 0 && error.isEmpty(); }
};

using Finished = std::function<void(const Outcome &outcome)>;

// Starts the run and returns at once; `finished` is called once, on the thread
// of `context`, unless `context` is destroyed first (the run is then waited for
// a little and killed, so no copy is left half done by surprise). The run reads
// an empty standard input, so a "pause" or "read" in the batch file returns at
// once; a run still going after `timeLimitMs` (0: none) is ended, with every
// process it started.
void runBatch(QObject *context, const QString &batchFile, const QStringList &arguments, Finished finished,
              int timeLimitMs = 0);

// Ends every run started with `context` at once, with what each started, and
// never reports them: the program closes without waiting for them.
void endRuns(QObject *context);

// A stand-in for the real run: called with what the batch file would get; true
// counts as a run that ended well, false as one that ended with exit code 1.
using Starter = std::function<bool(const QString &batchFile, const QStringList &arguments)>;

// Returns the previous stand-in (empty: the real run).
Starter setStarter(Starter starter);

} // namespace ProcessStarter
