#include "HandOverDisk.h"

#include "WorkerThread.h"

class HandOverDisk::Worker : public QObject
{
public:
    void close() {}
};

HandOverDisk::HandOverDisk(QObject *owner)
    : m_owner(owner),
      m_closing(std::make_shared<std::atomic<bool>>(false)),
      m_thread(std::make_unique<WorkerThread<Worker>>(QStringLiteral("EnvioDisco"), new Worker))
{
}

HandOverDisk::~HandOverDisk()
{
    m_closing->store(true);
    m_thread.reset(); // waits for the work under way, which sees m_closing
}

void HandOverDisk::run(Work work)
{
    // The owner outlives the thread (this object is one of its members and
    // waits for the thread when it goes), so it is there for every answer
    // sent while the thread runs; an answer not yet delivered when the owner
    // goes is dropped with the owner's events.
    QMetaObject::invokeMethod(m_thread->worker(), [owner = m_owner, closing = m_closing, work = std::move(work)] {
        if (closing->load())
            return;
        Answer answer = work(*closing);
        if (answer && !closing->load())
            QMetaObject::invokeMethod(owner, std::move(answer), Qt::QueuedConnection);
    }, Qt::QueuedConnection);
}
