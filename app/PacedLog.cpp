#include "PacedLog.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

// Lines per append: small enough that one costs well under a slice.
constexpr qsizetype kLinesPerAppend = 100;

} // namespace

PacedLog::PacedLog(QPlainTextEdit *memo) : QObject(memo), m_memo(memo) {}

void PacedLog::append(const QString &lines)
{
    m_waiting += lines.split(QLatin1Char('\n'));
    if (!m_scheduled) {
        m_scheduled = true;
        // Queued, not run here: the batch that came in stays one event's work.
        QTimer::singleShot(0, this, &PacedLog::appendSlice);
    }
}

void PacedLog::clear()
{
    m_waiting.clear();
    if (m_memo)
        m_memo->clear();
}

void PacedLog::flush()
{
    if (m_memo && pending())
        m_memo->appendPlainText(m_waiting.join(QLatin1Char('\n')));
    m_waiting.clear();
}

void PacedLog::appendSlice()
{
    m_scheduled = false;
    QElapsedTimer slice;
    slice.start();
    while (pending() && slice.elapsed() < kSliceMs) {
        const qsizetype lines = std::min(kLinesPerAppend, m_waiting.size());
        if (m_memo)
            m_memo->appendPlainText(m_waiting.first(lines).join(QLatin1Char('\n')));
        m_waiting.remove(0, lines);
    }
    // What is left goes after whatever else waits for the window now.
    if (pending()) {
        m_scheduled = true;
        QTimer::singleShot(0, this, &PacedLog::appendSlice);
    }
}
