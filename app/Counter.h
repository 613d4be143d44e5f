#pragma once

#include "CounterPolicy.h"

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QEvent;
class QWidget;

// A key, click or wheel turn of the clerk (not a focus or paint event).
bool isClerkInput(const QEvent *event);
// A key that only changes the text of a line: printable characters,
// Backspace and Delete, without Control or Alt.
bool onlyEditsText(const QEvent *event);

// The owner of the counter's state: what the station is doing now (reading
// the list, storing a quantity, building, writing a job, handing one over,
// a history action) and what each key or click of the clerk may do
// meanwhile. The window forwards every input here, as an event of a control
// it watches or as a handler that asks to run; the counter takes it now,
// holds it behind what already waits, in the order typed, or refuses it with
// a reason the window shows. Held keys go to the control they were typed
// into (and the keys after them where those keys took the focus), a click
// never goes before keys typed earlier, and everything held goes on as soon
// as the work it waits for is done. It knows no widget of the window.
class Counter : public QObject
{
    Q_OBJECT
public:
    using Input = CounterPolicy::Input;
    using Activity = CounterPolicy::Activity;
    // Which input an event to a watched control is; none for events that are not input.
    using Classifier = std::function<std::optional<Input>(QObject *watched, QEvent *event)>;

    explicit Counter(QObject *parent = nullptr);
    ~Counter() override;

    void setClassifier(Classifier classifier) { m_classify = std::move(classifier); }
    // Input to the widget, and to the children it gets later (the grid's editors).
    void watch(QWidget *widget);

    void setBusy(Activity activity, bool on);
    CounterPolicy::Activities busy() const { return m_busy; }
    bool holding() const { return !m_held.empty(); }
    // Nothing waits and nothing is under way that input would wait for.
    bool idle() const;

    // A handler asks to run for its input: true to run now. Otherwise it is
    // held, and `again` runs at its turn (when the handler asks again, it is
    // let through), or refused and said.
    bool admit(Input input, std::function<void()> again);
    // Work of the station's own that needs the rows in hand: runs now when
    // nothing waits for them, else at its turn behind what waits.
    void afterHeld(std::function<void()> action);

signals:
    void holdingChanged(bool holding);
    void refused(const QString &reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Held
    {
        std::optional<Input> input; // none: work of the station's own
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
        std::function<void()> action;
    };
    CounterPolicy::Decision decideAtTurn(const Held &held) const;
    void push(Held held);
    void goOn();
    void deliver(Held &held);

    Classifier m_classify;
    CounterPolicy::Activities m_busy;
    std::deque<Held> m_held;
    bool m_goingOn = false;
    bool m_turn = false;               // the held handler now running may pass
    const QEvent *m_delivering = nullptr; // the held event now being delivered
    // Keys typed into one control one after another: each goes where the
    // one before it left the focus.
    QPointer<QObject> m_typedInto;
    QPointer<QWidget> m_typingGoesTo;
};
