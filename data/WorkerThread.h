#pragma once

#include <QMetaObject>
#include <QThread>

// A worker object on a thread of its own, for database work the window's
// thread must not wait for: made by the owner, moved to the thread, and at
// the end closed (its attachments released) and deleted on that thread,
// after whatever was asked of it before, before the thread stops.
template <typename Worker>
class WorkerThread
{
public:
    WorkerThread(const QString &name, Worker *worker) : m_thread(new QThread), m_worker(worker)
    {
        m_worker->moveToThread(m_thread);
        m_thread->setObjectName(name);
        m_thread->start();
    }
    ~WorkerThread()
    {
        Worker *worker = m_worker;
        // The thread stops from inside this last call: a loop told to quit
        // from here would leave unanswered what was asked while it was busy.
        QMetaObject::invokeMethod(worker, [worker] {
            worker->close();
            delete worker;
            QThread::currentThread()->quit();
        }, Qt::QueuedConnection);
        m_thread->wait();
        delete m_thread;
    }
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    Worker *worker() const { return m_worker; }

private:
    QThread *m_thread;
    Worker *m_worker;
};
