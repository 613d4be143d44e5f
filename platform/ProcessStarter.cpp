#include "ProcessStarter.h"

#include <QProcess>

namespace {

bool startDetachedBatch(const QString &batchFile, const QStringList &arguments)
{
#ifdef Q_OS_WIN
    return QProcess::startDetached(QStringLiteral("cmd"), QStringList{QStringLiteral("/c"), batchFile} + arguments);
#else
    return QProcess::startDetached(QStringLiteral("/bin/sh"), QStringList{batchFile} + arguments);
#endif
}

ProcessStarter::Starter &currentStarter()
{
    static ProcessStarter::Starter starter = startDetachedBatch;
    return starter;
}

} // namespace

namespace ProcessStarter {

bool startBatch(const QString &batchFile, const QStringList &arguments)
{
    return currentStarter()(batchFile, arguments);
}

Starter setStarter(Starter starter)
{
    Starter previous = std::move(currentStarter());
    currentStarter() = std::move(starter);
    return previous;
}

} // namespace ProcessStarter
