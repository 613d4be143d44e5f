#pragma once

#include "DatabaseErrors.h"

// The one answer to work that meets a connection the database dropped (a
// server restarted, a network lost). The work's transaction went with the
// attachment, so the database undid it: it runs once more, on an attachment
// made anew. A second loss in a row is a server still away, told as such by
// the caller. A commit whose answer was lost is another matter: the work may
// be in the database or not, so it runs again only when running it twice
// writes it once.
namespace LostConnection {

// What a lost commit leaves of the work.
enum class Commit {
    Unknown,     // maybe written, maybe not: not run again, the caller says it is not known (CommitUnknown)
    WrittenOnce, // it replaces what it wrote whole, or reads first what is there: running it again is safe
};

// True when the connection fell while the work's commit was on its way.
bool commitLost(const DatabaseError &error);

// True when work that failed with `error` on its run `attempt` (the first
// is 1) is to run once more.
bool runAgain(const DatabaseError &error, int attempt, Commit commit);

// Runs `work(attempt)`, and once more by runAgain's rule after
// `beforeAgain(error)` (which may throw to give up instead).
template <typename Work, typename BeforeAgain>
auto retried(Commit commit, Work &&work, BeforeAgain &&beforeAgain) -> decltype(work(1))
{
    for (int attempt = 1;; ++attempt) {
        try {
            return work(attempt);
        } catch (const DatabaseError &error) {
            if (!runAgain(error, attempt, commit))
                throw;
            beforeAgain(error);
        }
    }
}

} // namespace LostConnection
