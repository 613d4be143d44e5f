#pragma once

#include <QStringList>

// The instructions the "Ver instruções" button shows, line by line.
QStringList instructionsText();

class QPlainTextEdit;
class QRect;
class QWidget;

// The memo "Ver instruções" shows (Memo2), hidden, with the program's version
// in its corner.
QPlainTextEdit *makeInstructionsMemo(QWidget *parent, const QRect &bounds);
