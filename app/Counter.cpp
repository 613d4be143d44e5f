#include "Counter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

bool isKey(const QEvent *event)
{
    return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
}

bool usable(const QWidget *widget)
{
    return widget && widget->isVisible() && widget->isEnabled();
}

} // namespace

bool isClerkInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

bool onlyEditsText(const QEvent *event)
{
    if (!isKey(event))
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return true;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f;
}

Counter::Counter(QObject *parent) : QObject(parent) {}

Counter::~Counter() = default;

void Counter::watch(QWidget *widget)
{
    widget->installEventFilter(this);
}

bool Counter::idle() const
{
    return m_held.empty() && !m_goingOn && !m_busy.has(Activity::ListRead) && !m_busy.has(Activity::QuantityWrite);
}

void Counter::setBusy(Activity activity, bool on)
{
    if (m_busy.has(activity) == on)
        return;
    m_busy.set(activity, on);
    if (!on)
        goOn();
}

bool Counter::admit(Input input, std::function<void()> again)
{
    if (std::exchange(m_turn, false))
        return true;
    const CounterPolicy::Decision decision = CounterPolicy::decide(m_busy, holding(), input);
    switch (decision.verdict) {
    case CounterPolicy::Verdict::Take:
        return true;
    case CounterPolicy::Verdict::Hold:
        push({input, nullptr, nullptr, std::move(again)});
        return false;
    case CounterPolicy::Verdict::Refuse:
        emit refused(decision.reason);
        return false;
    }
    return false;
}

void Counter::afterHeld(std::function<void()> action)
{
    Held work{std::nullopt, nullptr, nullptr, std::move(action)};
    if (holding() || decideAtTurn(work).verdict == CounterPolicy::Verdict::Hold) {
        push(std::move(work));
        return;
    }
    work.action();
}

CounterPolicy::Decision Counter::decideAtTurn(const Held &held) const
{
    if (held.input)
        return CounterPolicy::decide(m_busy, false, *held.input);
    // The station's own work waits for the rows only; it is never refused.
    const bool rowsPending = m_busy.has(Activity::ListRead) || m_busy.has(Activity::QuantityWrite);
    return {rowsPending ? CounterPolicy::Verdict::Hold : CounterPolicy::Verdict::Take, QString()};
}

void Counter::push(Held held)
{
    const bool was = holding();
    m_held.push_back(std::move(held));
    if (!was)
        emit holdingChanged(true);
}

// What waits goes, in order, as long as the work it waits for is done; a
// held input that starts new work (a key that reads the list again) makes
// the rest wait for that.
void Counter::goOn()
{
    if (m_goingOn || m_held.empty())
        return;
    m_goingOn = true;
    while (!m_held.empty()) {
        const CounterPolicy::Decision decision = decideAtTurn(m_held.front());
        if (decision.verdict == CounterPolicy::Verdict::Hold)
            break;
        Held next = std::move(m_held.front());
        m_held.pop_front();
        if (decision.verdict == CounterPolicy::Verdict::Refuse) {
            emit refused(decision.reason);
            continue;
        }
        deliver(next);
    }
    m_goingOn = false;
    if (m_held.empty()) {
        m_typedInto = nullptr;
        m_typingGoesTo = nullptr;
        emit holdingChanged(false);
    }
}

void Counter::deliver(Held &held)
{
    if (held.action) {
        m_typedInto = nullptr;
        m_turn = true;
        held.action();
        m_turn = false;
        return;
    }
    QObject *to = held.receiver;
    if (!to)
        return;
    const bool key = isKey(held.event.get());
    if (key && to == m_typedInto && usable(m_typingGoesTo))
        to = m_typingGoesTo;
    auto *widget = qobject_cast<QWidget *>(to);
    // Its control is gone (the list was closed meanwhile): it has nowhere to go.
    if (widget && !usable(widget))
        return;
    m_delivering = held.event.get();
    QCoreApplication::sendEvent(to, held.event.get());
    m_delivering = nullptr;
    if (key) {
        m_typedInto = held.receiver;
        m_typingGoesTo = widget ? widget->window()->focusWidget() : nullptr;
    } else {
        m_typedInto = nullptr;
    }
}

bool Counter::eventFilter(QObject *watched, QEvent *event)
{
    // The grid's editors come and go: each is watched like the grid.
    if (event->type() == QEvent::ChildAdded) {
        if (QObject *child = static_cast<QChildEvent *>(event)->child(); child && child->isWidgetType())
            child->installEventFilter(this);
        return false;
    }
    if (event == m_delivering || !m_classify)
        return false;
    // A mnemonic clicks at once, not after the button's animation, so keys
    // typed after it cannot go first; the click asks like any other.
    if (event->type() == QEvent::Shortcut) {
        if (auto *button = qobject_cast<QAbstractButton *>(watched); button && button->isEnabled()) {
            button->click();
            return true;
        }
        return false;
    }
    const std::optional<Input> input = m_classify(watched, event);
    if (!input)
        return false;
    const CounterPolicy::Decision decision = CounterPolicy::decide(m_busy, holding(), *input);
    switch (decision.verdict) {
    case CounterPolicy::Verdict::Take:
        return false;
    case CounterPolicy::Verdict::Hold:
        push({input, watched, std::unique_ptr<QEvent>(event->clone()), nullptr});
        return true;
    case CounterPolicy::Verdict::Refuse:
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)
            emit refused(decision.reason);
        return true;
    }
    return false;
}
