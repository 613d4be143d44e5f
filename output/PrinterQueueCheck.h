#pragma once

#include "PrinterQueue.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

// Asks the CUPS scheduler about the queue a printer path names, without ever
// waiting for it: lpstat runs as a process whose end comes back as a signal,
// so the window keeps painting and answering while the scheduler thinks, and a
// scheduler that never answers is given up after a limit (or by the clerk).
// Asks the scheduler CUPS_SERVER names, as lp does.
class PrinterQueueCheck : public QObject
{
    Q_OBJECT
public:
    explicit PrinterQueueCheck(QObject *parent = nullptr);
    ~PrinterQueueCheck() override;

    // Whether the path is asked about at all; a path that is not goes to the
    // batch file untouched, and start() is not needed.
    static bool needsAsking(const QString &printerPath);

    // Starts asking; `answered` follows, with an empty text when the queue
    // takes jobs (or the bare name is no queue the scheduler knows).
    void start(const QString &printerPath);
    // Gives up: the process is ended and `answered` never comes.
    void cancel();
    bool running() const { return m_process != nullptr; }

    // How long the scheduler has for each question (10 s unless set).
    void setAnswerLimitMs(int ms) { m_limitMs = ms; }

signals:
    void answered(const QString &problem);

private:
    void ask(const QString &option);
    void processEnded();
    void finish(const QString &problem);
    void stopProcess();

    PrinterQueue::Target m_target;
    QString m_lpstat;
    QString m_option; // "-p" (state), then "-a" (accepting)
    QProcess *m_process = nullptr;
    QTimer m_limit;
    int m_limitMs = 10000;
};
