#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QPlainTextEdit;

// Lines for a log memo that arrive in large batches (a list build sends what
// it wrote every few dozen milliseconds) go in a slice at a time, each slice
// a few milliseconds of the window's thread, so keys, clicks and paint are
// answered between them. The memo holds every line, in order, once flushed.
class PacedLog : public QObject
{
    Q_OBJECT
public:
    explicit PacedLog(QPlainTextEdit *memo);

    void append(const QString &lines); // lines separated by '\n'
    void clear();                      // the memo and what was waiting for it
    void flush();                      // whatever waits goes in now
    bool pending() const { return !m_waiting.isEmpty(); }

    static constexpr int kSliceMs = 4;

private:
    void appendSlice();

    QPointer<QPlainTextEdit> m_memo;
    QStringList m_waiting; // lines, oldest first
    bool m_scheduled = false;
};
