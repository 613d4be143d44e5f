#include "HistoryWork.h"

#include "DatabaseErrors.h"
#include "HistoryStore.h"
#include "SelvarError.h"
#include "SqlConnection.h"
#include "SuiteJob.h"
#include "WorkerThread.h"

#include <mutex>

// Lives on the working thread: both attachments are made there and never
// touched from elsewhere.
class HistoryWork::Worker : public QObject, public HistoryWork::Context
{
public:
    explicit Worker(std::shared_ptr<std::atomic<quint64>> cancelledUpTo)
        : m_cancelledUpTo(std::move(cancelledUpTo))
    {
    }

    void run(quint64 id, const QString &database, const Task &task, Outcome &outcome)
    {
        std::function<void()> hook;
        {
            const std::lock_guard<std::mutex> lock(m_hookMutex);
            hook = m_beforeTask;
        }
        if (hook)
            hook();
        m_id = id;
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
                if (lost && attempt == 0 && !m_committing) {
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
        if (m_suite && m_suiteHeld)
            m_suite->release();
        m_suiteHeld = false;
        m_suite.reset();
    }

    void setBeforeTask(std::function<void()> hook)
    {
        const std::lock_guard<std::mutex> lock(m_hookMutex);
        m_beforeTask = std::move(hook);
    }

    HistoryStore &history() override { return *m_history; }
    SqlConnection &suite() override { return *m_suite; }
    bool cancelled() const override { return m_id <= m_cancelledUpTo->load(); }
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
            m_suite = std::make_unique<SqlConnection>(QStringLiteral("SQLConnectionHistoricoLista"),
                                                      QStringLiteral("BoticonHistoricoLista"));
        if (m_suite->DataBase() != database) {
            if (m_suiteHeld)
                m_suite->release();
            m_suiteHeld = false;
            m_suite->setDataBase(database);
        }
        if (!m_suiteHeld) {
            m_suite->acquire();
            m_suiteHeld = true;
        }
    }

    std::shared_ptr<std::atomic<quint64>> m_cancelledUpTo;
    quint64 m_id = 0;
    bool m_committing = false;
    QString m_database;
    std::unique_ptr<HistoryStore> m_history;
    std::unique_ptr<SqlConnection> m_suite;
    bool m_suiteHeld = false;
    std::mutex m_hookMutex;
    std::function<void()> m_beforeTask;
};

HistoryWork::HistoryWork(QObject *parent)
    : QObject(parent), m_cancelled(std::make_shared<std::atomic<quint64>>(0)),
      m_thread(std::make_unique<WorkerThread<Worker>>(QStringLiteral("Historico"), new Worker(m_cancelled)))
{
}

// Whatever was asked and not yet begun ends as cancelled; a write under way
// finishes first.
HistoryWork::~HistoryWork()
{
    cancel();
    m_thread.reset();
}

void HistoryWork::run(const QString &database, Task task, Then then)
{
    const quint64 id = ++m_asked;
    ++m_pending;
    Worker *worker = m_thread->worker();
    QMetaObject::invokeMethod(worker, [this, worker, id, database, task = std::move(task), then = std::move(then)] {
        auto outcome = std::make_shared<Outcome>();
        worker->run(id, database, task, *outcome);
        QMetaObject::invokeMethod(this, [this, then, outcome] {
            --m_pending;
            if (then)
                then(*outcome);
            if (m_pending == 0)
                emit finished();
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}

void HistoryWork::cancel()
{
    m_cancelled->store(m_asked);
}

void HistoryWork::setBeforeTask(std::function<void()> hook)
{
    m_thread->worker()->setBeforeTask(std::move(hook));
}
