#pragma once

#include "PrintHandOver.h"

#include <QTest>
#include <climits>

// Runs the event loop until the hand-over has nothing left to do (files to
// hand over, what went out to record), at most `timeoutMs` (negative: no
// limit). True when it is idle. Only tests and benches wait like this: the
// program itself goes on from the hand-over's own signals.
inline bool waitUntilIdle(PrintHandOver &handOver, int timeoutMs = -1)
{
    return QTest::qWaitFor([&handOver] { return !handOver.busy(); }, timeoutMs < 0 ? INT_MAX : timeoutMs);
}
