#pragma once

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

// Clicks a button whose work goes on after the click (on a worker, behind a
// read) and waits for the signal that says it has ended: the test goes on
// from the end the program announces, never from a guess of how long it takes.
// False if the signal did not come within the time.
template <typename Sender, typename Signal>
bool clickAndWait(QWidget *button, const Sender *sender, Signal signal, int timeoutMs = 120000)
{
    QSignalSpy ended(sender, signal);
    QTest::mouseClick(button, Qt::LeftButton);
    return ended.count() > 0 || ended.wait(timeoutMs);
}
