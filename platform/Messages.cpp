#include "Messages.h"

#include <QDebug>

namespace {

Messages::Sink &currentSink()
{
    static Messages::Sink sink = [](const QString &text) { qWarning().noquote() << text; };
    return sink;
}

Messages::Question &currentQuestion()
{
    static Messages::Question question = [](const QString &text) {
        qWarning().noquote() << text;
        return false;
    };
    return question;
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

bool ask(const QString &text)
{
    return currentQuestion()(text);
}

Question setQuestionSink(Question question)
{
    Question previous = std::move(currentQuestion());
    currentQuestion() = std::move(question);
    return previous;
}

} // namespace Messages
