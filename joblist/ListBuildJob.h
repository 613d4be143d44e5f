#pragma once

#include "ListTotals.h"

#include <QString>
#include <optional>

class JobWait;
class ListBuildDisplay;
class TDM;

// A list build as a whole, on the data module of the thread that runs it:
// the typed quantities counted, the wait in line, the count again under the
// lock, and the build. A person is never asked anything here: when there are
// typed quantities nobody agreed to erase, the build stops before touching
// the list, lets the lock go, and hands back the count for the question; the
// caller asks it and runs the build again with the count agreed to.
class ListBuildJob
{
public:
    struct Outcome
    {
        bool needsConsent = false; // nothing was done: `typed` must be agreed to first
        ListTotals typed;          // counted as the database holds them
        int productsRead = 0;
        int rowsRefused = 0;
    };

    // `agreed`: the quantities the clerk agreed to erase; none yet, they are
    // counted before the wait in line and asked about before any wait. A
    // connection lost before the first product was stored (nothing of the new
    // list written) is made again and the build tried once more; any other
    // loss is said in Portuguese, with what was kept.
    static Outcome run(TDM &dm, const QString &station, std::optional<ListTotals> agreed, JobWait &wait,
                       ListBuildDisplay &display);

    // The text of a lost connection, after `stored` products were stored and
    // undone (0: none); `retried` when the second attempt failed too.
    static QString connectionLostText(int stored, bool retried);
    // The new list's commit lost on its way: it may be stored or not.
    static QString commitLostText();
};
