#include "SearchTyping.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>

namespace {

// How long the window may go without answering while rows arrive.
constexpr qint64 kAnswerEveryMs = 10;

bool isInput(QEvent::Type type)
{
    switch (type) {
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

} // namespace

SearchTyping::SearchTyping(QObject *parent) : QObject(parent) {}

SearchTyping::~SearchTyping()
{
    if (m_reading)
        qApp->removeEventFilter(this);
}

void SearchTyping::changed(QLineEdit *box, const Read &read, const QString &reads)
{
    m_box = box;
    m_read = read;
    m_readsLatest = reads;
    if (m_reading) {
        m_newer = true;
        return;
    }
    m_reading = true;
    qApp->installEventFilter(this);
    m_sinceEvents.start();
    auto finish = [this] {
        qApp->removeEventFilter(this);
        m_reading = false;
        replayHeld();
    };
    try {
        do {
            m_newer = false;
            m_readsRunning = m_readsLatest;
            const Read current = m_read; // a key let in meanwhile replaces m_read
            current([this] { return keepGoing(); });
        } while (m_newer && m_box);
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

bool SearchTyping::keepGoing()
{
    if (m_sinceEvents.elapsed() >= kAnswerEveryMs) {
        QCoreApplication::processEvents();
        m_sinceEvents.restart();
    }
    return !m_newer || (!m_readsRunning.isEmpty() && m_readsRunning == m_readsLatest);
}

// A key that only changes the text of the box being searched: printable
// characters, Backspace and Delete, without Control or Alt.
bool SearchTyping::editsTheBox(QObject *receiver, const QEvent *event) const
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const bool toTheBox = receiver == m_box
                          || (receiver->isWindowType() && m_box && QApplication::focusWidget() == m_box
                              && static_cast<QWindow *>(receiver) == m_box->window()->windowHandle());
    if (!toTheBox)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return true;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f;
}

bool SearchTyping::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_reading || !isInput(event->type()) || !(watched->isWidgetType() || watched->isWindowType()))
        return false;
    // Once one input waits, every later one waits behind it, so they keep their order.
    if (m_held.empty() && editsTheBox(watched, event))
        return false;
    m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

void SearchTyping::replayHeld()
{
    // A replayed key may start another read (Escape clears the box): input
    // held during that one queues behind what is still here, and this loop,
    // not the inner one, sends it all in order.
    if (m_replaying)
        return;
    m_replaying = true;
    while (!m_held.empty() && !m_reading) {
        Held next = std::move(m_held.front());
        m_held.pop_front();
        if (next.receiver)
            QCoreApplication::sendEvent(next.receiver, next.event.get());
    }
    m_replaying = false;
}
