#pragma once

#include <QString>
#include <functional>

// Every message of the program is a modal box with one OK button; a question
// has the buttons "Sim" and "Não". They all pass through here, so the window
// installs the real boxes and tests install a recorder.
namespace Messages {

using Sink = std::function<void(const QString &text)>;

void show(const QString &text);

// Returns the previous sink, so a test can restore it.
Sink setSink(Sink sink);

using Question = std::function<bool(const QString &text)>;

// True when the user answers "Sim". With no box installed the answer is "Não".
bool ask(const QString &text);
Question setQuestionSink(Question question);

} // namespace Messages
