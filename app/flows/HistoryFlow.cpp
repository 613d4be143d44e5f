#include "HistoryFlow.h"

#include "Counter.h"
#include "CurrentModel.h"
#include "Guarded.h"
#include "HistoryListWrite.h"
#include "HistoryRetention.h"
#include "HistoryScreen.h"
#include "HistorySettings.h"
#include "HistoryStore.h"
#include "LabelJobExpansion.h"
#include "LabelOutput.h"
#include "ListReads.h"
#include "Messages.h"
#include "PrintHistory.h"
#include "RunValues.h"
#include "SuiteJob.h"
#include "SuitePaths.h"
#include "TDM.h"
#include "TRvSystem.h"

namespace {

// The first pass waits until the station has settled in.
constexpr int kFirstRetentionPassMs = 60 * 1000;

// The panel over the list while the history works, with "Cancelar"; the
// window's actions that could start other work wait until it goes. The list
// stays open for typing, but it cannot be closed, printed or switched to
// another model while the worker writes its quantities: the print would miss
// them and the list read afterwards would open a list the clerk had closed.
class WorkingPanel
{
public:
    WorkingPanel(HistoryScreen &screen, Counter &counter, const QString &text) : m_screen(screen), m_counter(counter)
    {
        m_screen.holdListOpen(true);
        m_counter.setBusy(Counter::Activity::History, true);
        m_screen.waitShowing(text);
    }
    ~WorkingPanel()
    {
        m_screen.holdListOpen(false);
        m_counter.setBusy(Counter::Activity::History, false);
        m_screen.waitEnded();
    }
    WorkingPanel(const WorkingPanel &) = delete;
    WorkingPanel &operator=(const WorkingPanel &) = delete;

private:
    HistoryScreen &m_screen;
    Counter &m_counter;
};

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

} // namespace

HistoryFlow::HistoryFlow(HistoryScreen &screen, Counter &counter, PrintHandOver &handOver, QObject *parent)
    : QObject(parent), m_screen(screen), m_counter(counter), m_handOver(handOver)
{
    const auto database = [this] { return this->database(); };
    m_store = std::make_unique<HistoryStore>(database);
    m_work = std::make_unique<HistoryWork>();
    m_printHistory = std::make_unique<PrintHistory>(*m_store, *m_work, database);
    // A thermal job's history is brought up to what went out from the job's
    // own record of the hand-over, whenever files of it have gone.
    m_handOver.setRecorder([this](const PrintJob &job, int filesDone, PrintHandOver::Keep keep, PrintHandOver::Recorded recorded) {
        m_printHistory->thermalOut(job.history, job.positionsPerFile(), filesDone, std::move(keep), std::move(recorded));
    });
    m_retention = std::make_unique<HistoryRetention>(
        *m_work, database, [] { return HistorySettings::retentionDays(SuitePaths::toNative(RunValues::WorkFolder())); },
        [this] { return m_screen.jobRunning() || !m_screen.mainActionsEnabled() || m_handOver.busy() || !m_dm; });
    m_retention->start(kFirstRetentionPassMs);
}

HistoryFlow::~HistoryFlow()
{
    m_handOver.setRecorder({});
    m_retention.reset();
    m_printHistory.reset();
    m_work.reset();
    m_store.reset();
}

void HistoryFlow::attach(TDM *dm, ListReads *reads)
{
    m_dm = dm;
    m_reads = reads;
}

QString HistoryFlow::database() const
{
    return m_dm ? m_dm->SQLConnection1->DataBase() : QString();
}

void HistoryFlow::cancel()
{
    m_work->cancel();
}

void HistoryFlow::jobWritten(const QString &modelDescription)
{
    PrintedJob job = PrintedJob::fromList(*m_dm->TabRev1, LabelJobExpansion::skippedPositions(m_screen.startLabelText()));
    job.station = RunValues::StationCode;
    job.user = RunValues::WindowsUserName;
    job.modelCode = CurrentModel::code(*m_dm);
    job.modelDescription = modelDescription;
    m_printHistory->jobWritten(std::move(job));
}

void HistoryFlow::afterOutput(OutputKind output, const TRvSystem *sheets)
{
    // A sheet run says where its pages went; printing from the preview counts.
    // The history is written on its worker: a note comes to the print line
    // only if it could not be.
    if (output == OutputKind::Report && sheets && !sheets->sent().isEmpty()) {
        const bool pdf = sheets->sent().constLast().destination == OutputOptions::Destination::File;
        m_printHistory->wholeJobOut(pdf ? HistoryStore::pdfOutput() : HistoryStore::printerOutput(), [this](const QString &note) {
            if (!note.isEmpty())
                m_screen.showPrintLine(m_screen.printLine() + note);
        });
    }
    // A thermal job is in the hand-over's line by now; anything else put nothing out.
    m_printHistory->jobDropped();
}

void HistoryFlow::thermalRecord(PrintHandOver::HistoryGiven given)
{
    m_printHistory->thermalRecord(std::move(given));
}

bool HistoryFlow::mayAct()
{
    return m_dm && m_reads && !m_screen.jobRunning() && !m_work->acting() && m_screen.postListEdit();
}

// The list is read again once the work is done, whatever it wrote, and the
// line, the totals and the focus follow the rows read. A cancel is said on
// the line; any other failure in a box.
void HistoryFlow::workDone(const HistoryWork::Outcome &outcome, const QString &action, const QString &done)
{
    if (!m_dm || !m_reads)
        return;
    const QString failure = notDone(outcome, action);
    const QString line = failure.isEmpty() ? done : outcome.cancelled ? failure : QString();
    const QString message = outcome.cancelled ? QString() : failure;
    m_reads->reread();
    m_reads->afterReads([this, line, message] {
        if (!line.isEmpty())
            m_screen.showPrintLine(line);
        m_screen.updateListTotals();
        m_screen.focusGridQuantity();
        if (!message.isEmpty())
            Messages::show(message);
    });
}

// An action that writes the list waits for the read under way, so that the
// rows it writes over are the ones shown and the rows shown next hold its writes.
void HistoryFlow::pricesChanged()
{
    m_counter.afterHeld([this] { guarded([this] {
        if (!mayAct())
            return;
        const QList<ListQuantities::Row> rows = ListQuantities::rows(*m_dm->TabRev1);
        const HistoryListWrite write(*m_dm);
        auto changes = std::make_shared<ListQuantities::PriceChanges>();
        auto panel = std::make_shared<WorkingPanel>(m_screen, m_counter,
                                                    QStringLiteral("Comparando os preços da lista com as últimas etiquetas…"));
        m_work->run(
            database(),
            [rows, write, changes](HistoryWork::Context &context) {
                *changes = ListQuantities::priceChanges(rows, context.history().lastLabels(write.table));
                if (context.cancelled())
                    throw JobCancelled(QStringLiteral("Cancelado."));
                write(context, changes->fill);
            },
            [this, panel, changes](const HistoryWork::Outcome &outcome) mutable {
                panel.reset();
                workDone(outcome, QStringLiteral("\"Preços alterados\""), changes->text());
            });
    }); });
}

void HistoryFlow::chooseToRepeat()
{
    m_counter.afterHeld([this] { guarded([this] {
        if (!mayAct())
            return;
        const QString database = this->database();
        const qint64 chosen = m_screen.chooseHistoryJob(*m_work, database);
        if (chosen == 0 || !m_dm) {
            m_screen.focusGridQuantity();
            return;
        }
        // The job's products first; the list's quantities once they are in,
        // and once the clerk agrees to lose the typed ones.
        auto items = std::make_shared<QList<PrintedItem>>();
        auto panel = std::make_shared<WorkingPanel>(m_screen, m_counter, QStringLiteral("Lendo o trabalho %1 do histórico…").arg(chosen));
        m_work->run(
            database, [chosen, items](HistoryWork::Context &context) { *items = context.history().items(chosen); },
            [this, panel, items, chosen, database](const HistoryWork::Outcome &outcome) mutable {
                panel.reset();
                guarded([&] { repeat(chosen, *items, database, outcome); });
            });
    }); });
}

// "Repetir" once the job's products are in: the clerk agrees to lose the
// quantities typed for other products, and the worker writes the job's.
void HistoryFlow::repeat(qint64 jobId, const QList<PrintedItem> &items, const QString &database, const HistoryWork::Outcome &read)
{
    if (!m_dm)
        return;
    if (const QString failure = notDone(read, QStringLiteral("\"Repetir\"")); !failure.isEmpty()) {
        if (read.cancelled)
            m_screen.showPrintLine(failure);
        else
            Messages::show(failure);
        m_screen.focusGridQuantity();
        return;
    }
    const ListQuantities::Repeat repeat = ListQuantities::repeat(ListQuantities::rows(*m_dm->TabRev1), items);
    if (repeat.othersTyped > 0
        && !Messages::ask(QStringLiteral("A lista tem quantidades digitadas em %1 que não estão no trabalho %2; "
                                         "elas serão apagadas. Continuar?")
                              .arg(repeat.othersTyped == 1 ? QStringLiteral("1 produto")
                                                           : QStringLiteral("%1 produtos").arg(repeat.othersTyped))
                              .arg(jobId))) {
        m_screen.focusGridQuantity();
        return;
    }
    const HistoryListWrite write(*m_dm);
    auto panel = std::make_shared<WorkingPanel>(m_screen, m_counter, QStringLiteral("Pondo o trabalho %1 na lista…").arg(jobId));
    m_work->run(
        database, [write, changes = repeat.changes](HistoryWork::Context &context) { write(context, changes); },
        [this, panel, repeat, jobId](const HistoryWork::Outcome &outcome) mutable {
            panel.reset();
            workDone(outcome, QStringLiteral("\"Repetir\""), repeat.text(jobId));
        });
}
