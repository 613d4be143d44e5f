#pragma once

#include "PrintHandOver.h"

#include <QObject>

#include <functional>

class HandOverScreen;
struct HandOverResult;

// The hand-over of thermal jobs as the counter sees it: which file goes now,
// "Parar envio" while files go, "Continuar envio" for the rest of jobs that
// stopped, the print line once a job's hand-over has ended, as it really
// ended, and whether the window may close meanwhile. How far each job got
// lives in its record (ThermalJournal), which the hand-over owns; the flow
// only asks it.
class HandOverFlow : public QObject
{
    Q_OBJECT
public:
    // `record` gives a queued job its history number.
    using Record = std::function<void(PrintHandOver::HistoryGiven given)>;
    HandOverFlow(PrintHandOver &handOver, HandOverScreen &screen, Record record, QObject *parent = nullptr);

    // Queues a thermal job; the print line follows what the hand-over really did.
    void handOver(PrintJob job);
    // Shows "Continuar envio" when this station has files of stopped jobs
    // left, once the jobs whose files all went are settled.
    void refreshOffer();
    void stopSending();     // "Parar envio"
    void continueSending(); // "Continuar envio"

    // True when nothing is being sent to the printer. Otherwise, once the
    // clerk agrees, the hand-over stops after the file under way, the screen
    // says what closing waits for, and the window closes when the hand-over
    // is idle, or at once with closeAnyway().
    bool mayClose();
    void closeAnyway();

private:
    void offer(bool settleFirst);
    void jobEnded(const HandOverResult &result);
    void readTimeLimit();

    PrintHandOver &m_handOver;
    HandOverScreen &m_screen;
    Record m_record;
    bool m_closing = false;
    bool m_closeAnyway = false;
};
