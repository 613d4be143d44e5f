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

// The question before work would be lost (closing, opening another file):
// "Salvar", "Descartar" or "Cancelar", "Salvar" the default and Escape
// cancelling, so neither key can throw the work away. Without a sink the
// answer is Cancelar: nobody was asked, so nothing is lost.
enum class Choice { Save, Discard, Cancel };
using ChoiceSink = std::function<Choice(const QString &text)>;

Choice askSave(const QString &text);

ChoiceSink setChoiceSink(ChoiceSink sink);

} // namespace Messages
