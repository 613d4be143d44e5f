#include "SuiteJob.h"

#include "SqlConnection.h"

#include <QSqlQuery>

namespace {

QString jobName(SuiteJob::Kind kind)
{
    return kind == SuiteJob::Kind::ListBuild ? QStringLiteral("LISTA") : QStringLiteral("IMPRESSAO");
}

} // namespace

SuiteJob::SuiteJob(SqlConnection &connection, const QString &station, Kind kind) : m_connection(connection)
{
    if (!m_lock.acquire(connection.attachName(), connection.embedded()))
        throw JobBusyError(holderMessage());
    try {
        recordHolder(station, kind);
    } catch (...) {
        m_lock.release();
        throw;
    }
}

SuiteJob::~SuiteJob()
{
    Rollback();
    m_lock.release();
}

// Row 2 of the lock's table names the holder. It is written, and committed, by
// the holder alone right after it took the lock, so whoever is refused next
// reads the right name.
void SuiteJob::recordHolder(const QString &station, Kind kind)
{
    m_connection.acquire();
    struct Releaser { SqlConnection &c; ~Releaser() { c.release(); } } releaser{m_connection};
    m_connection.exec(QStringLiteral("update or insert into SELVAR_TRAVA (ID, ESTACAO, TRABALHO, INICIO) "
                                     "values (2, ?, ?, current_timestamp) matching (ID)"),
                      {station, jobName(kind)});
}

QString SuiteJob::holderMessage()
{
    m_connection.acquire();
    struct Releaser { SqlConnection &c; ~Releaser() { c.release(); } } releaser{m_connection};
    QSqlQuery query = m_connection.exec(QStringLiteral("select ESTACAO, TRABALHO from SELVAR_TRAVA where ID = 2"));
    if (!query.next())
        return busyMessage(QString(), QString());
    return busyMessage(query.value(0).toString().trimmed(), query.value(1).toString().trimmed());
}

QString SuiteJob::busyMessage(const QString &holderStation, const QString &holderJob)
{
    const QString who = holderStation.isEmpty() ? QStringLiteral("Outra estação")
                                                : QStringLiteral("A estação %1").arg(holderStation);
    QString doing;
    if (holderJob == jobName(Kind::ListBuild))
        doing = QStringLiteral("está montando a lista de produtos");
    else if (holderJob == jobName(Kind::Print))
        doing = QStringLiteral("está imprimindo etiquetas");
    else
        doing = QStringLiteral("está montando a lista ou imprimindo etiquetas");
    return QStringLiteral("%1 %2 neste momento. Aguarde alguns instantes e tente de novo.").arg(who, doing);
}

void SuiteJob::Begin()
{
    m_connection.BeginTransaction();
}

void SuiteJob::Commit()
{
    m_connection.CommitTransaction();
}

void SuiteJob::Rollback()
{
    m_connection.RollbackTransaction();
}

void SuiteJob::RollbackAndRethrow(const QString &kept)
{
    Rollback();
    try {
        throw;
    } catch (const JobCancelled &cancelled) {
        throw JobCancelled(cancelled.message() + QLatin1Char(' ') + kept);
    } catch (const DatabaseError &error) {
        throw DatabaseError(error.message() + QLatin1Char('\n') + kept, error.nativeCode());
    } catch (const SelvarError &error) {
        throw SelvarError(error.message() + QLatin1Char('\n') + kept);
    } catch (const std::exception &error) {
        throw SelvarError(QString::fromLocal8Bit(error.what()) + QLatin1Char('\n') + kept);
    }
}
