#include "BackgroundWrite.h"

#include "DatabaseErrors.h"
#include "HeldAttachment.h"
#include "WorkerThread.h"

// Lives on the writing thread, with its attachment.
class BackgroundWrite::Worker : public QObject
{
public:
    void run(const QString &database, const QVector<ClientDataSet::PendingWrite> &writes, BackgroundWrite *owner)
    {
        Result result;
        try {
            SqlConnection &connection = m_attachment.to(database);
            for (const ClientDataSet::PendingWrite &write : writes) {
                const auto count = write.counted ? SqlConnection::Count::Rows : SqlConnection::Count::Skip;
                // An update that finds no row stored nothing: refused, as the write-through refuses it.
                if (connection.execWrite(write.statement.sql, write.statement.params, count) == 0) {
                    result.refused = true;
                    break;
                }
                ++result.written;
            }
        } catch (const CommitUnknown &error) {
            result.commitUnknown = true;
            result.error = error.message();
        } catch (const DatabaseError &error) {
            result.connectionLost = isConnectionFailure(error);
            result.refused = !result.connectionLost;
            result.error = error.message();
        } catch (const std::exception &error) {
            // Nothing may leave the worker's thread; what failed is said all the same.
            result.connectionLost = true;
            result.error = QString::fromLocal8Bit(error.what());
        }
        QMetaObject::invokeMethod(owner, [owner, result] {
            ++owner->m_answered;
            emit owner->finished(result);
        }, Qt::QueuedConnection);
    }

    void close() { m_attachment.release(); }

private:
    HeldAttachment m_attachment{QStringLiteral("GravacaoLista"), QStringLiteral("GravacaoLista")};
};

BackgroundWrite::BackgroundWrite(QObject *parent)
    : QObject(parent), m_thread(std::make_unique<WorkerThread<Worker>>(QStringLiteral("GravacaoLista"), new Worker))
{
    qRegisterMetaType<BackgroundWrite::Result>();
}

BackgroundWrite::~BackgroundWrite() = default;

void BackgroundWrite::write(const QString &database, const QVector<ClientDataSet::PendingWrite> &writes)
{
    ++m_asked;
    Worker *worker = m_thread->worker();
    QMetaObject::invokeMethod(worker, [worker, database, writes, this] { worker->run(database, writes, this); },
                              Qt::QueuedConnection);
}
