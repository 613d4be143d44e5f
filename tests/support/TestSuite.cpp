#include "TestSuite.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <stdexcept>

namespace {

// The embedded engine keeps its lock files in one folder for the whole machine;
// a test process that hangs or dies while holding one would stall every other
// test. Each test process (and the isql-fb it starts) gets a lock folder of its own.
void isolateFirebirdLocks()
{
    static bool done = false;
    if (done || !qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
        return;
    done = true;
    const QString folder = QDir::temp().filePath(QStringLiteral("selvar-fblock-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(folder);
    qputenv("FIREBIRD_LOCK", folder.toLocal8Bit());
}

} // namespace

TestSuite::TestSuite()
    : m_connectionName(QStringLiteral("testsuite-") + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      m_previousRoot(qgetenv("BOTICON_ROOT"))
{
    isolateFirebirdLocks();
    qputenv("BOTICON_ROOT", m_dir.path().toLocal8Bit());
}

TestSuite::~TestSuite()
{
    disconnect();
    if (m_previousRoot.isEmpty())
        qunsetenv("BOTICON_ROOT");
    else
        qputenv("BOTICON_ROOT", m_previousRoot);
}

void TestSuite::disconnect()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

QString TestSuite::path(const QString &relative) const
{
    return QDir(m_dir.path()).filePath(relative);
}

bool TestSuite::createDatabase(const QString &target, QString *error, Writes writes)
{
    QProcess process;
    QStringList arguments{target};
    if (writes == Writes::Async)
        arguments.prepend(QStringLiteral("--async-writes"));
    process.start(QStringLiteral(SELVAR_SOURCE_DIR "/scripts/create-db"), arguments);
    process.waitForFinished(60000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (error)
            *error = QString::fromLocal8Bit(process.readAllStandardError() + process.readAllStandardOutput());
        return false;
    }
    return true;
}

bool TestSuite::createMainDatabase(Writes writes)
{
    QString error;
    if (!createDatabase(mainDatabasePath(), &error, writes)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    return true;
}

QSqlDatabase TestSuite::database()
{
    if (!QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_connectionName);
        db.setDatabaseName(mainDatabasePath());
        db.setUserName(QStringLiteral("sysdba"));
        db.setPassword(QStringLiteral("quiltmarr"));
        db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1252"));
    }
    QSqlDatabase db = QSqlDatabase::database(m_connectionName);
    if (!db.isOpen() && !db.open())
        throw std::runtime_error(db.lastError().text().toStdString());
    return db;
}

namespace {

QSqlQuery run(QSqlDatabase db, const QString &sql, const QVariantList &params)
{
    QSqlQuery query(db);
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!query.prepare(sql))
        throw std::runtime_error((sql + QStringLiteral(": ") + query.lastError().text()).toStdString());
    for (int i = 0; i < params.size(); ++i)
        query.bindValue(i, params[i]);
    if (!query.exec())
        throw std::runtime_error((sql + QStringLiteral(": ") + query.lastError().text()).toStdString());
    return query;
}

} // namespace

void TestSuite::exec(const QString &sql, const QVariantList &params)
{
    QSqlDatabase db = database();
    db.transaction();
    run(db, sql, params);
    db.commit();
}

QVariant TestSuite::scalar(const QString &sql, const QVariantList &params)
{
    QSqlDatabase db = database();
    db.transaction();
    QSqlQuery query = run(db, sql, params);
    const QVariant value = query.next() ? query.value(0) : QVariant();
    query.finish();
    db.commit();
    return value;
}

QList<QVariantList> TestSuite::rows(const QString &sql)
{
    QSqlDatabase db = database();
    db.transaction();
    QSqlQuery query = run(db, sql, {});
    QList<QVariantList> result;
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        result << row;
    }
    query.finish();
    db.commit();
    return result;
}

bool TestSuite::serverAvailable()
{
    return !qEnvironmentVariable("SELVAR_TEST_SERVER").isEmpty() && !qEnvironmentVariable("SELVAR_TEST_SERVER_DBDIR").isEmpty();
}

QString TestSuite::createServerDatabase(const QString &name)
{
    const QString file = QDir(qEnvironmentVariable("SELVAR_TEST_SERVER_DBDIR"))
                             .filePath(name + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".fdb"));
    const QString text = qEnvironmentVariable("SELVAR_TEST_SERVER") + QLatin1Char(':') + file;
    QString error;
    if (!createDatabase(text, &error)) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    return text;
}
