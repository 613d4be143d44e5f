#include "SqlConnection.h"

#include "DatabaseErrors.h"
#include "SelvarError.h"
#include "SuitePaths.h"

#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

namespace {

QString uniqueQtName(const QString &base)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("%1#%2").arg(base).arg(++counter);
}

} // namespace

SqlConnection::SqlConnection(const QString &objectName, const QString &connectionName, QObject *parent)
    : QObject(parent), m_connectionName(connectionName), m_qtName(uniqueQtName(connectionName))
{
    setObjectName(objectName);
}

SqlConnection::~SqlConnection()
{
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_qtName);
    }
}

void SqlConnection::setDataBase(const QString &database)
{
    if (m_users > 0)
        throw SelvarError(QStringLiteral("Cannot perform this operation on an open connection"));
    Close();
    m_database = database;
}

QStringList SqlConnection::Params() const
{
    return {
        QStringLiteral("DriverName=Interbase"),
        QStringLiteral("Database=") + m_database,
        QStringLiteral("RoleName=RoleName"),
        QStringLiteral("User_Name=sysdba"),
        QStringLiteral("Password=quiltmarr"),
        QStringLiteral("ServerCharSet=win1252"),
        QStringLiteral("SQLDialect=3"),
        QStringLiteral("BlobSize=-1"),
        QStringLiteral("CommitRetain=False"),
        QStringLiteral("WaitOnLocks=True"),
        QStringLiteral("ErrorResourceFile="),
        QStringLiteral("LocaleCode=0000"),
        QStringLiteral("Interbase TransIsolation=ReadCommited"),
        QStringLiteral("Trim Char=False"),
    };
}

bool SqlConnection::Connected() const
{
    return m_db.isValid() && m_db.isOpen();
}

void SqlConnection::Close()
{
    if (m_users > 0)
        return;
    m_prepared.clear();
    if (m_db.isValid())
        m_db.close();
}

void SqlConnection::connectNow()
{
    if (!m_db.isValid())
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_qtName);
    // "server:path" goes to that server unchanged; ":path" (no server) opens the
    // file in-process with the embedded engine, mapped into the suite folder.
    const qsizetype colon = m_database.indexOf(QLatin1Char(':'));
    const QString server = colon < 0 ? QString() : m_database.left(colon);
    if (server.isEmpty())
        m_db.setDatabaseName(SuitePaths::toNative(colon < 0 ? m_database : m_database.mid(colon + 1)));
    else
        m_db.setDatabaseName(m_database);
    m_db.setUserName(QStringLiteral("sysdba"));
    m_db.setPassword(QStringLiteral("quiltmarr"));
    m_db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1252"));
    if (!m_db.open())
        throw DatabaseError(databaseMessage(m_db.lastError()), m_db.lastError().nativeErrorCode().toInt());
}

QSqlDatabase &SqlConnection::acquire()
{
    if (!Connected())
        connectNow();
    ++m_users;
    return m_db;
}

void SqlConnection::release()
{
    if (m_users > 0 && --m_users == 0) {
        m_prepared.clear();
        m_db.close();
    }
}

// A connection the database dropped (server restarted, network lost, attachment
// shut down) is opened again by the next statement of a data set that holds it;
// every statement commits on its own, so no transaction is lost with it.
void SqlConnection::reconnectIfLost()
{
    if (m_users > 0 && !Connected())
        connectNow();
}

void SqlConnection::fail(const QSqlError &error)
{
    const DatabaseError failure(databaseMessage(error), error.nativeErrorCode().toInt());
    if (isConnectionFailure(failure)) {
        m_prepared.clear();
        m_db.close();
    }
    throw failure;
}

void SqlConnection::fail(QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    query.clear(); // no statement of a dropped connection may outlive it
    fail(error);
}

QSqlQuery SqlConnection::exec(const QString &statement, const QVariantList &params)
{
    reconnectIfLost();
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!query.prepare(statement))
        fail(query);
    for (int i = 0; i < params.size(); ++i)
        query.bindValue(i, params[i]);
    if (!query.exec())
        fail(query);
    return query;
}

int SqlConnection::execWrite(const QString &statement, const QVariantList &params, Count count)
{
    reconnectIfLost();
    auto it = m_prepared.find(statement);
    if (it == m_prepared.end()) {
        if (m_prepared.size() >= 64)
            m_prepared.clear();
        QSqlQuery query(m_db);
        if (!query.prepare(statement))
            fail(query);
        it = m_prepared.insert(statement, std::move(query));
    }
    for (int i = 0; i < params.size(); ++i)
        it->bindValue(i, params[i]);
    if (!it->exec())
        fail(it->lastError());
    return count == Count::Rows ? it->numRowsAffected() : -1;
}

void SqlConnection::ExecuteDirect(const QString &statement)
{
    acquire();
    struct Releaser { SqlConnection *c; ~Releaser() { c->release(); } } releaser{this};
    m_db.transaction();
    try {
        exec(statement);
    } catch (...) {
        m_db.rollback();
        throw;
    }
    if (!m_db.commit())
        throw DatabaseError(databaseMessage(m_db.lastError()));
}
