#include "EtiqparPanel.h"

#include "BackgroundTask.h"
#include "DesignDocument.h"
#include "Messages.h"
#include "SelvarError.h"
#include "SqlConnection.h"
#include "SuiteData.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Runs `work` on an attachment of its own; the fault, said, when it fails.
QString onDatabase(const QString &dataBase, const std::function<void(SqlConnection &)> &work)
{
    SqlConnection connection(QStringLiteral("SQLConnectionModelos"), QStringLiteral("EtiqparModelos"));
    try {
        connection.setDataBase(dataBase);
        if (!connection.embedded() && !suiteServerAnswers(dataBase.section(QLatin1Char(':'), 0, 0)))
            return QStringLiteral("o servidor do banco de dados não responde");
        work(connection);
    } catch (const SelvarError &error) {
        return error.message();
    }
    return {};
}

} // namespace

EtiqparPanel::EtiqparPanel(DesignDocument *document, QWidget *parent) : QWidget(parent), m_document(document)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Modelos do banco (ETIQPAR) e o relatório que os imprime:")));
    m_state = new QLabel;
    m_state->setObjectName(QStringLiteral("LabelModelosBanco"));
    m_state->setWordWrap(true);
    layout->addWidget(m_state);
    ListaModelosBanco = new QListWidget;
    ListaModelosBanco->setObjectName(QStringLiteral("ListaModelosBanco"));
    ListaModelosBanco->setWordWrap(true);
    layout->addWidget(ListaModelosBanco);
    BotCadastrarModelo = new QPushButton(QStringLiteral("Cadastrar este relatório como modelo..."));
    BotCadastrarModelo->setObjectName(QStringLiteral("BotCadastrarModelo"));
    BotCadastrarModelo->setToolTip(QStringLiteral("Inclui em ETIQPAR um modelo que este relatório imprime, com o próximo código livre:\n"
                                                  "o balconista o escolhe na caixa de modelos do Selvar."));
    layout->addWidget(BotCadastrarModelo);
    connect(BotCadastrarModelo, &QPushButton::clicked, this, &EtiqparPanel::BotCadastrarModeloClick);
    connect(m_document, &DesignDocument::projectChanged, this, &EtiqparPanel::showModels);
    connect(m_document, &DesignDocument::reportChanged, this, &EtiqparPanel::showModels);
    showModels();
}

void EtiqparPanel::setDatabase(const QString &dataBase, const QString &problem)
{
    m_database = dataBase;
    m_problem = dataBase.isEmpty() ? problem : QString();
    m_read = false;
    refresh();
}

void EtiqparPanel::refresh()
{
    if (m_database.isEmpty()) {
        showModels();
        return;
    }
    if (m_task) {
        m_readAgain = true; // after the work under way, which may be an addition
        return;
    }
    run([](SqlConnection &connection, Outcome &outcome) { outcome.models = Etiqpar::read(connection); },
        [this](const Outcome &outcome) {
            if (!outcome.problem.isEmpty())
                m_problem = outcome.problem;
        });
}

void EtiqparPanel::run(const Work &work, const std::function<void(const Outcome &)> &then)
{
    BotCadastrarModelo->setEnabled(false);
    m_task = startTask<Outcome>(
        this, SuiteConnectTimeoutMs + 1000,
        [dataBase = m_database, work] {
            Outcome outcome;
            outcome.problem = onDatabase(dataBase, [&](SqlConnection &connection) { work(connection, outcome); });
            return outcome;
        },
        [this, then](const Outcome &outcome) {
            m_task->deleteLater();
            m_task = nullptr;
            if (outcome.problem.isEmpty()) {
                m_models = outcome.models;
                m_read = true;
                m_problem.clear();
            }
            then(outcome);
            showModels();
            if (std::exchange(m_readAgain, false))
                refresh();
            else
                emit modelsShown();
        });
    showModels();
}

ReportProject EtiqparPanel::editedProject() const
{
    ReportProject project = m_document->project();
    project.reports.clear();
    for (int row = 0; row < m_document->reportCount(); ++row)
        project.reports << m_document->reportAt(row);
    if (m_document->activeRow() >= 0)
        project.activeReport = m_document->reportAt(m_document->activeRow()).name;
    return project;
}

void EtiqparPanel::showModels()
{
    BotCadastrarModelo->setEnabled(!m_task && !m_database.isEmpty() && m_document->hasReport());
    QStringList lines;
    if (m_database.isEmpty() || !m_problem.isEmpty()) {
        m_state->setText(m_problem.isEmpty() ? QStringLiteral("Procurando o banco de dados da suíte...")
                                             : QStringLiteral("Sem os modelos do banco: %1.").arg(m_problem));
    } else if (!m_read) {
        m_state->setText(QStringLiteral("Lendo os modelos do banco..."));
    } else {
        m_state->setText(m_models.isEmpty() ? QStringLiteral("ETIQPAR não tem modelos.")
                                             : QStringLiteral("Com o projeto como está neste editor:"));
        const ReportProject project = editedProject();
        for (const EtiqparModel &model : std::as_const(m_models))
            lines << QStringLiteral("%1 %2 → %3").arg(model.code, model.description, modelPrinterText(modelPrinter(project, model.description)));
    }
    // Every step of a drag comes here: the list is touched only when a line changes.
    bool same = lines.size() == ListaModelosBanco->count();
    for (int i = 0; same && i < lines.size(); ++i)
        same = ListaModelosBanco->item(i)->text() == lines[i];
    if (!same) {
        ListaModelosBanco->clear();
        ListaModelosBanco->addItems(lines);
    }
}

bool EtiqparPanel::chooseDescription(QString *description, bool *addPrefix) const
{
    const SheetReport &report = m_document->report();
    *addPrefix = report.modelPrefixes.isEmpty();
    const QStringList candidates = *addPrefix ? QStringList{report.name.trimmed()} : report.modelPrefixes;
    ReportProject project = editedProject();
    if (*addPrefix)
        project.reports[m_document->currentIndex()].modelPrefixes = candidates;
    for (const QString &candidate : candidates) {
        const ModelPrinter printer = modelPrinter(project, candidate);
        if (candidate.size() <= Etiqpar::DescriptionLimit && printer.kind != ModelPrinter::Kind::Nothing &&
            printer.kind != ModelPrinter::Kind::FixedThermal && printer.report == report.name) {
            *description = candidate;
            return true;
        }
    }
    const QString first = candidates.value(0);
    *description = first.size() > Etiqpar::DescriptionLimit
                       ? QStringLiteral("\"%1\" passa de %2 letras, o tamanho da descrição em ETIQPAR.").arg(first).arg(Etiqpar::DescriptionLimit)
                       : QStringLiteral("um modelo \"%1\" é impresso por: %2.").arg(first, modelPrinterText(modelPrinter(project, first)));
    return false;
}

void EtiqparPanel::BotCadastrarModeloClick()
{
    if (!m_document->hasReport() || m_task)
        return;
    if (m_database.isEmpty()) {
        Messages::show(QStringLiteral("O banco de dados da suíte não foi encontrado: o modelo não pode ser cadastrado daqui."));
        return;
    }
    const QString name = m_document->report().name;
    QString description;
    bool addPrefix = false;
    if (!chooseDescription(&description, &addPrefix)) {
        Messages::show(QStringLiteral("Nenhum modelo deste relatório seria impresso por \"%1\": %2\n\n"
                                      "Mude os modelos que o relatório serve (um começo de descrição que nenhum outro "
                                      "relatório tenha, e que não comece por \"A4\", \"A5\" ou \"Carta\" num relatório térmico).")
                           .arg(name, description));
        return;
    }
    for (const EtiqparModel &model : std::as_const(m_models)) {
        if (model.description == description) {
            Messages::show(QStringLiteral("O modelo \"%1\" já está em ETIQPAR, com o código %2.").arg(description, model.code));
            return;
        }
    }
    QString question = QStringLiteral("Cadastrar em ETIQPAR o modelo \"%1\", com o próximo código livre?\n\n"
                                      "O balconista o escolhe na caixa de modelos do Selvar, que o imprime com o relatório \"%2\".")
                           .arg(description, name);
    if (addPrefix)
        question += QStringLiteral("\n\nO relatório passa a servir o modelo \"%1\".").arg(description);
    if (addPrefix || m_document->isModified())
        question += QStringLiteral("\n\nGrave o projeto (Salvar): o balcão imprime o projeto gravado.");
    if (!Messages::ask(question))
        return;
    if (addPrefix) {
        SheetReport after = m_document->report();
        after.modelPrefixes = {description};
        m_document->edit(after, QStringLiteral("Modelos"));
    }
    const NewModel model = newModelFor(m_document->report(), description);
    run(
        [model](SqlConnection &connection, Outcome &outcome) {
            outcome.added = Etiqpar::add(connection, model);
            outcome.models = Etiqpar::read(connection);
        },
        [this, description](const Outcome &outcome) { told(outcome, description); });
}

void EtiqparPanel::told(const Outcome &outcome, const QString &description)
{
    if (!outcome.problem.isEmpty())
        Messages::show(QStringLiteral("O modelo \"%1\" não foi cadastrado: %2").arg(description, outcome.problem));
    else if (outcome.added.full)
        Messages::show(QStringLiteral("ETIQPAR não tem código livre (01 a 99 tomados): o modelo \"%1\" não foi cadastrado.").arg(description));
    else if (outcome.added.existed)
        Messages::show(QStringLiteral("O modelo \"%1\" já estava em ETIQPAR, com o código %2 (outra estação o cadastrou).")
                           .arg(description, outcome.added.model.code));
    else
        Messages::show(QStringLiteral("Modelo %1 \"%2\" cadastrado em ETIQPAR. No Selvar, escolha-o na caixa de modelos.")
                           .arg(outcome.added.model.code, description));
}
