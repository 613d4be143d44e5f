#include "SuiteJob.h"

#include "DatabaseErrors.h"
#include "JobLine.h"
#include "SqlConnection.h"

#include <QElapsedTimer>

#include <array>
#include <QSqlQuery>

namespace {

// How often a waiting station looks at the line and the lock: the gap between
// one job's end and the next one's start.
constexpr int kPollMs = 100;

QString jobName(SuiteJob::Kind kind)
{
    return kind == SuiteJob::Kind::ListBuild ? QStringLiteral("LISTA") : QStringLiteral("IMPRESSAO");
}

} // namespace

SuiteJob::SuiteJob(SqlConnection &connection, const QString &station, Kind kind, JobWait *wait) : m_connection(connection)
{
    if (!wait) {
        if (!m_lock.acquire(connection.attachName(), connection.embedded()))
            throw JobBusyError(holderMessage());
    }
    try {
        if (wait)
            waitTurn(station, kind, *wait);
        recordHolder(station, kind);
    } catch (...) {
        m_lock.release();
        throw;
    }
}

// The lock is tried only by the station at the front of the line, so a station
// that arrives just as the lock comes free does not pass those already waiting.
void SuiteJob::waitTurn(const QString &station, Kind kind, JobWait &wait)
{
    m_lock.open(m_connection.attachName(), m_connection.embedded());
    JobLine line(m_connection, station, jobName(kind));
    QElapsedTimer clock;
    clock.start();
    qint64 shownAt = -1;
    for (;;) {
        if (line.atFront() && m_lock.tryTake())
            return;
        const qint64 waited = clock.elapsed();
        if (waited >= wait.limitMs()) {
            const auto [holderStation, holderJob] = holder();
            const QString limit = wait.limitMs() % 60000 == 0 ? QStringLiteral("%1 minutos").arg(wait.limitMs() / 60000)
                                                              : QStringLiteral("%1 s").arg(wait.limitMs() / 1000);
            throw JobBusyError(busyMessage(holderStation, holderJob).section(QLatin1String(" neste momento"), 0, 0)
                               + QStringLiteral(" há mais de %1; a espera foi encerrada e nada foi feito. "
                                                "Tente de novo mais tarde.").arg(limit));
        }
        if (shownAt < 0 || waited - shownAt >= 1000) {
            shownAt = waited;
            const auto [holderStation, holderJob] = holder();
            wait.waiting(waitingMessage(holderStation, holderJob), int(waited / 1000));
        }
        if (!wait.pause(kPollMs))
            throw JobCancelled(kind == Kind::Print ? QStringLiteral("Espera cancelada: nada foi impresso.")
                                                   : QStringLiteral("Espera cancelada: a lista anterior foi mantida."));
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

QPair<QString, QString> SuiteJob::holder()
{
    m_connection.acquire();
    struct Releaser { SqlConnection &c; ~Releaser() { c.release(); } } releaser{m_connection};
    QSqlQuery query = m_connection.exec(QStringLiteral("select ESTACAO, TRABALHO from SELVAR_TRAVA where ID = 2"));
    if (!query.next())
        return {};
    return {query.value(0).toString().trimmed(), query.value(1).toString().trimmed()};
}

QString SuiteJob::holderMessage()
{
    const auto [station, job] = holder();
    return busyMessage(station, job);
}

namespace {

// The holder as the messages name it, and what it does, in the words of the
// message at hand: `who` is "nobody known|station %1", `doing` one text for
// each of a list build, a print and a job not known.
QString holderSaying(const QString &holderStation, const QString &holderJob, const QString &who,
                     const std::array<const char *, 3> &doing)
{
    const QString named = holderStation.isEmpty() ? who.section(QLatin1Char('|'), 0, 0)
                                                  : who.section(QLatin1Char('|'), 1).arg(holderStation);
    const char *what = holderJob == jobName(SuiteJob::Kind::ListBuild) ? doing[0]
                       : holderJob == jobName(SuiteJob::Kind::Print)   ? doing[1]
                                                                       : doing[2];
    return named + QLatin1Char(' ') + QString::fromUtf8(what);
}

} // namespace

QString SuiteJob::waitingMessage(const QString &holderStation, const QString &holderJob)
{
    return QStringLiteral("Aguardando ")
           + holderSaying(holderStation, holderJob, QStringLiteral("outra estação|a estação %1"),
                          {"terminar de montar a lista…", "terminar de imprimir…", "terminar…"});
}

QString SuiteJob::busyMessage(const QString &holderStation, const QString &holderJob)
{
    return holderSaying(holderStation, holderJob, QStringLiteral("Outra estação|A estação %1"),
                        {"está montando a lista de produtos", "está imprimindo etiquetas",
                         "está montando a lista ou imprimindo etiquetas"})
           + QStringLiteral(" neste momento. Aguarde alguns instantes e tente de novo.");
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
    } catch (const CommitUnknown &) {
        throw; // the job may be everyone's already: what was kept is not known
    } catch (const DatabaseError &error) {
        throw DatabaseError(error.message() + QLatin1Char('\n') + kept, error.nativeCode());
    } catch (const SelvarError &error) {
        throw SelvarError(error.message() + QLatin1Char('\n') + kept);
    } catch (const std::exception &error) {
        throw SelvarError(QString::fromLocal8Bit(error.what()) + QLatin1Char('\n') + kept);
    }
}
