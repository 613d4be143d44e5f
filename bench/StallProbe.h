#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

// The window's longest stall: a 5 ms timer on the window's thread notes the
// largest gap between two of its ticks. A gap is how long the clerk's keys,
// clicks and paint wait.
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { m_largest = std::max(m_largest, m_sinceTick.restart()); });
    }
    void start()
    {
        m_largest = 0;
        m_sinceTick.start();
        m_timer.start();
    }
    // A stall still under way when the work returns counts as well.
    qint64 stop()
    {
        m_timer.stop();
        return std::max(m_largest, m_sinceTick.elapsed());
    }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_largest = 0;
};
