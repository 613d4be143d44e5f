#include "ModelsBox.h"

#include "Messages.h"
#include "ProjectStatement.h"
#include "ProjectWriter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

// The models as the box shows them, one a line; in the file's quotes when a
// model holds what a plain line would lose (a ";", spaces at its ends).
QString modelsText(const QStringList &prefixes)
{
    for (const QString &prefix : prefixes) {
        if (prefix.contains(QLatin1Char(';')) || prefix != prefix.trimmed())
            return modelsStatement(prefixes).mid(QStringLiteral("modelos ").size());
    }
    return prefixes.join(QLatin1Char('\n'));
}

// A line in the file's quotes: "A4" "A5".
bool quotedModels(const QString &line, QStringList *prefixes)
{
    ProjectStatement statement;
    try {
        if (ProjectStatement::split(QStringLiteral("modelos ") + line, 1, QString(), &statement))
            *prefixes += statement.arguments();
    } catch (const std::exception &) {
        return false;
    }
    return true;
}

} // namespace

QString modelsStatement(const QStringList &prefixes)
{
    SheetReport report;
    report.modelPrefixes = prefixes;
    return settingStatement(report, QStringLiteral("modelos"));
}

bool typedModels(const QString &text, QStringList *prefixes)
{
    prefixes->clear();
    QStringList found;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1Char('"'))) {
            if (!quotedModels(line, &found))
                return false;
            continue;
        }
        for (const QString &part : line.split(QLatin1Char(';')))
            found << part.trimmed();
    }
    for (const QString &model : std::as_const(found)) {
        if (!model.isEmpty() && !prefixes->contains(model))
            *prefixes << model;
    }
    return true;
}

ModelsBox::ModelsBox(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Modelos que o relatório serve (um por linha):")));
    EditModelos = new QPlainTextEdit;
    EditModelos->setObjectName(QStringLiteral("EditModelos"));
    EditModelos->setTabChangesFocus(true);
    EditModelos->setPlaceholderText(QStringLiteral("A4 3x10\nA5"));
    EditModelos->setFixedHeight(EditModelos->fontMetrics().lineSpacing() * 4 + 12);
    EditModelos->installEventFilter(this);
    layout->addWidget(EditModelos);
    LabelModelosGravados = new QLabel;
    LabelModelosGravados->setObjectName(QStringLiteral("LabelModelosGravados"));
    LabelModelosGravados->setWordWrap(true);
    LabelModelosGravados->setToolTip(QStringLiteral("Um relatório imprime as etiquetas dos modelos cuja descrição começa\n"
                                                    "por um destes textos (o mais longo vence). Um modelo por linha,\n"
                                                    "ou vários separados por \";\"."));
    layout->addWidget(LabelModelosGravados);
    connect(EditModelos, &QPlainTextEdit::textChanged, this, [this] {
        showModelsToSave();
        emit typing();
    });
}

void ModelsBox::showModels(const QStringList &prefixes, bool enabled, bool thermal)
{
    m_shown = prefixes;
    m_thermal = thermal;
    EditModelos->setPlaceholderText(thermal ? QStringLiteral("Zebra ZPL\nArgox") : QStringLiteral("A4 3x10\nA5"));
    EditModelos->setEnabled(enabled);
    if (!EditModelos->hasFocus()) {
        const QSignalBlocker block(EditModelos);
        EditModelos->setPlainText(modelsText(prefixes));
    }
    showModelsToSave();
}

void ModelsBox::showModelsToSave()
{
    QStringList prefixes;
    if (!EditModelos->isEnabled())
        LabelModelosGravados->clear();
    else if (!typedModels(EditModelos->toPlainText(), &prefixes))
        LabelModelosGravados->setText(QStringLiteral("Feche as aspas, ou escreva um modelo por linha."));
    else if (prefixes.isEmpty())
        LabelModelosGravados->setText(m_thermal ? QStringLiteral("Nenhum modelo: um relatório térmico só imprime os modelos listados aqui.")
                                                : QStringLiteral("Nenhum modelo: só imprime se for o relatório ativo."));
    else
        LabelModelosGravados->setText(QStringLiteral("Grava: ") + modelsStatement(prefixes));
}

bool ModelsBox::commit()
{
    if (!EditModelos->isEnabled())
        return true;
    QStringList prefixes;
    if (!typedModels(EditModelos->toPlainText(), &prefixes)) {
        Messages::show(QStringLiteral("Feche as aspas dos modelos, ou escreva um modelo por linha:\nA4 3x10\nA5"));
        return false;
    }
    if (prefixes != m_shown) {
        m_shown = prefixes;
        emit modelsTyped(prefixes);
    }
    return true;
}

bool ModelsBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditModelos) {
        if (event->type() == QEvent::FocusOut) {
            commit();
        } else if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ControlModifier)) {
                commit();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
