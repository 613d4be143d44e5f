#pragma once

#include "EtiqparModels.h"

#include <QWidget>

class BackgroundTask;
class DesignDocument;
class QLabel;
class QListWidget;
class QPushButton;

// The label models of the suite's ETIQPAR, each with the report of the open
// project that prints it (as edited here) or "nenhum", and the button that
// adds the report in view as a model of its own, so the clerk finds it in
// the counter's model box. The database is read and written off the window's
// thread; nothing is held while the person answers.
class EtiqparPanel : public QWidget
{
    Q_OBJECT
public:
    explicit EtiqparPanel(DesignDocument *document, QWidget *parent = nullptr);

    QListWidget *ListaModelosBanco;
    QPushButton *BotCadastrarModelo;

    // The suite's main database as the designer found it (DataBase text), or
    // empty with why not: the models are read at once.
    void setDatabase(const QString &dataBase, const QString &problem = QString());

public slots:
    void refresh();                 // the models read again
    void BotCadastrarModeloClick(); // asks first

signals:
    void modelsShown(); // a read or an addition came back and the list shows it

private:
    struct Outcome
    {
        QList<EtiqparModel> models;
        Etiqpar::Added added;
        QString problem; // the database's fault, in Portuguese; empty when none
    };
    using Work = std::function<void(SqlConnection &, Outcome &)>;
    void run(const Work &work, const std::function<void(const Outcome &)> &then);
    void showModels();
    ReportProject editedProject() const;
    // The description the report in view would print, and whether the report must list it first.
    bool chooseDescription(QString *description, bool *addPrefix) const;
    void told(const Outcome &outcome, const QString &description);

    DesignDocument *m_document;
    QLabel *m_state;
    QString m_database;
    QString m_problem;
    QList<EtiqparModel> m_models;
    bool m_read = false;
    BackgroundTask *m_task = nullptr;
    bool m_readAgain = false;
};
