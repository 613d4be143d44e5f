#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QThread;

// Work that may wait on the database, done on a thread of its own so that the
// window never waits: `work` runs there, `done` on the owner's thread after
// it. The owner keeps the task: going, it waits for the work a bounded time
// (`patienceMs`: a connect timeout and a little), and work still under way
// after that is left to end by itself, its `done` never called.
class BackgroundTask : public QObject
{
    Q_OBJECT
public:
    BackgroundTask(QObject *owner, int patienceMs, std::function<void()> work, std::function<void()> done);
    ~BackgroundTask() override;

    bool isRunning() const;
    // Waits at most `ms` for the work; true when it is over.
    bool wait(int ms);

private:
    QThread *m_thread;
    int m_patienceMs;
};

// A task whose `work` gives a result that `done` takes on the owner's thread.
template <typename Result>
BackgroundTask *startTask(QObject *owner, int patienceMs, std::function<Result()> work, std::function<void(const Result &)> done)
{
    auto result = std::make_shared<Result>();
    return new BackgroundTask(owner, patienceMs, [result, work = std::move(work)] { *result = work(); },
                              [result, done = std::move(done)] { done(*result); });
}
