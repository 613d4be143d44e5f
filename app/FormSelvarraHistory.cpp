// What was printed: the print history each print records, "Preços alterados"
// and "Histórico de etiquetas" on the list panel, and the removal of old jobs.
#include "TFormSelvarra.h"

#include "CurrentModel.h"
#include "HistoryRetention.h"
#include "HistorySettings.h"
#include "HistoryStore.h"
#include "HistoryWindow.h"
#include "HistoryWork.h"
#include "JobWaitPanel.h"
#include "Counter.h"
#include "LabelJobExpansion.h"
#include "LabelOutput.h"
#include "ListReads.h"
#include "ListQuantities.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "PrintHistory.h"
#include "PrintJob.h"
#include "ReportModal.h"
#include "RunValues.h"
#include "SuiteJob.h"
#include "SuitePaths.h"
#include "TDM.h"
#include "TRvSystem.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>

namespace {

// The first pass waits until the station has settled in.
constexpr int kFirstRetentionPassMs = 60 * 1000;

} // namespace

void TFormSelvarra::createHistory()
{
    const auto database = [this] { return DM ? DM->SQLConnection1->DataBase() : QString(); };
    historyStore = new HistoryStore(database);
    historyWork = new HistoryWork(this);
    connect(this, &TFormSelvarra::jobCancelClicked, historyWork, &HistoryWork::cancel);
    printHistory = new PrintHistory(*historyStore, *historyWork, database);
    // A thermal job's history is brought up to what went out from the job's
    // own record of the hand-over, whenever files of it have gone.
    printHandOver->setRecorder([this](const PrintJob &job, int filesDone, PrintHandOver::Keep keep,
                                      PrintHandOver::Recorded recorded) {
        if (printHistory)
            printHistory->thermalOut(job.history, job.positionsPerFile(), filesDone, std::move(keep), std::move(recorded));
        else
            recorded(PrintHistory::failureNote());
    });

    BotPrecosAlterados = new QPushButton(QStringLiteral("Preços a&lterados"), PainelSelvarra);
    BotPrecosAlterados->setObjectName(QStringLiteral("BotPrecosAlterados"));
    BotPrecosAlterados->setToolTip(QStringLiteral("Põe em \"Qtde.\" as etiquetas dos produtos cujo preço mudou desde a "
                                                  "última etiqueta impressa"));
    BotPrecosAlterados->setGeometry(336, 40, 112, 25);
    BotHistorico = new QPushButton(QStringLiteral("&Histórico"), PainelSelvarra);
    BotHistorico->setObjectName(QStringLiteral("BotHistorico"));
    BotHistorico->setToolTip(QStringLiteral("Histórico de etiquetas: o que foi impresso, e repetir um trabalho"));
    BotHistorico->setGeometry(450, 40, 64, 25);
    connect(BotPrecosAlterados, &QPushButton::clicked, this, &TFormSelvarra::BotPrecosAlteradosClick);
    connect(BotHistorico, &QPushButton::clicked, this, &TFormSelvarra::BotHistoricoClick);

    historyRetention = new HistoryRetention(
        *historyWork, database,
        [] { return HistorySettings::retentionDays(SuitePaths::toNative(RunValues::WorkFolder())); },
        [this] { return m_jobRunning || !m_mainActionsEnabled || printHandOver->busy() || !DM; }, this);
    historyRetention->start(kFirstRetentionPassMs);
}

void TFormSelvarra::destroyHistory()
{
    printHandOver->setRecorder({});
    delete historyRetention;
    historyRetention = nullptr;
    delete printHistory;
    printHistory = nullptr;
    // Waits for a write under way to end, and for the prints' records in
    // line that begin within a few seconds; a thermal job's record not written
    // by then stays with the job's own record, which the next start settles.
    delete historyWork;
    historyWork = nullptr;
    delete historyStore;
    historyStore = nullptr;
}

void TFormSelvarra::noteJobWritten(const QString &modelDescription)
{
    PrintedJob job = PrintedJob::fromList(*DM->TabRev1, LabelJobExpansion::skippedPositions(EditEtiqInic->text()));
    job.station = RunValues::StationCode;
    job.user = RunValues::WindowsUserName;
    job.modelCode = CurrentModel::code(*DM);
    job.modelDescription = modelDescription;
    printHistory->jobWritten(std::move(job));
}

QString TFormSelvarra::historyAfterOutput(OutputKind output)
{
    // A sheet run says where its pages went; printing from the preview counts.
    // The history is written on its worker: a note comes to the print line
    // only if it could not be.
    if (output == OutputKind::Report && !RvSystem2->sent().isEmpty()) {
        const bool pdf = RvSystem2->sent().constLast().destination == OutputOptions::Destination::File;
        printHistory->wholeJobOut(pdf ? HistoryStore::pdfOutput() : HistoryStore::printerOutput(), [this](const QString &note) {
            if (!note.isEmpty())
                showPrintOutcome(LabelImpressao->toolTip() + note);
        });
    }
    // A thermal job is in the hand-over's line by now; anything else put nothing out.
    printHistory->jobDropped();
    return QString();
}

// An action that writes the list waits for the read under way, so that the
// rows it writes over are the ones shown and the rows shown next hold its writes.
static void afterListReads(TFormSelvarra &form, std::function<void()> action)
{
    form.counter()->afterHeld(std::move(action));
}

namespace {

// The panel over the list while the history works, with "Cancelar"; the
// window's actions that could start other work wait until it goes. The list
// stays open for typing, but it cannot be closed, printed or switched to
// another model while the worker writes its quantities: the print would miss
// them and the list read afterwards would open a list the clerk had closed.
class WorkingPanel
{
public:
    WorkingPanel(TFormSelvarra &form, const QString &text)
        : m_form(form), m_wait(form), m_controls{form.BotSairMontEtiq, form.btnEtiqSemPreco, form.DBLCB1}
    {
        for (QWidget *control : m_controls)
            control->setEnabled(false);
        m_form.counter()->setBusy(Counter::Activity::History, true);
        m_wait.showing(text);
    }
    ~WorkingPanel()
    {
        for (QWidget *control : m_controls)
            control->setEnabled(true);
        m_form.counter()->setBusy(Counter::Activity::History, false);
    }
    WorkingPanel(const WorkingPanel &) = delete;
    WorkingPanel &operator=(const WorkingPanel &) = delete;

private:
    TFormSelvarra &m_form;
    JobWaitPanel m_wait;
    QList<QWidget *> m_controls;
};

std::shared_ptr<WorkingPanel> workingPanel(TFormSelvarra &form, const QString &text)
{
    return std::make_shared<WorkingPanel>(form, text);
}

// What the clerk reads when the work of an action did not end well: what
// was and was not done, never the driver's words for a lost connection.
// Empty when it did end well.
QString notDone(const HistoryWork::Outcome &outcome, const QString &action)
{
    if (outcome.cancelled)
        return QStringLiteral("%1 cancelado; as quantidades da lista ficaram como estavam.").arg(action);
    if (!outcome.failed)
        return QString();
    if (outcome.whileCommitting)
        return QStringLiteral("A conexão com o servidor foi perdida enquanto %1 gravava as quantidades, e não se sabe "
                              "se elas foram gravadas. A lista foi lida de novo e mostra o que ficou gravado; confira "
                              "as quantidades antes de imprimir.")
            .arg(action);
    if (outcome.connectionLost)
        return QStringLiteral("A conexão com o servidor foi perdida e ainda não voltou: %1 não foi feito e as "
                              "quantidades da lista ficaram como estavam. Tente de novo em instantes.")
            .arg(action);
    return outcome.error;
}

// A task that reads the history and may then write the list's quantities,
// under the suite-wide lock, in one transaction of the worker's own.
struct ListWrite
{
    QString table;
    FieldDef qde;
    QString station;

    ListWrite(TDM &dm)
        : table(dm.TabRev1->Provider()->tableName()), station(RunValues::StationCode)
    {
        const FieldDefs &defs = dm.TabRev1->fieldDefs();
        const auto found = std::find_if(defs.begin(), defs.end(), [](const FieldDef &def) { return def.name == QLatin1String("QDE"); });
        if (found == defs.end())
            throw SelvarError(QStringLiteral("Field 'QDE' not found"));
        qde = *found;
    }

    void operator()(HistoryWork::Context &context, const QList<ListQuantities::Change> &changes) const
    {
        if (changes.isEmpty())
            return;
        SuiteJob job(context.suite(), station, SuiteJob::Kind::ListBuild);
        ListQuantities::write(context.suite(), table, qde, changes, job, [&context] {
            if (context.cancelled())
                throw JobCancelled(QStringLiteral("Cancelado."));
            context.committing();
        });
    }
};

} // namespace

// The list is read again once the work is done, whatever it wrote, and the
// line, the totals and the focus follow the rows read. A cancel is said on
// the line; any other failure in a box.
void TFormSelvarra::historyWorkDone(const HistoryWork::Outcome &outcome, const QString &action, const QString &done)
{
    if (!DM)
        return;
    const QString failure = notDone(outcome, action);
    const QString line = failure.isEmpty() ? done : outcome.cancelled ? failure : QString();
    const QString message = outcome.cancelled ? QString() : failure;
    listReads()->reread();
    listReads()->afterReads([this, line, message] {
        if (!line.isEmpty())
            showPrintOutcome(line);
        updateListTotals();
        focusGridQuantity();
        if (!message.isEmpty())
            Messages::show(message);
    });
}

namespace {

// "Repetir" once the job's products are in: the clerk agrees to lose the
// quantities typed for other products, and the worker writes the job's.
void repeatJob(TFormSelvarra &form, qint64 jobId, const QList<PrintedItem> &items, const QString &database,
               const HistoryWork::Outcome &read)
{
    if (!form.DM)
        return;
    if (const QString failure = notDone(read, QStringLiteral("\"Repetir\"")); !failure.isEmpty()) {
        if (read.cancelled)
            form.showPrintOutcome(failure);
        else
            Messages::show(failure);
        form.focusGridQuantity();
        return;
    }
    const ListQuantities::Repeat repeat = ListQuantities::repeat(ListQuantities::rows(*form.DM->TabRev1), items);
    if (repeat.othersTyped > 0
        && !Messages::ask(QStringLiteral("A lista tem quantidades digitadas em %1 que não estão no trabalho %2; "
                                         "elas serão apagadas. Continuar?")
                              .arg(repeat.othersTyped == 1 ? QStringLiteral("1 produto")
                                                           : QStringLiteral("%1 produtos").arg(repeat.othersTyped))
                              .arg(jobId))) {
        form.focusGridQuantity();
        return;
    }
    const ListWrite write(*form.DM);
    auto panel = workingPanel(form, QStringLiteral("Pondo o trabalho %1 na lista…").arg(jobId));
    form.historyWork->run(
        database, [write, changes = repeat.changes](HistoryWork::Context &context) { write(context, changes); },
        [&form, panel, repeat, jobId](const HistoryWork::Outcome &outcome) mutable {
            panel.reset();
            form.historyWorkDone(outcome, QStringLiteral("\"Repetir\""), repeat.text(jobId));
        });
}

} // namespace

void TFormSelvarra::BotPrecosAlteradosClick()
{
    if (!m_counter->admit(Counter::Input::HistoryAction, [this] { BotPrecosAlteradosClick(); }))
        return;
    afterListReads(*this, [this] { guarded([this] {
        if (!DM || m_jobRunning || historyWork->acting() || !postListEdit())
            return;
        const QList<ListQuantities::Row> rows = ListQuantities::rows(*DM->TabRev1);
        const ListWrite write(*DM);
        auto changes = std::make_shared<ListQuantities::PriceChanges>();
        auto panel = workingPanel(*this, QStringLiteral("Comparando os preços da lista com as últimas etiquetas…"));
        historyWork->run(
            DM->SQLConnection1->DataBase(),
            [rows, write, changes](HistoryWork::Context &context) {
                *changes = ListQuantities::priceChanges(rows, context.history().lastLabels(write.table));
                if (context.cancelled())
                    throw JobCancelled(QStringLiteral("Cancelado."));
                write(context, changes->fill);
            },
            [this, panel, changes](const HistoryWork::Outcome &outcome) mutable {
                panel.reset();
                historyWorkDone(outcome, QStringLiteral("\"Preços alterados\""), changes->text());
            });
    }); });
}

void TFormSelvarra::BotHistoricoClick()
{
    if (!m_counter->admit(Counter::Input::HistoryAction, [this] { BotHistoricoClick(); }))
        return;
    afterListReads(*this, [this] { guarded([this] {
        if (!DM || m_jobRunning || historyWork->acting() || !postListEdit())
            return;
        const QString database = DM->SQLConnection1->DataBase();
        qint64 chosen = 0;
        {
            HistoryWindow window(*historyWork, database, this);
            if (ReportModal::exec(window) == QDialog::Accepted)
                chosen = window.chosenJob();
        }
        if (chosen == 0 || !DM) {
            focusGridQuantity();
            return;
        }
        // The job's products first; the list's quantities once they are in,
        // and once the clerk agrees to lose the typed ones.
        auto items = std::make_shared<QList<PrintedItem>>();
        auto panel = workingPanel(*this, QStringLiteral("Lendo o trabalho %1 do histórico…").arg(chosen));
        historyWork->run(
            database, [chosen, items](HistoryWork::Context &context) { *items = context.history().items(chosen); },
            [this, panel, items, chosen, database](const HistoryWork::Outcome &outcome) mutable {
                panel.reset();
                guarded([&] { repeatJob(*this, chosen, *items, database, outcome); });
            });
    }); });
}
