#pragma once

#include "JobLock.h"
#include "SelvarError.h"

#include <QString>

class SqlConnection;

// Another station holds the job lock; the text says which and what it is doing.
class JobBusyError : public SelvarError
{
public:
    using SelvarError::SelvarError;
};

// The user cancelled the job; the text says what was cancelled.
class JobCancelled : public SelvarError
{
public:
    using SelvarError::SelvarError;
};

// A list build or a print: one station at a time across the suite, and all or
// nothing. Constructing it takes the suite-wide lock (or throws JobBusyError at
// once); Begin starts the one transaction on the data module's connection that
// every post, delete and statement of the job joins; Commit makes the job
// everyone's at once; anything that ends the job without Commit rolls it back.
// The lock is held until the object ends, so a print keeps it while its output
// reads the job it has just committed.
class SuiteJob
{
public:
    enum class Kind { ListBuild, Print };

    SuiteJob(SqlConnection &connection, const QString &station, Kind kind);
    ~SuiteJob();
    SuiteJob(const SuiteJob &) = delete;
    SuiteJob &operator=(const SuiteJob &) = delete;

    void Begin();
    void Commit();
    void Rollback();

    // Inside a catch block: rolls the job back and throws the error being
    // handled again, of the same kind, its text followed by `kept` (what the
    // user still has: "A lista anterior foi mantida.").
    [[noreturn]] void RollbackAndRethrow(const QString &kept);

    // The text a refused station shows: who holds the lock, doing what.
    static QString busyMessage(const QString &holderStation, const QString &holderJob);

private:
    void recordHolder(const QString &station, Kind kind);
    QString holderMessage();

    SqlConnection &m_connection;
    JobLock m_lock;
};
