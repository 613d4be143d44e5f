#include "Messages.h"

#include <QDebug>

namespace {

Messages::Sink &currentSink()
{
    static Messages::Sink sink = [](const QString &text) { qWarning().noquote() << text; };
    return sink;
}

} // namespace

namespace Messages {

void show(const QString &text)
{
    currentSink()(text);
}

Sink setSink(Sink sink)
{
    Sink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

} // namespace Messages
