#include "Messages.h"

#include <QDebug>

namespace {

Messages::Sink &currentSink()
{
    static Messages::Sink sink = [](const QString &text) { qWarning().noquote() << text; };
    return sink;
}

Messages::QuestionSink &currentQuestionSink()
{
    static Messages::QuestionSink sink;
    return sink;
}

Messages::ChoiceSink &currentChoiceSink()
{
    static Messages::ChoiceSink sink;
    return sink;
}

} // namespace

namespace Messages {

Choice askSave(const QString &text)
{
    return currentChoiceSink() ? currentChoiceSink()(text) : Choice::Cancel;
}

ChoiceSink setChoiceSink(ChoiceSink sink)
{
    ChoiceSink previous = std::move(currentChoiceSink());
    currentChoiceSink() = std::move(sink);
    return previous;
}

bool ask(const QString &text)
{
    return currentQuestionSink() ? currentQuestionSink()(text) : true;
}

QuestionSink setQuestionSink(QuestionSink sink)
{
    QuestionSink previous = std::move(currentQuestionSink());
    currentQuestionSink() = std::move(sink);
    return previous;
}

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
