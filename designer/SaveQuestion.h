#pragma once

#include "Messages.h"

#include <QMessageBox>

#include <memory>

// The box that asks before unsaved work would go: "Salvar" (the default, so
// Enter saves), "Descartar", and "Cancelar" (Escape), which changes nothing.
std::unique_ptr<QMessageBox> saveQuestionBox(const QString &text, QWidget *parent);
// What the box was answered: Cancelar when it was closed without a button.
Messages::Choice saveQuestionAnswer(const QMessageBox &box);
