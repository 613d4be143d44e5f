#pragma once

#include <QApplication>

// The last line of the top-level error handling: an error that escapes an event
// handler is shown in the message box instead of ending the program.
class SelvarApplication : public QApplication
{
    Q_OBJECT
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override;
};
