#pragma once

#include <QDialog>

class QPushButton;

// Before a thermal job goes to the printer: see it first (the default, as the
// sheet output offers its preview first) or print it straight away.
class ThermalPrintChoice : public QDialog
{
    Q_OBJECT
public:
    enum Result { Cancelled = 0, Preview = 1, Print = 2 };

    explicit ThermalPrintChoice(int files, QWidget *parent = nullptr);

    QPushButton *BotVisualizar;
    QPushButton *BotImprimir;
    QPushButton *BotCancelar;

    // Shown through ReportModal, so tests answer it.
    static Result ask(int files, QWidget *parent);
};
