#include "BackgroundRead.h"

#include "DataSetProvider.h"
#include "DatabaseErrors.h"
#include "SelvarError.h"
#include "HeldAttachment.h"
#include "SqlDataSet.h"
#include "WorkerThread.h"

#include <mutex>

// Lives on the reading thread: the attachment, the statement and the provider
// that fetches it are made there and never touched from elsewhere.
class BackgroundRead::Worker : public QObject
{
public:
    explicit Worker(std::shared_ptr<std::atomic<quint64>> wanted) : m_wanted(std::move(wanted)) {}

    void run(quint64 id, const Request &request, BackgroundRead *owner)
    {
        auto result = std::make_shared<Result>();
        result->id = id;
        if (stale(id))
            return;
        try {
            prepare(request);
            // A lost attachment is made again and the read tried once more by
            // the connection itself: a read writes nothing.
            const quint64 reconnections = m_attachment.connection().reconnections();
            readInto(id, request, *result);
            result->reconnected = m_attachment.connection().reconnections() != reconnections;
        } catch (const DatabaseError &error) {
            result->failed = true;
            result->connectionLost = isConnectionFailure(error);
            result->error = error.message();
        } catch (const SelvarError &error) {
            result->failed = true;
            result->error = error.message();
        }
        if (stale(id))
            return;
        QMetaObject::invokeMethod(owner, [owner, result] { emit owner->finished(result); }, Qt::QueuedConnection);
    }

    void close()
    {
        m_provider.reset();
        m_dataSet.reset();
        m_attachment.release();
    }

    void setBeforeFetch(std::function<void()> hook)
    {
        const std::lock_guard<std::mutex> lock(m_hookMutex);
        m_beforeFetch = std::move(hook);
    }

private:
    bool stale(quint64 id) const { return m_wanted->load() != id; }

    void prepare(const Request &request)
    {
        SqlConnection &connection = m_attachment.to(request.database);
        if (!m_dataSet) {
            m_dataSet = std::make_unique<SqlDataSet>(QStringLiteral("SQLDS_Leitura"), &connection, QString());
            m_provider = std::make_unique<DataSetProvider>(QStringLiteral("DSP_Leitura"), m_dataSet.get(),
                                                           DataSetProvider::UpdateMode::WhereKeyOnly);
        }
        m_dataSet->setCommandText(request.statement);
        m_provider->setVersionStamped(request.stamped && !m_stampRefused.contains(request.database));
        m_provider->setVersionColumn(request.versionColumn);
    }

    void readInto(quint64 id, const Request &request, Result &result)
    {
        result.stamp = m_provider->stamp();
        if (request.stamped && m_provider->stampRefused()) {
            m_stampRefused << request.database;
            result.stampRefused = true;
        }
        if (!result.stamp.isEmpty() && result.stamp == request.stampInHand) {
            result.unchanged = true;
            return;
        }
        std::function<void()> hook;
        {
            const std::lock_guard<std::mutex> lock(m_hookMutex);
            hook = m_beforeFetch;
        }
        if (hook)
            hook();
        std::vector<QVector<QVariant>> fetched;
        if (!m_provider->fetch(request.defs, &fetched, [this, id] { return !stale(id); }))
            return;
        result.rows = ClientDataSet::ReadyRows(std::move(fetched));
        if (request.summary)
            result.summary = request.summary(result.rows);
    }

    std::shared_ptr<std::atomic<quint64>> m_wanted;
    HeldAttachment m_attachment{QStringLiteral("LeituraLista"), QStringLiteral("LeituraLista")};
    std::unique_ptr<SqlDataSet> m_dataSet;
    std::unique_ptr<DataSetProvider> m_provider;
    QStringList m_stampRefused; // databases whose engine refused the version column
    std::mutex m_hookMutex;
    std::function<void()> m_beforeFetch;
};

BackgroundRead::BackgroundRead(QObject *parent)
    : QObject(parent), m_wanted(std::make_shared<std::atomic<quint64>>(0)),
      m_thread(std::make_unique<WorkerThread<Worker>>(QStringLiteral("LeituraLista"), new Worker(m_wanted)))
{
    qRegisterMetaType<std::shared_ptr<BackgroundRead::Result>>();
}

BackgroundRead::~BackgroundRead()
{
    cancel();
    m_thread.reset();
}

quint64 BackgroundRead::read(const Request &request)
{
    const quint64 id = ++m_lastId;
    m_wanted->store(id);
    Worker *worker = m_thread->worker();
    QMetaObject::invokeMethod(worker, [worker, id, request, this] { worker->run(id, request, this); }, Qt::QueuedConnection);
    return id;
}

void BackgroundRead::cancel()
{
    m_wanted->store(++m_lastId);
}

void BackgroundRead::dispose(ClientDataSet::ReadyRows &&rows)
{
    if (rows.empty())
        return;
    auto held = std::make_shared<ClientDataSet::ReadyRows>(std::move(rows));
    QMetaObject::invokeMethod(m_thread->worker(), [held]() mutable { held.reset(); }, Qt::QueuedConnection);
}

void BackgroundRead::setBeforeFetch(std::function<void()> hook)
{
    m_thread->worker()->setBeforeFetch(std::move(hook));
}
