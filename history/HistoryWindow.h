#pragma once

#include "HistoryStore.h"

#include <QDialog>

class HistoryWork;
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
// Enter repeats the one under the cursor, Escape closes. The jobs and their
// products are read by the history's worker; Enter pressed while the jobs are
// being read repeats the first of them once they are in.
class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    // `database` is the DataBase text of the suite's database.
    HistoryWindow(HistoryWork &work, const QString &database, QWidget *parent = nullptr);

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

    // A read of the jobs or of a job's products is under way.
    bool reading() const { return m_jobsAsked != m_jobsShown || m_itemsAsked != m_itemsShown; }

public slots:
    void reload();

signals:
    // The jobs read for the filters are shown (or why they could not be read).
    void jobsShown();
    // The products of the job under the cursor are shown.
    void itemsShown();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showJobs(const QList<HistoryStore::JobRow> &jobs);
    void readItems();
    void showItems(const QList<PrintedItem> &items);
    void showFailure(const QString &error, bool connectionLost);
    void repeatCurrent();
    qint64 currentJob() const;

    HistoryWork &m_work;
    QString m_database;
    QTimer *m_reloadSoon;
    qint64 m_chosen = 0;
    // Reads asked and answered: only the newest answer is shown.
    quint64 m_jobsAsked = 0, m_jobsShown = 0;
    quint64 m_itemsAsked = 0, m_itemsShown = 0;
    bool m_repeatWhenShown = false;
};
