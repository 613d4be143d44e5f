#include "MessageBoxSink.h"

#include "Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

QWidget *mainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("FormSelvarra") && widget->isVisible())
            return widget;
    return nullptr;
}

// The suite breaks its message lines with a lone carriage return; the box wants line feeds.
QString forDisplay(const QString &text)
{
    static const QRegularExpression loneCr(QStringLiteral("\r(?!\n)"));
    return QString(text).replace(loneCr, QStringLiteral("\n"));
}

} // namespace

std::unique_ptr<QMessageBox> questionBox(const QString &text, QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("Selvar"), forDisplay(text),
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::No);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("Sim"));
    box->button(QMessageBox::No)->setText(QStringLiteral("Não"));
    return box;
}

void installMessageBoxSink()
{
    Messages::setSink([](const QString &text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Selvar"), forDisplay(text), QMessageBox::Ok, mainWindow());
        box.setTextFormat(Qt::PlainText);
        box.exec();
    });
    Messages::setQuestionSink(
        [](const QString &text) { return questionBox(text, mainWindow())->exec() == QMessageBox::Yes; });
}
