#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <deque>

class QEvent;
class QLineEdit;

// Typing into a search box while the list is read again. The window has one
// thread, and on a long list a re-read outlasts a keystroke: left alone, every
// key would wait for the read before it and then pay a full read of its own.
// So while the rows arrive the window keeps answering the box. A key that edits
// the box's text goes in at once, shows, and abandons the read under way for
// the newer text; the read that counts is the one for the box's final text.
// Any other input (Enter, Tab, Escape, a click, a key meant elsewhere) waits, in
// its order, until that read is done and then goes where it was going: Enter
// after fast typing acts on the final text, and a quantity typed after it lands
// in the grid, as if each key had waited its turn.
class SearchTyping : public QObject
{
    Q_OBJECT
public:
    // Reads the list for the box's text as it now stands; keepGoing is asked
    // while rows arrive, and the read gives up when it says no.
    using Read = std::function<void(const std::function<bool()> &keepGoing)>;

    explicit SearchTyping(QObject *parent = nullptr);
    ~SearchTyping() override;

    // The box's text changed: read the list for it, or, while a read runs,
    // have that read give way to one for the newer text. reads names what the
    // read fetches (its statement); empty, every read gives way.
    void changed(QLineEdit *box, const Read &read, const QString &reads = QString());
    bool reading() const { return m_reading; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keepGoing();
    bool editsTheBox(QObject *receiver, const QEvent *event) const;
    void replayHeld();

    bool m_reading = false;
    bool m_newer = false;
    QPointer<QLineEdit> m_box;
    Read m_read;
    QString m_readsLatest;  // what the read for the box's newest text fetches
    QString m_readsRunning; // what the read under way fetches
    QElapsedTimer m_sinceEvents;
    struct Held
    {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::deque<Held> m_held;
    bool m_replaying = false;
};
