#pragma once

#include "BackgroundRead.h"
#include "ListTotals.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QEvent;
class QWidget;
class TDM;

// The reads of the product list, made off the window's thread. The window
// asks, keeps painting and answering, and the rows replace the list shown
// once they have all come.
//
// A key that edits a search box goes in at once and asks for a read of its
// own; one that needs the same rows lets the read under way finish, a newer
// order abandons it. Input that depends on the rows (Enter in a search box,
// a quantity typed into the grid, a click on it) waits, in order, for the
// read and goes where it was going once the rows are in: Enter after fast
// typing acts on the final text, and a quantity typed after it lands in the
// grid, as if each key had waited its turn. Only the list's own widgets hold
// input this way: message boxes, menus, shortcuts and other windows answer at
// once. An action that writes the list waits for the read under way by
// afterReads, so the rows shown afterwards hold what it wrote.
class ListReads : public QObject
{
    Q_OBJECT
public:
    using Then = std::function<void(const BackgroundRead::Result &)>;

    explicit ListReads(TDM &dm, QObject *parent = nullptr);
    ~ListReads() override;

    // Reads TABREV1 by the statement and puts the rows in place; then runs
    // afterwards on the window's thread, failed or not (a failure leaves the
    // list shown as it was).
    void read(const QString &statement, Then then);
    // Reads the list again in its present order, the cursor staying on the
    // product it is on when the rows come.
    void reread();
    bool reading() const { return m_running != 0; }
    // No read under way and nothing waiting for one.
    bool idle() const { return m_running == 0 && m_held.empty() && m_after.empty() && !m_goingOn; }
    // Runs the action now when no read is under way, else once the read and
    // the input waiting for it are done.
    void afterReads(std::function<void()> action);

    // Input to this widget and to the children it gets later waits for the read.
    void holdInputOf(QWidget *widget);
    BackgroundRead &reader() { return m_reader; }
    // The list's totals, counted by the reading thread, while the rows are
    // still the ones it read; else none.
    std::optional<ListTotals> totals() const;

    // The Portuguese line for a read that failed; empty when it did not.
    // `listShown`: the list on screen is still the one read before (a search,
    // a re-read), not a list that was to be opened.
    static QString failureText(const BackgroundRead::Result &result, bool listShown = true);

signals:
    // No read under way, no input waiting for one.
    void settled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void finished(const std::shared_ptr<BackgroundRead::Result> &result);
    void goOn();
    bool editsTheBox(QObject *receiver, const QEvent *event) const;

    TDM &m_dm;
    BackgroundRead m_reader;
    quint64 m_running = 0;
    QString m_statement; // what the read under way fetches
    Then m_then;
    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::deque<Held> m_held;
    std::deque<std::function<void()>> m_after;
    bool m_goingOn = false;
    std::optional<ListTotals> m_totals;
    quint64 m_totalsRevision = 0; // the list's revision the totals are of
};
