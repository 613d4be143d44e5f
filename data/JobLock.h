#pragma once

#include <QString>
#include <memory>

// The suite-wide job lock: row 1 of SELVAR_TRAVA, changed by a transaction that
// lasts the whole job, on an attachment of the lock's own. Firebird itself keeps
// the lock: a second changer is refused at once (its transaction does not wait),
// and when the holder ends, dies or loses its connection, the server ends its
// transaction and the row is free again.
//
// The lock talks to the database client library directly, not through Qt's
// driver: the driver starts every transaction with Firebird's default parameters
// (snapshot, waiting on locks), and a lock that waits would freeze the second
// station until the first one ends instead of telling it at once.
class JobLock
{
public:
    JobLock();
    ~JobLock();
    JobLock(const JobLock &) = delete;
    JobLock &operator=(const JobLock &) = delete;

    // `database` is what the client library opens ("server:path", or, when
    // `embedded`, a native file for the embedded engine). True when this
    // station now holds the lock, false when another one does. A failure of the
    // database throws DatabaseError. Creates SELVAR_TRAVA when the database
    // lacks it.
    bool acquire(const QString &database, bool embedded);
    // The same in two steps, for a station that waits: open attaches once,
    // tryTake tries once and may be called again and again.
    void open(const QString &database, bool embedded);
    bool tryTake();
    void release();
    bool held() const;

    static const char *tableDefinition();

private:
    void createTable();

    struct Handles;
    std::unique_ptr<Handles> m;
};
