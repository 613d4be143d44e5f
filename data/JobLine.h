#pragma once

#include <QString>

class SqlConnection;

// The line of stations waiting for the suite-wide job lock: one row per waiting
// station in SELVAR_FILA, numbered in the order the stations asked. A waiting
// station marks its row as seen about once a second; a row not seen for
// DeadAfterSeconds belongs to a station that died, left the network or closed,
// and whoever looks at the line next takes it out. The lock goes to the first
// live row, so stations are served in the order they asked.
class JobLine
{
public:
    static constexpr int DeadAfterSeconds = 5;

    // Takes a place at the end of the line; creates the table when the
    // database lacks it. A database failure throws DatabaseError.
    JobLine(SqlConnection &connection, const QString &station, const QString &job);
    // Leaves the line; never throws (a row left behind dies by itself).
    ~JobLine();
    JobLine(const JobLine &) = delete;
    JobLine &operator=(const JobLine &) = delete;

    // Keeps the place (marking it seen when due, taking it again should a
    // slow moment have let it die) and says whether no live station is ahead.
    bool atFront();

    static QStringList definitions(); // the table and the sequence that numbers it

private:
    void join();
    void markSeen();

    SqlConnection &m_connection;
    QString m_station;
    QString m_job;
    qint64 m_ticket = 0;
    qint64 m_seenAtMs = -1;
};
