#pragma once

#include "JobLock.h"
#include "SelvarError.h"

#include <QString>

class SqlConnection;

// What a station shows while it waits its turn for the lock, and how it lets
// its user give up. In the program it is a line on the window with the seconds
// waited and "Cancelar"; the window keeps answering meanwhile.
class JobWait
{
public:
    virtual ~JobWait() = default;
    // "Aguardando a estação 07 terminar de imprimir…", after `seconds` of waiting.
    virtual void waiting(const QString &text, int seconds) = 0;
    // Lets the station live for about `ms`; false when its user cancelled.
    virtual bool pause(int ms) = 0;
    // How long a station waits before it gives up and says so.
    virtual int limitMs() const { return 120000; }
};

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
// nothing. Constructing it takes the suite-wide lock: without a JobWait it
// throws JobBusyError at once when another station holds it; with one, the
// station waits in line (JobLine) until its turn, its user cancels
// (JobCancelled) or the wait's limit passes (JobBusyError naming the holder).
// Begin starts the one transaction on the data module's connection that
// every post, delete and statement of the job joins; Commit makes the job
// everyone's at once; anything that ends the job without Commit rolls it back.
// The lock is held until the object ends, so a print keeps it while its output
// reads the job it has just committed.
class SuiteJob
{
public:
    enum class Kind { ListBuild, Print };

    SuiteJob(SqlConnection &connection, const QString &station, Kind kind, JobWait *wait = nullptr);
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
    // "Aguardando a estação 07 terminar de imprimir…".
    static QString waitingMessage(const QString &holderStation, const QString &holderJob);

private:
    void recordHolder(const QString &station, Kind kind);
    void waitTurn(const QString &station, Kind kind, JobWait &wait);
    QString holderMessage();
    QPair<QString, QString> holder();

    SqlConnection &m_connection;
    JobLock m_lock;
};
