#pragma once

#include "SuiteJob.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

class QThread;
class TDM;

// Runs a job of the suite (a list build, writing a print job) on a thread of
// its own, through a data module and attachments of its own, so the window's
// thread never waits for the database while a job works or waits its turn.
// What the job shows reaches the window by queued calls, in the order the job
// sent them, and its end comes after all of them. "Cancelar" only sets a flag
// the job reads between its steps.
class JobWorker : public QObject
{
    Q_OBJECT
public:
    // What a job sees while it runs on the worker's thread.
    class Context : public JobWait
    {
    public:
        TDM &dm;
        bool cancelled() const;
        // Runs on the window's thread, after everything sent before it.
        void toWindow(std::function<void()> call) const;
        // The job reached one more of its steps (a product stored, a row of
        // labels written): a test may hold the worker here.
        void step(int done) const;

        // Waiting in line: the text goes to the window; the worker sleeps in
        // short steps, and its user's cancel ends the wait at once.
        void waiting(const QString &text, int seconds) override;
        bool pause(int ms) override;

    private:
        friend class JobWorker;
        Context(JobWorker &worker, TDM &dm) : dm(dm), m_worker(worker) {}
        JobWorker &m_worker;
    };

    struct Job
    {
        QString database;                         // the window's DataBase text
        std::function<void(Context &)> work;      // on the worker's thread
        std::function<void(const QString &text, int seconds)> waiting; // on the window's: the wait in line
        std::function<void(std::exception_ptr)> done; // on the window's: null when the work ended well
    };

    explicit JobWorker(QObject *parent = nullptr);
    // Cancels the job under way and waits for it to give up.
    ~JobWorker() override;

    void run(Job job);
    bool busy() const { return m_busy; }
    void cancel() { m_cancelled->store(true); }

    // Runs at every step of a job, on the worker's thread (tests).
    void setStepHook(std::function<void(int done)> hook);

private:
    void execute(const QString &database, const std::function<void(Context &)> &work);
    void finished(std::exception_ptr failure);

    QThread *m_thread;
    QObject *m_home; // lives on the worker's thread; jobs are queued to it
    // The job's own calls for the window; kept, called and dropped on the window's thread.
    std::function<void(const QString &, int)> m_waiting;
    std::function<void(std::exception_ptr)> m_done;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    bool m_busy = false;
    std::mutex m_hookMutex;
    std::function<void(int)> m_stepHook;
};
