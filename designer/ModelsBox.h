#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

// "Modelos que o relatório serve", as a person writes them: one model per
// line, or several on a line separated by ";" (a model's own spaces are part
// of its name: "A4 3x10"), or in the file's quotes. Under the box, the
// 'modelos' line the file will hold. What was typed counts when the cursor
// leaves the box (or on Ctrl+Enter, or before a save): one change, one step.
class ModelsBox : public QWidget
{
    Q_OBJECT
public:
    explicit ModelsBox(QWidget *parent = nullptr);

    QPlainTextEdit *EditModelos;
    QLabel *LabelModelosGravados;

    // The report's models, shown one per line (left alone while being typed).
    void showModels(const QStringList &prefixes, bool enabled, bool thermal = false);
    // What is typed, handed on by modelsTyped when it differs from what the
    // report has; false (with a message) when quotes do not close.
    bool commit();

signals:
    void modelsTyped(const QStringList &prefixes);
    void typing(); // the person changed the text: there is something to save


protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showModelsToSave();

    QStringList m_shown; // the report's models as last shown
    bool m_thermal = false; // a thermal report is never the active one: it prints only the models it lists
};

// The models as the box takes a text; false when quotes do not close.
bool typedModels(const QString &text, QStringList *prefixes);
// The 'modelos' line as the file will hold it: modelos "A4" "A4 Pimaco".
QString modelsStatement(const QStringList &prefixes);
