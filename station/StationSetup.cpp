#include "StationSetup.h"

#include "DatabaseErrors.h"
#include "SelvarError.h"

#include <QSqlDatabase>

namespace {

// Holds the connection open for one stretch of statements.
struct Held {
    SqlConnection &connection;
    QSqlDatabase &db;
    explicit Held(SqlConnection &c) : connection(c), db(c.acquire()) {}
    ~Held() { connection.release(); }
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;
};

} // namespace

StationSetup::StationSetup(const StationRequest &request)
    : m_request(request),
      m_connection(QStringLiteral("SQLConnection1"), QStringLiteral("BoticonDados")),
      m_files(request),
      m_row(m_connection, request),
      m_models(m_connection)
{
    if (!request.cupsQueue.isEmpty())
        m_queue.emplace(request.cupsQueue, request.deviceUri);
}

QStringList StationSetup::plan()
{
    const QString refusal = requestRefusal(m_request);
    if (!refusal.isEmpty())
        throw SelvarError(refusal);
    m_connection.setDataBase(m_request.database);
    const Held held(m_connection);
    QStringList steps = m_files.plan();
    steps += m_row.plan();
    steps += m_models.plan();
    if (m_queue)
        steps << m_queue->plan();
    m_planned = true;
    return steps;
}

QStringList StationSetup::apply()
{
    if (!m_planned)
        plan();
    // The row is written first and committed last, so that no failure of the
    // files or of CUPS leaves a row behind, and a refused row leaves no files.
    const Held held(m_connection);
    QSqlDatabase &db = held.db;
    db.transaction();
    try {
        m_row.write();
        const QStringList notes = m_models.write();
        m_files.make();
        if (m_queue)
            m_queue->make();
        if (!db.commit())
            throw DatabaseError(databaseMessage(db.lastError()));
        return notes;
    } catch (...) {
        db.rollback();
        m_files.undo();
        throw;
    }
}
