#include "ProcessStarter.h"

#include <QProcess>
#include <QTimer>

#ifndef Q_OS_WIN
#include <csignal>
#include <unistd.h>
#endif

namespace {

ProcessStarter::Starter &currentStarter()
{
    static ProcessStarter::Starter starter;
    return starter;
}

// A copy to the printer in the middle of a label is worse than a short wait at exit.
constexpr int kGraceAtExitMs = 30000;

// Each run is a process group of its own, so that ending it ends what it
// started too (a "sleep", an "lp" waiting for a printer), not the shell alone.
class BatchProcess : public QProcess
{
public:
    explicit BatchProcess(QObject *parent) : QProcess(parent)
    {
        setStandardInputFile(QProcess::nullDevice());
#ifndef Q_OS_WIN
        setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    }
    ~BatchProcess() override
    {
        if (state() != QProcess::NotRunning && !waitForFinished(kGraceAtExitMs))
            killAll();
        waitForFinished(1000);
    }

    void killAll()
    {
#ifndef Q_OS_WIN
        if (processId() > 0)
            ::kill(-pid_t(processId()), SIGKILL);
#endif
        kill();
    }
};

void runReal(QObject *context, const QString &batchFile, const QStringList &arguments, ProcessStarter::Finished finished,
             int timeLimitMs)
{
    auto *process = new BatchProcess(context);
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    auto timedOut = std::make_shared<bool>(false);
    if (timeLimitMs > 0) {
        QTimer::singleShot(timeLimitMs, process, [process, timedOut] {
            if (process->state() == QProcess::NotRunning)
                return;
            *timedOut = true;
            process->killAll();
        });
    }
    auto done = std::make_shared<bool>(false);
    auto report = [process, done, finished](const ProcessStarter::Outcome &outcome) {
        if (*done)
            return;
        *done = true;
        process->deleteLater();
        finished(outcome);
    };
    QObject::connect(process, &QProcess::errorOccurred, process, [process, report](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            report({false, -1, process->errorString(), {}});
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, report, timedOut, timeLimitMs](int exitCode, QProcess::ExitStatus status) {
        const QString output = QString::fromLocal8Bit(process->readAllStandardError()).trimmed().section(QLatin1Char('\n'), -1);
        if (*timedOut) {
            report({true, exitCode, QStringLiteral("interrompido após %1 s sem terminar").arg(timeLimitMs / 1000), output, true});
            return;
        }
        report({true, exitCode, status == QProcess::CrashExit ? QStringLiteral("interrompido por um sinal") : QString(), output});
    });
#ifdef Q_OS_WIN
    process->start(QStringLiteral("cmd"), QStringList{QStringLiteral("/c"), batchFile} + arguments);
#else
    process->start(QStringLiteral("/bin/sh"), QStringList{batchFile} + arguments);
#endif
}

} // namespace

namespace ProcessStarter {

void runBatch(QObject *context, const QString &batchFile, const QStringList &arguments, Finished finished, int timeLimitMs)
{
    if (!currentStarter()) {
        runReal(context, batchFile, arguments, std::move(finished), timeLimitMs);
        return;
    }
    // The stand-in answers from the event loop as a real run would, so callers
    // meet the same order of events in tests as on a workstation.
    Starter starter = currentStarter();
    QTimer::singleShot(0, context, [starter, batchFile, arguments, finished] {
        finished({true, starter(batchFile, arguments) ? 0 : 1, {}, {}});
    });
}

void endRuns(QObject *context)
{
    for (QProcess *run : context->findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        if (auto *batch = dynamic_cast<BatchProcess *>(run)) {
            batch->disconnect();
            batch->killAll();
            batch->waitForFinished(1000);
        }
    }
}

Starter setStarter(Starter starter)
{
    Starter previous = std::move(currentStarter());
    currentStarter() = std::move(starter);
    return previous;
}

} // namespace ProcessStarter
