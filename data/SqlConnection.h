#pragma once

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <functional>

// One database connection of the data module. It never asks for a login and is
// connected only while a data set is open on it: each open connects again and
// closing the last data set disconnects.
class SqlConnection : public QObject
{
    Q_OBJECT
public:
    SqlConnection(const QString &objectName, const QString &connectionName, QObject *parent = nullptr);
    ~SqlConnection() override;

    QString ConnectionName() const { return m_connectionName; }

    // The InterBase remote form "server:path"; an empty server means the embedded engine.
    QString DataBase() const { return m_database; }
    void setDataBase(const QString &database);

    QString VendorLib() const { return m_vendorLib; }
    void setVendorLib(const QString &vendorLib) { m_vendorLib = vendorLib; }

    // The driver parameters, in order, with the current DataBase.
    QStringList Params() const;

    bool Connected() const;
    void Close(); // disconnects (fails while data sets are open on it)

    // Runs one statement at once, outside the data sets, and commits it; inside
    // a job's transaction it becomes part of the job instead.
    void ExecuteDirect(const QString &statement);

    // What the database client opens: "server:path" unchanged, or the native file
    // of the embedded engine.
    QString attachName() const;
    bool embedded() const;

    // A job's transaction (see SuiteJob): every statement of every data set on this
    // connection joins it until it is committed or rolled back, and the connection
    // stays open meanwhile. A connection lost inside it is not opened again behind
    // the job's back: the job's work is gone with it, and every later statement
    // fails until the job ends.
    void BeginTransaction();
    // A commit the connection lost on its way fails as CommitUnknown: the
    // database may hold the job or not.
    void CommitTransaction();
    void RollbackTransaction(); // never fails: a transaction the database lost is undone already
    bool InTransaction() const { return m_transaction != Transaction::None; }

    // Used by the data sets: hold the connection open while a data set needs it.
    QSqlDatabase &acquire();
    void release();
    // acquire for the life of a scope.
    class Use
    {
    public:
        explicit Use(SqlConnection &connection) : m_connection(connection) { m_connection.acquire(); }
        ~Use() { m_connection.release(); }
        Use(const Use &) = delete;
        Use &operator=(const Use &) = delete;

    private:
        SqlConnection &m_connection;
    };

    // Outside a job, runs a piece of work on the database and, when it fails
    // because the attachment is gone (a server restarted, a network back),
    // once more on an attachment made anew: the work must be one that cannot
    // be done twice by it, a read or a single statement that was not committed.
    // A connection that cannot be made again fails in Portuguese (ConnectionLost).
    // Inside a job it runs once: the job's work went with the attachment.
    void onLiveAttachment(const std::function<void()> &work);
    // How many times an attachment was made again that way.
    quint64 reconnections() const { return m_reconnections; }

    // Runs one statement with bound parameters; outside an explicit transaction
    // the driver commits it at once. A commit the connection lost on the way
    // fails as CommitUnknown and is not tried again.
    QSqlQuery exec(const QString &statement, const QVariantList &params = {});
    // After a select's last row: a fetch the database broke off (a connection lost
    // halfway) fails like the statement would have, instead of passing for the end.
    void checkFetched(QSqlQuery &query);

    // The same for the insert, update and delete statements a data set applies:
    // they repeat thousands of times in a list build, so each text is prepared once
    // per connection.
    // Returns how many rows the statement changed when asked to count them (one
    // more call to the database), else -1.
    enum class Count { Skip, Rows };
    int execWrite(const QString &statement, const QVariantList &params, Count count = Count::Skip);

    // A test seam, off unless a test sets it. It runs on the committing thread
    // right after the database has committed a write of this program: a single
    // statement or ExecuteDirect (`statement` its text), or a job's transaction
    // (`statement` empty). A test acts there at the one moment nothing outside
    // can time: it stops the server between a job's commit and its read-back.
    // Returning true takes the commit's answer as lost on its way, as when the
    // network fails just then: the attachment is dropped and the caller fails
    // as for a real lost commit. Returns the seam it replaces.
    using CommitSeam = std::function<bool(SqlConnection &connection, const QString &statement)>;
    static CommitSeam setCommitSeam(CommitSeam seam);

private:
    bool commitAnswerLost(const QString &statement);
    void connectNow();
    void reconnectIfLost();
    QSqlQuery run(const QString &statement, const QVariantList &params);
    int runWrite(const QString &statement, const QVariantList &params, Count count);
    // After a statement the driver committed by itself: the driver does not
    // fail the statement when its commit fails.
    void checkCommitted(QSqlQuery &query);
    [[noreturn]] void commitFailed(const QSqlError &error);
    // Throw the error as a DatabaseError, dropping a connection the database has lost.
    [[noreturn]] void fail(const QSqlError &error);
    [[noreturn]] void fail(QSqlQuery &query);

    QString m_connectionName;
    QString m_qtName;
    QString m_database;
    QString m_vendorLib = QStringLiteral("gds32.dll");
    QSqlDatabase m_db;
    void dropPrepared();

    QHash<QString, QSqlQuery> m_prepared;
    int m_users = 0;
    enum class Transaction { None, Open, Lost };
    Transaction m_transaction = Transaction::None;
    bool m_direct = false; // ExecuteDirect's own transaction is open
    int m_retryDepth = 0;
    quint64 m_reconnections = 0;
};
