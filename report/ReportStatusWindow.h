#pragma once

#include <QDialog>

class QLabel;

// Tells the user which page the engine is on while a run produces its pages.
// The run keeps the user-interface thread, so the window is painted at once on
// every change instead of waiting for the event loop.
class ReportStatusWindow : public QDialog
{
    Q_OBJECT
public:
    ReportStatusWindow(const QString &title, QWidget *parent = nullptr);

    // `pattern` holds %p where the page number goes ("Printing page %p").
    void showPage(const QString &pattern, int page);
    QString text() const;

private:
    QLabel *m_label;
};
