#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

template <typename Worker> class WorkerThread;

// The hand-over's disk work, on a thread of its own: a new job's record and
// its command files (ten thousand labels are some 3,300 files, each put on
// disk whole and synced) are written there, one piece of work after another
// in the order asked, while the window goes on answering. What a piece of
// work returns is run on the owner's thread afterwards.
class HandOverDisk
{
public:
    explicit HandOverDisk(QObject *owner);
    // The work under way stops at its next file; work not begun is dropped,
    // and no answer comes any more.
    ~HandOverDisk();
    HandOverDisk(const HandOverDisk &) = delete;
    HandOverDisk &operator=(const HandOverDisk &) = delete;

    using Answer = std::function<void()>;
    // `work` is told whether the owner is closing, to stop between files.
    using Work = std::function<Answer(const std::atomic<bool> &closing)>;
    void run(Work work);

private:
    class Worker;
    QObject *m_owner;
    std::shared_ptr<std::atomic<bool>> m_closing;
    std::unique_ptr<WorkerThread<Worker>> m_thread;
};
