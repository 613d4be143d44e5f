#include "SqlConnection.h"

#include "DatabaseErrors.h"
#include "LostConnection.h"
#include "EmbeddedEngineSettings.h"
#include "SelvarError.h"
#include "SuitePaths.h"

#include <QSqlError>
#include <QSqlQuery>
#include <atomic>
#include <mutex>
#include <optional>
#include <utility>

namespace {

std::mutex commitSeamMutex;
SqlConnection::CommitSeam commitSeam;
std::atomic<bool> commitSeamSet{false};

// What the client says when a commit's answer never comes.
QSqlError lostAnswer()
{
    return QSqlError(QStringLiteral("Error reading data from the connection."), QString(), QSqlError::TransactionError,
                     QStringLiteral("-902"));
}

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

// "server:path" goes to that server unchanged; ":path" (no server) opens the
// file in-process with the embedded engine, mapped into the suite folder.
QString SqlConnection::attachName() const
{
    if (!embedded())
        return m_database;
    const qsizetype colon = m_database.indexOf(QLatin1Char(':'));
    return SuitePaths::toNative(colon < 0 ? m_database : m_database.mid(colon + 1));
}

bool SqlConnection::embedded() const
{
    return m_database.indexOf(QLatin1Char(':')) <= 0;
}

void SqlConnection::connectNow()
{
    if (!m_db.isValid())
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_qtName);
    m_db.setDatabaseName(attachName());
    m_db.setUserName(QStringLiteral("sysdba"));
    m_db.setPassword(QStringLiteral("quiltmarr"));
    m_db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1252"));
    std::optional<EmbeddedEngineSettings> settings;
    if (embedded())
        settings.emplace(attachName());
    if (!m_db.open()) {
        const DatabaseError failure(databaseMessage(m_db.lastError()), m_db.lastError().nativeErrorCode().toInt());
        if (isConnectionFailure(failure))
            throw ConnectionLost(QStringLiteral("Não foi possível conectar ao banco de dados: nada foi lido nem gravado. "
                                                "Confira a rede e o servidor e tente de novo. (%1)")
                                     .arg(failure.message()),
                                 failure.nativeCode());
        throw failure;
    }
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
        dropPrepared();
        m_db.close();
    }
}

// A prepared statement keeps the transaction it last ran in; once that one has
// ended (or begun) it must be prepared again.
void SqlConnection::dropPrepared()
{
    m_prepared.clear();
}

// A connection the database dropped (server restarted, network lost, attachment
// shut down) is opened again by the next statement of a data set that holds it:
// outside a job every statement commits on its own, so nothing is lost with it.
// Inside a job the job's transaction died with it.
void SqlConnection::reconnectIfLost()
{
    if (m_transaction == Transaction::Lost)
        throw ConnectionLost(QStringLiteral("A conexão com o banco de dados foi perdida no meio do trabalho."), -902);
    if (m_users > 0 && !Connected())
        connectNow();
}

void SqlConnection::fail(const QSqlError &error)
{
    const DatabaseError failure(databaseMessage(error), error.nativeErrorCode().toInt());
    if (isConnectionFailure(failure)) {
        dropPrepared();
        if (m_transaction == Transaction::Open || m_direct) {
            // The driver forgets its transaction only when told to end it; left
            // alone, the dead handle would be taken for the next job's.
            m_db.rollback();
            if (m_transaction == Transaction::Open)
                m_transaction = Transaction::Lost;
            m_direct = false;
        }
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

// A statement that failed before its commit was sent was never committed: the
// database undoes it with the attachment, so running it again writes it once.
// A lost commit is another matter, and so is anything inside a job.
void SqlConnection::onLiveAttachment(const std::function<void()> &work)
{
    if (m_retryDepth > 0 || InTransaction() || m_direct) {
        work();
        return;
    }
    ++m_retryDepth;
    struct Depth { int &depth; ~Depth() { --depth; } } depth{m_retryDepth};
    try {
        work();
        return;
    } catch (const ConnectionLost &) {
        throw; // told already: a reconnect that failed, or a commit lost on its way
    } catch (const DatabaseError &error) {
        if (m_users == 0 || !LostConnection::runAgain(error, 1, LostConnection::Commit::Unknown))
            throw;
    }
    try {
        ++m_reconnections;
        reconnectIfLost();
        work();
    } catch (const ConnectionLost &) {
        throw;
    } catch (const DatabaseError &error) {
        if (!isConnectionFailure(error))
            throw;
        throw ConnectionLost(connectionNotBackText(QStringLiteral("nada foi lido nem gravado"), error.message()),
                             error.nativeCode());
    }
}

SqlConnection::CommitSeam SqlConnection::setCommitSeam(CommitSeam seam)
{
    const std::lock_guard<std::mutex> lock(commitSeamMutex);
    commitSeamSet.store(bool(seam));
    return std::exchange(commitSeam, std::move(seam));
}

bool SqlConnection::commitAnswerLost(const QString &statement)
{
    if (!commitSeamSet.load())
        return false;
    CommitSeam seam;
    {
        const std::lock_guard<std::mutex> lock(commitSeamMutex);
        seam = commitSeam;
    }
    return seam && seam(*this, statement);
}

void SqlConnection::checkCommitted(QSqlQuery &query)
{
    if (m_transaction != Transaction::None || m_direct)
        return;
    if (query.lastError().type() == QSqlError::NoError && (query.isSelect() || !commitAnswerLost(query.lastQuery())))
        return;
    const QSqlError error = query.lastError().type() == QSqlError::NoError ? lostAnswer() : query.lastError();
    query.clear(); // no statement of a dropped connection may outlive it
    commitFailed(error);
}

// The driver forgets a transaction whose commit failed without ending it: it
// stays open on the attachment, holding what it wrote. Dropping the attachment
// undoes it; the next statement attaches again.
void SqlConnection::commitFailed(const QSqlError &error)
{
    const DatabaseError failure(databaseMessage(error), error.nativeErrorCode().toInt());
    dropPrepared();
    m_db.close();
    if (!isConnectionFailure(failure))
        throw failure; // refused at its commit: nothing of it stays
    throw CommitUnknown(commitUnknownText(failure.message()), failure.nativeCode());
}

QSqlQuery SqlConnection::exec(const QString &statement, const QVariantList &params)
{
    QSqlQuery query;
    onLiveAttachment([&] { query = run(statement, params); });
    return query;
}

QSqlQuery SqlConnection::run(const QString &statement, const QVariantList &params)
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
    checkCommitted(query);
    return query;
}

void SqlConnection::checkFetched(QSqlQuery &query)
{
    if (query.lastError().type() != QSqlError::NoError)
        fail(query);
}

int SqlConnection::execWrite(const QString &statement, const QVariantList &params, Count count)
{
    int changed = -1;
    onLiveAttachment([&] { changed = runWrite(statement, params, count); });
    return changed;
}

int SqlConnection::runWrite(const QString &statement, const QVariantList &params, Count count)
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
    checkCommitted(*it);
    return count == Count::Rows ? it->numRowsAffected() : -1;
}

void SqlConnection::ExecuteDirect(const QString &statement)
{
    if (InTransaction()) {
        exec(statement);
        return;
    }
    const Use use(*this);
    onLiveAttachment([&] {
        reconnectIfLost();
        if (!m_db.transaction())
            fail(m_db.lastError());
        m_direct = true;
        try {
            run(statement, {});
        } catch (...) {
            if (m_direct)
                m_db.rollback();
            m_direct = false;
            throw;
        }
        m_direct = false;
        if (!m_db.commit())
            commitFailed(m_db.lastError());
        if (commitAnswerLost(statement))
            commitFailed(lostAnswer());
    });
}

void SqlConnection::BeginTransaction()
{
    if (InTransaction())
        throw SelvarError(QStringLiteral("%1: a job is already running on this connection").arg(objectName()));
    acquire();
    dropPrepared();
    if (!m_db.transaction()) {
        const QSqlError error = m_db.lastError();
        release();
        fail(error);
    }
    m_transaction = Transaction::Open;
}

void SqlConnection::CommitTransaction()
{
    if (m_transaction == Transaction::None)
        return;
    reconnectIfLost(); // a lost transaction cannot be committed: it fails as lost
    dropPrepared();
    if (!m_db.commit()) {
        const QSqlError error = m_db.lastError();
        RollbackTransaction();
        // A commit sent and never answered may have landed: the job is not
        // known to be undone, so nobody may say it was.
        if (isConnectionFailure(DatabaseError(databaseMessage(error), error.nativeErrorCode().toInt())))
            commitFailed(error);
        fail(error);
    }
    m_transaction = Transaction::None;
    release();
    if (commitAnswerLost(QString()))
        commitFailed(lostAnswer());
}

void SqlConnection::RollbackTransaction()
{
    if (m_transaction == Transaction::None)
        return;
    dropPrepared();
    if (m_transaction == Transaction::Open && Connected() && !m_db.rollback()) {
        // The database lost it (or will, when it notices the connection is
        // gone): either way nothing of it is kept. This connection is not to be
        // trusted any more; the next statement opens a fresh one.
        m_db.close();
    }
    m_transaction = Transaction::None;
    release();
}
