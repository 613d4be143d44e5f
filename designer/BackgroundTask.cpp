#include "BackgroundTask.h"

#include <QDeadlineTimer>
#include <QThread>

BackgroundTask::BackgroundTask(QObject *owner, int patienceMs, std::function<void()> work, std::function<void()> done)
    : QObject(owner), m_patienceMs(patienceMs)
{
    m_thread = QThread::create(std::move(work));
    connect(m_thread, &QThread::finished, this, std::move(done));
    m_thread->start();
}

BackgroundTask::~BackgroundTask()
{
    wait(m_patienceMs);
    if (m_thread->isRunning()) {
        // Still under way: it ends by itself, and the thread object with it.
        m_thread->disconnect(this);
        connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
        return;
    }
    delete m_thread;
}

bool BackgroundTask::isRunning() const
{
    return m_thread->isRunning();
}

bool BackgroundTask::wait(int ms)
{
    return m_thread->wait(QDeadlineTimer(ms));
}
