#pragma once

#include "HistoryStore.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

// "Histórico de etiquetas": the last printed jobs, newest first, filtered by
// product (part of the name, or the code or EAN), station and dates; the
// products of the job under the cursor; and "Repetir", which closes the window
// with that job chosen for the list. Everything is reachable by keyboard: Tab
// goes filter to filter and on to the jobs, the arrows move among the jobs,
// Enter repeats the one under the cursor, Escape closes.
class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    HistoryWindow(HistoryStore &store, QWidget *parent = nullptr);

    // The job "Repetir" chose; 0 when the window was closed without one.
    qint64 chosenJob() const { return m_chosen; }

    QLineEdit *EditHistProduto;
    QLineEdit *EditHistEstacao;
    QDateEdit *EditHistDe;
    QDateEdit *EditHistAte;
    QTableWidget *GradeTrabalhos;
    QTableWidget *GradeItens;
    QLabel *LabelHistorico; // how many jobs show, or why none could be read
    QPushButton *BotRepetir;
    QPushButton *BotFecharHistorico;

public slots:
    void reload();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showItems();
    void repeatCurrent();
    qint64 currentJob() const;

    HistoryStore &m_store;
    QTimer *m_reloadSoon;
    qint64 m_chosen = 0;
};
