#pragma once

#include "BackgroundRead.h"
#include "ListTotals.h"

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class TDM;

// The reads of the product list, made off the window's thread. The window
// asks, keeps painting and answering, and the rows replace the list shown
// once they have all come.
//
// A search key asks for a read of its own; one that needs the same rows lets
// the read under way finish, a newer order abandons it. What the clerk does
// meanwhile is the counter's to hold or let through (app/Counter): this
// class only says when it reads.
class ListReads : public QObject
{
    Q_OBJECT
public:
    using Then = std::function<void(const BackgroundRead::Result &)>;

    explicit ListReads(TDM &dm, QObject *parent = nullptr);
    ~ListReads() override;

    // Reads TABREV1 by the statement and puts the rows in place; then runs
    // afterwards on the window's thread, failed or not (a failure leaves the
    // list shown as it was). Rows that come once the list has been closed
    // are dropped, and `then` with them.
    void read(const QString &statement, Then then);
    // Reads the list to open it: a read of its own, never one begun before
    // (which may hold rows from before a build), and put in place even
    // though the list is closed.
    void open(const QString &statement, Then then);
    // The read under way gives up; its rows and its `then` never come.
    void cancel();
    // Reads the list again in its present order, the cursor staying on the
    // product it is on when the rows come.
    void reread();
    bool reading() const { return m_running != 0; }
    // No read under way and nothing waiting for one.
    bool idle() const { return m_running == 0 && m_after.empty() && !m_goingOn; }
    // Runs the action now when no read is under way, else once the read and
    // the input waiting for it are done.
    void afterReads(std::function<void()> action);

    BackgroundRead &reader() { return m_reader; }
    // The list's totals, counted by the reading thread, while the rows are
    // still the ones it read; else none.
    std::optional<ListTotals> totals() const;

    // The Portuguese line for a read that failed; empty when it did not.
    // `listShown`: the list on screen is still the one read before (a search,
    // a re-read), not a list that was to be opened.
    static QString failureText(const BackgroundRead::Result &result, bool listShown = true);

signals:
    // A read began, or none is under way any more (its rows are in place).
    void readingChanged(bool reading);
    // No read under way, nothing waiting for one.
    void settled();

private:
    void start(const QString &statement, Then then, bool opening);
    void finished(const std::shared_ptr<BackgroundRead::Result> &result);
    void install(BackgroundRead::Result &result, const Then &then);
    void goOn();
    void announce();

    TDM &m_dm;
    BackgroundRead m_reader;
    quint64 m_running = 0;
    QString m_statement; // what the read under way fetches
    bool m_opening = false; // the read under way opens the list
    bool m_announced = false;
    Then m_then;
    std::deque<std::function<void()>> m_after;
    bool m_goingOn = false;
    std::optional<ListTotals> m_totals;
    quint64 m_totalsRevision = 0; // the list's revision the totals are of
};
