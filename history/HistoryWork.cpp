#include "HistoryWork.h"

#include "DatabaseErrors.h"
#include "HeldAttachment.h"
#include "HistoryStore.h"
#include "LostConnection.h"
#include "SelvarError.h"
#include "SqlConnection.h"
#include "SuiteJob.h"
#include "WorkerThread.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <mutex>

Q_DECLARE_LOGGING_CATEGORY(lcHistory)

// Lives on the working thread: both attachments are made there and never
// touched from elsewhere.
class HistoryWork::Worker : public QObject, public HistoryWork::Context
{
public:
    Worker(std::shared_ptr<std::atomic<quint64>> cancelledUpTo, std::shared_ptr<std::atomic<qint64>> closeBy)
        : m_cancelledUpTo(std::move(cancelledUpTo)), m_closeBy(std::move(closeBy))
    {
    }

    void run(quint64 id, Kind kind, const QString &database, const Task &task, Outcome &outcome)
    {
        m_id = id;
        m_kind = kind;
        // A record that closing would wait too long for is left to the
        // job's own record, from which the next start completes it.
        if (kind == Kind::Record && m_closeBy->load() > 0 && QDateTime::currentMSecsSinceEpoch() > m_closeBy->load()) {
            qCWarning(lcHistory) << "closing: a print's history left unwritten";
            outcome.cancelled = true;
            outcome.error = QStringLiteral("Cancelado.");
            return;
        }
        std::function<void()> hook;
        {
            const std::lock_guard<std::mutex> lock(m_hookMutex);
            hook = m_beforeTask;
        }
        if (hook)
            hook();
        for (int attempt = 0;; ++attempt) {
            m_committing = false;
            try {
                if (cancelled())
                    throw JobCancelled(QStringLiteral("Cancelado."));
                use(database);
                task(*this);
                return;
            } catch (const JobCancelled &error) {
                outcome.cancelled = true;
                outcome.error = error.message();
            } catch (const DatabaseError &error) {
                const bool lost = isConnectionFailure(error);
                // A task that said it commits the list's quantities may have
                // written them; any other reads what is there before it writes.
                const auto commit = m_committing ? LostConnection::Commit::Unknown : LostConnection::Commit::WrittenOnce;
                if (LostConnection::runAgain(error, attempt + 1, commit)) {
                    // The server that dropped one attachment dropped the other
                    // too: both are made afresh for the second run.
                    close();
                    outcome.retried = true;
                    continue;
                }
                outcome.failed = true;
                outcome.connectionLost = lost;
                outcome.whileCommitting = lost && m_committing;
                outcome.error = error.message();
            } catch (const SelvarError &error) {
                outcome.failed = true;
                outcome.error = error.message();
            } catch (const std::exception &error) {
                outcome.failed = true;
                outcome.error = QString::fromLocal8Bit(error.what());
            }
            return;
        }
    }

    void close()
    {
        m_history.reset();
        m_suite.reset();
    }

    void setBeforeTask(std::function<void()> hook)
    {
        const std::lock_guard<std::mutex> lock(m_hookMutex);
        m_beforeTask = std::move(hook);
    }

    HistoryStore &history() override { return *m_history; }
    SqlConnection &suite() override { return m_suite->connection(); }
    bool cancelled() const override
    {
        switch (m_kind) {
        case Kind::Action:
            return m_id <= m_cancelledUpTo->load() || m_closeBy->load() > 0;
        case Kind::Housekeeping:
            return m_closeBy->load() > 0;
        case Kind::Record:
            break;
        }
        return false;
    }
    void committing() override { m_committing = true; }

private:
    // Both attachments stay open between tasks: a dropped one is made again
    // by its next statement.
    void use(const QString &database)
    {
        m_database = database;
        if (!m_history)
            m_history = std::make_unique<HistoryStore>([this] { return m_database; });
        if (!m_suite)
            m_suite = std::make_unique<HeldAttachment>(QStringLiteral("SQLConnectionHistoricoLista"),
                                                       QStringLiteral("BoticonHistoricoLista"));
        m_suite->to(database);
    }

    std::shared_ptr<std::atomic<quint64>> m_cancelledUpTo;
    std::shared_ptr<std::atomic<qint64>> m_closeBy;
    quint64 m_id = 0;
    Kind m_kind = Kind::Action;
    bool m_committing = false;
    QString m_database;
    std::unique_ptr<HistoryStore> m_history;
    std::unique_ptr<HeldAttachment> m_suite;
    std::mutex m_hookMutex;
    std::function<void()> m_beforeTask;
};

HistoryWork::HistoryWork(QObject *parent)
    : QObject(parent), m_cancelled(std::make_shared<std::atomic<quint64>>(0)),
      m_closeBy(std::make_shared<std::atomic<qint64>>(0)),
      m_thread(std::make_unique<WorkerThread<Worker>>(QStringLiteral("Historico"), new Worker(m_cancelled, m_closeBy)))
{
}

// Actions and removals not yet begun end as cancelled; the prints' records
// in line are written if they begin within a few seconds, and whatever is
// under way finishes first. Nobody hears of them: the window is going.
HistoryWork::~HistoryWork()
{
    cancel();
    m_closeBy->store(QDateTime::currentMSecsSinceEpoch() + kCloseWaitMs);
    m_thread.reset();
}

void HistoryWork::run(const QString &database, Task task, Then then, Kind kind)
{
    const quint64 id = ++m_asked;
    ++m_pending;
    const bool action = kind == Kind::Action;
    if (action)
        ++m_actions;
    // `then` stays here: what it holds (a panel over the list) is destroyed
    // on this thread, never by the worker's copy of a call.
    m_thens.emplace(id, Waiting{std::move(then), action});
    Worker *worker = m_thread->worker();
    QMetaObject::invokeMethod(worker, [this, worker, id, kind, database, task = std::move(task)] {
        auto outcome = std::make_shared<Outcome>();
        worker->run(id, kind, database, task, *outcome);
        QMetaObject::invokeMethod(this, [this, id, outcome] { answered(id, *outcome); }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

void HistoryWork::answered(quint64 id, const Outcome &outcome)
{
    const auto found = m_thens.find(id);
    if (found == m_thens.end())
        return;
    Waiting waiting = std::move(found->second);
    m_thens.erase(found);
    --m_pending;
    if (waiting.action)
        --m_actions;
    if (waiting.then)
        waiting.then(outcome);
    if (m_pending == 0)
        emit finished();
}

void HistoryWork::cancel()
{
    m_cancelled->store(m_asked);
}

void HistoryWork::setBeforeTask(std::function<void()> hook)
{
    m_thread->worker()->setBeforeTask(std::move(hook));
}
