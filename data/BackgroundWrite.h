#pragma once

#include "ClientDataSet.h"

#include <QObject>
#include <QString>
#include <QVector>
#include <memory>

template <typename Worker> class WorkerThread;

// Sends a data set's pending changes on a thread of its own, through an
// attachment of its own, each statement committed by itself as the
// write-through commits it: the window's thread never waits for the
// database, nor for a server that does not answer. The answer comes by a
// queued signal, in the order the writes were asked.
class BackgroundWrite : public QObject
{
    Q_OBJECT
public:
    struct Result
    {
        int written = 0;           // the first changes stored; the rest stay pending
        bool refused = false;      // the database refused the next one (an update that found no row)
        bool connectionLost = false; // the server could not be reached: not stored
        bool commitUnknown = false;  // the commit's answer was lost: not known whether stored
        QString error;             // the database's words, when it failed
    };

    explicit BackgroundWrite(QObject *parent = nullptr);
    ~BackgroundWrite() override;

    void write(const QString &database, const QVector<ClientDataSet::PendingWrite> &writes);
    bool busy() const { return m_asked > m_answered; }

signals:
    void finished(const BackgroundWrite::Result &result);

private:
    class Worker;
    std::unique_ptr<WorkerThread<Worker>> m_thread;
    quint64 m_asked = 0;
    quint64 m_answered = 0;
};

Q_DECLARE_METATYPE(BackgroundWrite::Result)
