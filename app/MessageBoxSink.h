#pragma once

// Shows every message of the program in a modal box with one OK button, and
// every question with "Sim" and "Não", over the main window when there is one.
void installMessageBoxSink();

#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

// The box a question is asked in: "Sim" and "Não", "Não" the default.
std::unique_ptr<QMessageBox> questionBox(const QString &text, QWidget *parent);
