#include "LostConnection.h"

namespace LostConnection {

bool commitLost(const DatabaseError &error)
{
    return dynamic_cast<const CommitUnknown *>(&error) != nullptr;
}

bool runAgain(const DatabaseError &error, int attempt, Commit commit)
{
    if (attempt > 1 || !isConnectionFailure(error))
        return false;
    return !commitLost(error) || commit == Commit::WrittenOnce;
}

} // namespace LostConnection
