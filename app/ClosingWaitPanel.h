#pragma once

#include <QFrame>

// What closing the window waits for while a file goes to the printer, with
// "Fechar mesmo assim", which can be pressed once the clerk has had time to
// read why the window stays.
class ClosingWaitPanel : public QFrame
{
    Q_OBJECT
public:
    ClosingWaitPanel(const QString &text, QWidget *window);

signals:
    void closeAnyway();
};
