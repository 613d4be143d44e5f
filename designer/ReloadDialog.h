#pragma once

#include "PendingEdits.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// Before the project is read again from disk over unsaved work: this
// window's edits listed one a line, and the choice to make them again on the
// file as it is now ("Recarregar e reaplicar", the default), to let them go
// on purpose ("Recarregar e descartar"), or to leave everything as it is
// ("Cancelar", also Escape). The dialog's result is its Choice.
class ReloadDialog : public QDialog
{
    Q_OBJECT
public:
    enum Choice { Cancel = 0, Reapply = 1, Discard = 2 };

    ReloadDialog(const QList<PendingEdit> &edits, QWidget *parent = nullptr);

    QListWidget *ListaAlteracoes;
    QPushButton *BotReaplicar;
    QPushButton *BotDescartar;
    QPushButton *BotCancelar;
};
