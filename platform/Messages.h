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

// A question with the buttons "Sim" and "Não": true for "Sim". Without a window
// to ask in, the answer is "Não", so nothing the user did not confirm goes ahead.
using Question = std::function<bool(const QString &text)>;
bool ask(const QString &text);
Question setQuestionSink(Question sink);

} // namespace Messages
