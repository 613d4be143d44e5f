#pragma once

#include <QString>
#include <functional>

// Every message of the program is a modal box with one OK button. They all pass
// through here, so the window installs the real box and tests install a recorder.
namespace Messages {

using Sink = std::function<void(const QString &text)>;

void show(const QString &text);

// Returns the previous sink, so a test can restore it.
Sink setSink(Sink sink);

// The one kind of question the program asks: a yes/no box, "Não" the default.
// Without a sink installed the answer is yes, as a program without a screen
// has nobody to ask.
using QuestionSink = std::function<bool(const QString &text)>;

bool ask(const QString &text);

QuestionSink setQuestionSink(QuestionSink sink);

} // namespace Messages
