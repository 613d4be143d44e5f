#include "JobWorker.h"

#include "TDM.h"

#include <QThread>

#include <algorithm>
#include <utility>

bool JobWorker::Context::cancelled() const
{
    return m_worker.m_cancelled->load();
}

void JobWorker::Context::toWindow(std::function<void()> call) const
{
    QMetaObject::invokeMethod(&m_worker, std::move(call), Qt::QueuedConnection);
}

void JobWorker::Context::step(int done) const
{
    std::function<void(int)> hook;
    {
        const std::lock_guard<std::mutex> lock(m_worker.m_hookMutex);
        hook = m_worker.m_stepHook;
    }
    if (hook)
        hook(done);
}

void JobWorker::Context::waiting(const QString &text, int seconds)
{
    JobWorker *worker = &m_worker;
    toWindow([worker, text, seconds] {
        if (worker->m_waiting)
            worker->m_waiting(text, seconds);
    });
}

// Short sleeps, so a cancel is seen within a few hundredths of a second.
bool JobWorker::Context::pause(int ms)
{
    constexpr int kStepMs = 10;
    for (int slept = 0; slept < ms && !cancelled(); slept += kStepMs)
        QThread::msleep(std::min(kStepMs, ms - slept));
    return !cancelled();
}

JobWorker::JobWorker(QObject *parent)
    : QObject(parent), m_thread(new QThread), m_home(new QObject), m_cancelled(std::make_shared<std::atomic<bool>>(false))
{
    m_home->moveToThread(m_thread);
    m_thread->setObjectName(QStringLiteral("TrabalhoSuite"));
    m_thread->start();
}

JobWorker::~JobWorker()
{
    cancel();
    QObject *home = m_home;
    QMetaObject::invokeMethod(home, [home] { delete home; }, Qt::QueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

void JobWorker::run(Job job)
{
    m_busy = true;
    m_cancelled->store(false);
    m_waiting = std::move(job.waiting);
    m_done = std::move(job.done);
    QMetaObject::invokeMethod(m_home, [this, database = job.database, work = std::move(job.work)] {
        execute(database, work);
    }, Qt::QueuedConnection);
}

void JobWorker::setStepHook(std::function<void(int)> hook)
{
    const std::lock_guard<std::mutex> lock(m_hookMutex);
    m_stepHook = std::move(hook);
}

// A data module of the job's own, made and dropped on this thread: every job
// attaches afresh, so a connection the server dropped since the last job is
// never met, and nothing a job leaves open outlives it.
void JobWorker::execute(const QString &database, const std::function<void(Context &)> &work)
{
    std::exception_ptr failure;
    try {
        TDM dm;
        dm.SQLConnection1->setDataBase(database);
        Context context(*this, dm);
        work(context);
    } catch (...) {
        failure = std::current_exception();
    }
    QMetaObject::invokeMethod(this, [this, failure] { finished(failure); }, Qt::QueuedConnection);
}

void JobWorker::finished(std::exception_ptr failure)
{
    m_busy = false;
    m_waiting = nullptr;
    // Taken out first: the answer may start the next job at once.
    const std::function<void(std::exception_ptr)> done = std::exchange(m_done, nullptr);
    if (done)
        done(failure);
}
