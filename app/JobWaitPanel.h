#pragma once

#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class TFormSelvarra;

// A station waiting its turn for the suite-wide lock: a small panel over the
// list (or the main buttons) saying whom it waits for and for how long, with
// "Cancelar"; Escape does the same. The station waits on the worker that runs
// the job; the window keeps answering meanwhile, and nothing that could start
// other work is active until the wait ends.
class JobWaitPanel
{
public:
    explicit JobWaitPanel(TFormSelvarra &form);
    ~JobWaitPanel();
    JobWaitPanel(const JobWaitPanel &) = delete;
    JobWaitPanel &operator=(const JobWaitPanel &) = delete;

    // "Aguardando a estação 07 terminar de imprimir… 12 s".
    void waiting(const QString &text, int seconds);
    // The panel with a text of its own ("Consultando a impressora…").
    void showing(const QString &text);

private:
    TFormSelvarra &m_form;
    QFrame *m_panel = nullptr;
    QLabel *m_text = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_wasRunning = false;
    bool m_actionsWereEnabled = true;
};
