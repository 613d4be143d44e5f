#include "PrinterQueueCheck.h"

#include <QProcessEnvironment>
#include <QStandardPaths>

PrinterQueueCheck::PrinterQueueCheck(QObject *parent) : QObject(parent)
{
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        const PrinterQueue::Target target = m_target;
        stopProcess();
        // A bare name is a queue only if the scheduler says so; one that does
        // not answer says nothing, and the site's batch file has its way.
        finish(target.marked ? PrinterQueue::silentProblem(target, m_limitMs / 1000) : QString());
    });
}

PrinterQueueCheck::~PrinterQueueCheck()
{
    stopProcess();
}

bool PrinterQueueCheck::needsAsking(const QString &printerPath)
{
    return !PrinterQueue::target(printerPath).queue.isEmpty();
}

void PrinterQueueCheck::start(const QString &printerPath)
{
    stopProcess();
    m_target = PrinterQueue::target(printerPath);
    if (m_target.queue.isEmpty()) {
        finish({});
        return;
    }
    m_lpstat = QStandardPaths::findExecutable(QStringLiteral("lpstat"));
    if (m_lpstat.isEmpty()) {
        finish(m_target.marked ? PrinterQueue::missingLpstatProblem(m_target) : QString());
        return;
    }
    ask(QStringLiteral("-p"));
}

void PrinterQueueCheck::cancel()
{
    stopProcess();
}

void PrinterQueueCheck::ask(const QString &option)
{
    m_option = option;
    m_process = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    m_process->setProcessEnvironment(environment);
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_process, &QProcess::finished, this, &PrinterQueueCheck::processEnded);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            processEnded();
    });
    m_limit.start(m_limitMs);
    m_process->start(m_lpstat, {option, m_target.queue});
}

void PrinterQueueCheck::processEnded()
{
    if (!m_process)
        return;
    m_limit.stop();
    const PrinterQueue::Answer answer{m_process->exitStatus() == QProcess::NormalExit && m_process->error() != QProcess::FailedToStart
                                          && m_process->exitCode() == 0,
                                      QString::fromLocal8Bit(m_process->readAll())};
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
    if (m_option == QLatin1String("-p")) {
        const QString problem = PrinterQueue::stateProblem(m_target, answer);
        // Unknown and unmarked: no queue, nothing more to ask.
        if (!problem.isEmpty() || !answer.known) {
            finish(problem);
            return;
        }
        ask(QStringLiteral("-a"));
        return;
    }
    finish(PrinterQueue::acceptingProblem(m_target, answer));
}

void PrinterQueueCheck::finish(const QString &problem)
{
    emit answered(problem);
}

void PrinterQueueCheck::stopProcess()
{
    m_limit.stop();
    if (!m_process)
        return;
    m_process->disconnect(this);
    // Killed and left to end on its own: nothing here waits for it.
    QProcess *process = m_process;
    m_process = nullptr;
    // Out of this object's hands, so ending it never waits for the process either.
    process->setParent(nullptr);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    if (process->state() == QProcess::NotRunning)
        process->deleteLater();
    else
        process->kill();
}
