#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class HistoryWork;

// Removes jobs older than the station's days from the history, a few at a
// time between the clerk's work: each batch is one short transaction on the
// history's worker, the next one comes after a pause, and none starts while
// the station builds a list or prints (`busy`). Two stations removing at once at worst refuse each other a
// batch, which the next pass removes.
class HistoryRetention : public QObject
{
    Q_OBJECT
public:
    static constexpr int kBatchJobs = 20;

    // `days` is asked at every pass, so a changed setting holds from the next one.
    // `database` names the database at each batch.
    HistoryRetention(HistoryWork &work, std::function<QString()> database, std::function<int()> days,
                     std::function<bool()> busy, QObject *parent = nullptr);

    // Starts a pass after `firstDelayMs`, and another one every few hours.
    // 0 days keeps every job: nothing is ever removed.
    void start(int firstDelayMs);

    // Jobs removed since start.
    int removed() const { return m_removed; }

signals:
    // A pass found nothing more to remove (or failed and will try again later).
    void passEnded();

private:
    void batch();
    void batchDone(int removed);

    HistoryWork &m_work;
    std::function<QString()> m_database;
    std::function<int()> m_days;
    std::function<bool()> m_busy;
    QTimer m_timer;
    int m_removed = 0;
};
