#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <map>
#include <memory>

class HistoryStore;
class SqlConnection;
template <typename Worker> class WorkerThread;

// The history's database work on a thread of its own, through attachments of
// its own: the window asks, goes on painting and answering "Cancelar", and
// hears how it went by a queued call. Tasks run one after the other, in the
// order asked. A task whose connection turns out lost before it wrote anything
// (a server restarted since the last use) is run once more on a fresh one.
// A task runs on the working thread and must own nothing of the window's
// thread; its `then` is kept on this object's thread and is destroyed there,
// once called or when this object goes, so a `then` may hold widgets. This
// class is where that rule is kept: nothing of `then` is copied to the worker.
// Three kinds of tasks share the one line: the window's actions ("Preços
// alterados", "Repetir", the history window's reads), which "Cancelar" and
// closing stop; a print's record, which neither stops (closing gives it a few
// seconds); and the removal of old jobs, which closing stops.
class HistoryWork : public QObject
{
    Q_OBJECT
public:
    // What a task has at hand, on the working thread.
    class Context
    {
    public:
        virtual ~Context() = default;
        virtual HistoryStore &history() = 0; // the print history
        virtual SqlConnection &suite() = 0;  // the suite's database, for the list's quantities
        virtual bool cancelled() const = 0;
        // The commit is next: a connection lost from here on may have taken
        // the work with it or not, so the task is not run again.
        virtual void committing() = 0;
    };
    struct Outcome
    {
        bool failed = false;
        bool cancelled = false;
        bool connectionLost = false; // failed because the server could not be reached
        bool whileCommitting = false; // ... and the commit was under way
        bool retried = false;        // a lost connection was made again and the task run once more
        QString error;               // what failed or what was cancelled
    };
    using Task = std::function<void(Context &)>;
    using Then = std::function<void(const Outcome &)>;
    enum class Kind { Action, Record, Housekeeping };
    // How long closing waits for the prints' records still in line.
    static constexpr int kCloseWaitMs = 5000;

    explicit HistoryWork(QObject *parent = nullptr);
    ~HistoryWork() override;

    // Runs the task on the database named by `database` (a DataBase text),
    // then `then` on this object's thread. A `then` whose object is gone by
    // then must check for itself.
    void run(const QString &database, Task task, Then then, Kind kind = Kind::Action);
    // The action under way and those waiting are told they were cancelled.
    void cancel();
    // Any task is asked and not yet answered.
    bool busy() const { return m_pending > 0; }
    // An action of the window is: the window starts no other meanwhile.
    bool acting() const { return m_actions > 0; }

    // Runs on the working thread before each task: a test holds the work to
    // see the window answer meanwhile.
    void setBeforeTask(std::function<void()> hook);

signals:
    // A task's `then` has run and no other task waits.
    void finished();

private:
    class Worker;
    struct Waiting
    {
        Then then;
        bool action = false;
    };
    void answered(quint64 id, const Outcome &outcome);
    std::map<quint64, Waiting> m_thens; // asked and not yet answered, by number
    std::shared_ptr<std::atomic<quint64>> m_cancelled; // actions asked up to this number are cancelled
    std::shared_ptr<std::atomic<qint64>> m_closeBy;    // closing: records not begun by then (ms since the epoch) are not
    std::unique_ptr<WorkerThread<Worker>> m_thread;
    quint64 m_asked = 0;
    int m_pending = 0;
    int m_actions = 0;
};
