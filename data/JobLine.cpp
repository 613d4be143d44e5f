#include "JobLine.h"

#include "SelvarError.h"
#include "SqlConnection.h"

#include <QDateTime>
#include <QSqlQuery>

namespace {

constexpr qint64 kSeenEveryMs = 1000;

QString aliveSince()
{
    return QStringLiteral("dateadd(%1 second to current_timestamp)").arg(-JobLine::DeadAfterSeconds);
}

// A table or sequence the database does not know.
bool unknownObject(const DatabaseError &error)
{
    return error.nativeCode() == -204 || error.message().contains(QLatin1String("Table unknown"), Qt::CaseInsensitive);
}

struct Held
{
    explicit Held(SqlConnection &c) : connection(c) { connection.acquire(); }
    ~Held() { connection.release(); }
    SqlConnection &connection;
};

} // namespace

QStringList JobLine::definitions()
{
    return {QStringLiteral("create table SELVAR_FILA (ID bigint not null, ESTACAO varchar(3), TRABALHO varchar(20), "
                           "VISTO timestamp, constraint PK_SELVAR_FILA primary key (ID))"),
            QStringLiteral("create sequence SELVAR_FILA_NUM")};
}

JobLine::JobLine(SqlConnection &connection, const QString &station, const QString &job)
    : m_connection(connection), m_station(station), m_job(job)
{
    const Held held(m_connection);
    try {
        join();
    } catch (const DatabaseError &error) {
        if (!unknownObject(error))
            throw;
        // A database of the suite that never met this program: the table is
        // ours to add. Two stations may race to add it; the loser uses the winner's.
        for (const QString &definition : definitions()) {
            try {
                m_connection.ExecuteDirect(definition);
            } catch (const DatabaseError &) {
            }
        }
        join();
    }
}

JobLine::~JobLine()
{
    try {
        const Held held(m_connection);
        m_connection.exec(QStringLiteral("delete from SELVAR_FILA where ID = ?"), {m_ticket});
    } catch (const SelvarError &) {
    }
}

void JobLine::join()
{
    QSqlQuery next = m_connection.exec(QStringLiteral("select next value for SELVAR_FILA_NUM from RDB$DATABASE"));
    next.next();
    m_ticket = next.value(0).toLongLong();
    markSeen();
}

void JobLine::markSeen()
{
    m_connection.exec(QStringLiteral("update or insert into SELVAR_FILA (ID, ESTACAO, TRABALHO, VISTO) "
                                     "values (?, ?, ?, current_timestamp) matching (ID)"),
                      {m_ticket, m_station, m_job});
    m_seenAtMs = QDateTime::currentMSecsSinceEpoch();
}

bool JobLine::atFront()
{
    const Held held(m_connection);
    if (QDateTime::currentMSecsSinceEpoch() - m_seenAtMs >= kSeenEveryMs) {
        markSeen();
        // Two stations may take out the same dead row at once; one of them
        // meets the other's delete, which is no failure of the line.
        try {
            m_connection.exec(QStringLiteral("delete from SELVAR_FILA where VISTO < ") + aliveSince());
        } catch (const DatabaseError &) {
        }
    }
    QSqlQuery ahead = m_connection.exec(QStringLiteral("select count(*) from SELVAR_FILA where ID < ? and VISTO >= ")
                                            + aliveSince(),
                                        {m_ticket});
    ahead.next();
    return ahead.value(0).toLongLong() == 0;
}
