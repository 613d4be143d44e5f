#include "SaveQuestion.h"

#include <QAbstractButton>
#include <QPushButton>

std::unique_ptr<QMessageBox> saveQuestionBox(const QString &text, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, QStringLiteral("Editor de etiquetas"), text,
                                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box->setTextFormat(Qt::PlainText);
    box->button(QMessageBox::Save)->setText(QStringLiteral("Salvar"));
    box->button(QMessageBox::Discard)->setText(QStringLiteral("Descartar"));
    box->button(QMessageBox::Cancel)->setText(QStringLiteral("Cancelar"));
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

Messages::Choice saveQuestionAnswer(const QMessageBox &box)
{
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Save:
        return Messages::Choice::Save;
    case QMessageBox::Discard:
        return Messages::Choice::Discard;
    default:
        return Messages::Choice::Cancel;
    }
}
