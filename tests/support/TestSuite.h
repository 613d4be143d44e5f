#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A suite folder of its own for one test: BOTICON_ROOT points at a temporary
// folder, and the suite's main database is created there from deploy/schema.sql.
class TestSuite
{
public:
    TestSuite();
    ~TestSuite();

    bool isValid() const { return m_dir.isValid(); }
    QString root() const { return m_dir.path(); }
    QString path(const QString &relative) const; // native path inside the suite folder

    // Throw-away databases turn Firebird's forced writes off, so a test's commits
    // do not each wait for the disk; a pharmacy's database keeps them on.
    enum class Writes { Async, Forced };

    // Creates <root>/dados/boticon.bd (the file behind "C:\boticon\dados\boticon.bd"); false on failure.
    bool createMainDatabase(Writes writes = Writes::Async);
    QString mainDatabasePath() const { return path(QStringLiteral("dados/boticon.bd")); }

    // Runs a statement on the main database through a connection of the test's own.
    void exec(const QString &sql, const QVariantList &params = {});
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    QList<QVariantList> rows(const QString &sql);
    // Leaves the main database, so that the program is alone with it, as on a
    // counter (the embedded engine takes its settings from the first to open it).
    void disconnect();

    // Creates a database file with the schema; used for server databases too.
    static bool createDatabase(const QString &fileOrServerPath, QString *error = nullptr, Writes writes = Writes::Async);

    // The Firebird server that scripts/test starts, when there is one
    // (SELVAR_REQUIRE_SERVER below is how a test asks for it).
    static bool serverAvailable();
    // A fresh database on the server: returns its DataBase text ("127.0.0.1:/var/tmp/...").
    static QString createServerDatabase(const QString &name);

private:
    QSqlDatabase database();

    QTemporaryDir m_dir;
    QString m_connectionName;
    QByteArray m_previousRoot;
};

// A test on the shared server skips where scripts/test could not start one, and
// fails under CI, where a skip would hide that several stations were never tried.
#define SELVAR_REQUIRE_SERVER()                                                              \
    do {                                                                                     \
        if (!TestSuite::serverAvailable()) {                                                 \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))                         \
                QFAIL("no Firebird server was started for this run");                        \
            QSKIP("no Firebird server was started for this run (scripts/test starts one)"); \
        }                                                                                    \
    } while (false)
