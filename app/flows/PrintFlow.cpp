#include "PrintFlow.h"

#include "BrLocale.h"
#include "Counter.h"
#include "CurrentModel.h"
#include "EanWarning.h"
#include "Guarded.h"
#include "JobWorker.h"
#include "LabelJobExpansion.h"
#include "LabelJobRun.h"
#include "LabelOutput.h"
#include "ListReads.h"
#include "Messages.h"
#include "PrintJobProgress.h"
#include "PrintOutcome.h"
#include "PrintScreen.h"
#include "PrinterAsking.h"
#include "ReportRunner.h"
#include "RunValues.h"
#include "SelvarError.h"
#include "StationSettings.h"
#include "SuitePaths.h"
#include "TDM.h"
#include "ThermalJobOutput.h"
#include "ThermalOutput.h"

#include <QWidget>

#include <utility>

// One print from the click to its closing steps, shared by the steps that
// follow one another on the window's thread as the worker answers. However it
// ends, the controls come back and the window says so.
struct PrintRun
{
    explicit PrintRun(PrintFlow &flow) : flow(&flow), screen(flow.m_screen), counter(flow.m_counter) {}
    ~PrintRun()
    {
        if (waiting)
            screen.waitEnded();
        controlsBack();
        if (flow)
            emit flow->printEnded();
    }
    PrintRun(const PrintRun &) = delete;
    PrintRun &operator=(const PrintRun &) = delete;

    // While the job is prepared, waits in line, is written and read back, the
    // window answers for the sake of "Cancelar"; everything else that could
    // start work stays inactive.
    void controlsOff()
    {
        screen.setPrintControlsEnabled(false);
        counter.setBusy(Counter::Activity::PrintJob, true);
        controlsAreOff = true;
    }
    void controlsBack()
    {
        if (!std::exchange(controlsAreOff, false))
            return;
        screen.setPrintControlsEnabled(true);
        counter.setBusy(Counter::Activity::PrintJob, false);
    }
    // The waiting panel, up while the worker waits its turn in line.
    std::function<void(const QString &, int)> waitingPanel(const std::shared_ptr<PrintRun> &self)
    {
        return [self](const QString &text, int seconds) {
            self->waiting = true;
            self->screen.waitingInLine(text, seconds);
        };
    }
    void waitOver()
    {
        if (std::exchange(waiting, false))
            screen.waitEnded();
    }

    QPointer<PrintFlow> flow; // gone with its data module
    PrintScreen &screen;
    Counter &counter;
    bool waiting = false;
    QString description;
    OutputKind output = OutputKind::None;
    bool thermalReport = false;
    QString etiqInicial;

private:
    bool controlsAreOff = false;
};

namespace {

// A job this large takes long and a lot of label stock: the user confirms it
// first, in the number format of the counter.
constexpr qint64 kConfirmAbove = 10000;

bool confirmLargeJob(qint64 rows)
{
    if (rows <= kConfirmAbove)
        return true;
    return Messages::ask(QStringLiteral("Serão geradas %1 etiquetas. Continuar?")
                             .arg(BrLocale::formatDecimalText(QString::number(rows), QStringLiteral("#,##0"))));
}

// A time limit the station's file gives wrong is used within bounds; whoever
// sets up the station hears of it once a run, not at every print.
void warnAboutTimeLimit()
{
    static QString told;
    QString note;
    StationSettings::fileTimeLimitSeconds(SuitePaths::toNative(RunValues::WorkFolder()), &note);
    if (!note.isEmpty() && note != told)
        Messages::show(note);
    told = note;
}

} // namespace

PrintFlow::PrintFlow(TDM &dm, Counter &counter, JobWorker &worker, ListReads &reads, PrintScreen &screen, QWidget *dialogOwner,
                     QObject *parent)
    : QObject(parent), m_dm(dm), m_counter(counter), m_worker(worker), m_reads(reads), m_screen(screen), m_dialogOwner(dialogOwner),
      m_reports(std::make_unique<ReportRunner>(*dm.TabRev2, dialogOwner))
{
}

PrintFlow::~PrintFlow()
{
    delete m_asking.data();
}

void PrintFlow::print()
{
    auto run = std::make_shared<PrintRun>(*this);
    guarded([&] {
        if (!m_screen.postListEdit())
            return;
        run->controlsOff();
        m_screen.showPrintLine(QString());
        // The read the quantity just stored asked for comes first: the job
        // is of the rows the clerk sees, with that quantity as stored.
        m_counter.afterHeld([run] {
            guarded([&] {
                if (run->flow)
                    run->flow->checkOutput(run);
            });
        });
    });
}

// The model's output decides what is checked before anything is written. The
// model is the one the model box shows: its description is in hand, read
// with the list, so the window asks no table for it.
void PrintFlow::checkOutput(const std::shared_ptr<PrintRun> &run)
{
    run->description = m_screen.modelDescription();
    run->output = outputForDescription(run->description);
    // Before the job table is emptied, so a station that cannot print keeps its last job.
    run->thermalReport = run->output == OutputKind::None && m_reports->servedByThermalReport(run->description);
    if (run->output == OutputKind::Thermal || run->thermalReport) {
        ThermalOutput(RunValues::WorkFolder(), RunValues::LabelPrinterPath).checkBatchFile();
        warnAboutTimeLimit();
        if (PrinterQueueCheck::needsAsking(RunValues::LabelPrinterPath)) {
            askPrinterThenPrint(run);
            return;
        }
    }
    printChecked(run);
}

void PrintFlow::askPrinterThenPrint(const std::shared_ptr<PrintRun> &run)
{
    auto *asking = new PrinterAsking(m_screen, run);
    m_asking = asking;
    // Once only: an answer already on its way when "Cancelar" is clicked finds nothing to end.
    const auto end = [this, asking] {
        if (m_asking.data() != asking)
            return std::shared_ptr<PrintRun>();
        m_asking = nullptr;
        std::shared_ptr<PrintRun> run = asking->run;
        delete asking;
        return run;
    };
    connect(&asking->check(), &PrinterQueueCheck::answered, this,
            [this, end](const QString &problem) {
                const std::shared_ptr<PrintRun> run = end();
                if (!run)
                    return;
                guarded([&] {
                    if (!problem.isEmpty())
                        throw SelvarError(problem);
                    printChecked(run);
                });
                emit printerCheckEnded();
            },
            Qt::QueuedConnection);
    asking->check().start(RunValues::LabelPrinterPath);
}

void PrintFlow::cancel()
{
    PrinterAsking *asking = m_asking.data();
    if (!asking)
        return;
    asking->check().cancel();
    m_screen.showPrintLine(QStringLiteral("Consulta à impressora cancelada: nada foi impresso."));
    m_asking = nullptr;
    delete asking;
    emit printerCheckEnded();
}

void PrintFlow::printChecked(const std::shared_ptr<PrintRun> &run)
{
    if ((run->output != OutputKind::None || run->thermalReport) && !EanWarning::confirmPrint(*m_dm.TabRev1))
        return;
    const QString etiqInicial = m_screen.startLabelText();
    if (!confirmLargeJob(LabelJobExpansion::rowsToWrite(m_dm, etiqInicial)))
        return;
    run->etiqInicial = etiqInicial;
    if (m_screen.jobCancelRequested())
        throw JobCancelled(QStringLiteral("Impressão cancelada. Nenhuma etiqueta foi gerada; o trabalho anterior foi mantido."));
    writeJob(run);
}

// The questions are answered and "Etiq. Inicial" is a number: the worker
// writes the job of the list shown, and reads it back.
void PrintFlow::writeJob(const std::shared_ptr<PrintRun> &run)
{
    LabelJobRun::Request request{RunValues::StationCode, run->etiqInicial, LabelJobRun::shownRows(*m_dm.TabRev1)};
    auto outcome = std::make_shared<LabelJobRun::Outcome>();
    JobWorker::Job job;
    job.database = m_dm.SQLConnection1->DataBase();
    job.work = [screen = &m_screen, request, outcome](JobWorker::Context &context) {
        PrintJobProgress progress(context, screen);
        *outcome = LabelJobRun::write(context.dm, request, context, progress);
    };
    job.waiting = run->waitingPanel(run);
    job.done = [run, outcome](std::exception_ptr failure) {
        run->waitOver();
        if (!failure) {
            if (run->flow)
                run->flow->jobRead(run, outcome->labels, std::move(outcome->job));
            return;
        }
        try {
            std::rethrow_exception(failure);
        } catch (const JobNotReadBack &notRead) {
            guarded([&] {
                if (run->flow)
                    run->flow->offerReadAgain(run, notRead);
            });
        } catch (...) {
            guarded([failure] { std::rethrow_exception(failure); });
        }
    };
    m_worker.run(std::move(job));
}

// A job committed and not read back: asked with the lock free, and read
// again under it on the worker, if still this station's job.
void PrintFlow::offerReadAgain(const std::shared_ptr<PrintRun> &run, const JobNotReadBack &notRead)
{
    if (!Messages::ask(notRead.message() + QStringLiteral("\r\rLer o trabalho gravado de novo e imprimi-lo agora?"))) {
        m_screen.showPrintLine(QStringLiteral("Trabalho gravado e não impresso"));
        return;
    }
    const qint64 labels = notRead.labels();
    auto rows = std::make_shared<ClientDataSet::ReadyRows>();
    JobWorker::Job job;
    job.database = m_dm.SQLConnection1->DataBase();
    job.work = [rows, labels, written = notRead.written(), station = RunValues::StationCode](JobWorker::Context &context) {
        *rows = LabelJobRun::readAgain(context.dm, station, written, labels, context);
    };
    job.waiting = run->waitingPanel(run);
    job.done = [run, rows, labels](std::exception_ptr failure) {
        run->waitOver();
        if (guarded([&] {
                if (failure)
                    std::rethrow_exception(failure);
            })
            && run->flow)
            run->flow->jobRead(run, labels, std::move(*rows));
    };
    m_worker.run(std::move(job));
}

// The job read back on the worker takes the place of the window's TabRev2,
// in the order it was written; the controls come back before the outputs,
// which wait for the clerk.
void PrintFlow::jobRead(const std::shared_ptr<PrintRun> &run, qint64 labels, ClientDataSet::ReadyRows &&rows)
{
    run->controlsBack();
    guarded([&] {
        m_dm.SQLDS_TabRev2->setCommandText(LabelJobExpansion::jobStatement());
        m_reads.reader().dispose(m_dm.TabRev2->installRead(std::move(rows), QString(), false));
        printJob(run, labels);
    });
}

// The rest of the print works from the rows read under the lock: every
// choice, preview and the hand-over, while other stations print.
void PrintFlow::printJob(const std::shared_ptr<PrintRun> &run, qint64 labels)
{
    m_screen.jobWritten(run->description);

    const ThermalOutput thermal(RunValues::WorkFolder(), RunValues::LabelPrinterPath);
    ThermalJobOutput thermalOutput(m_screen, m_dialogOwner);
    PrintOutcome outcome = PrintOutcome::noOutput(run->description);
    switch (run->output) {
    case OutputKind::Report:
        outcome = m_reports->runReportProject(labels, m_screen.modelDescription());
        break;
    case OutputKind::Thermal:
        outcome = thermalOutput.printFixed(thermal, *m_dm.TabRev2, m_screen.modelDescription());
        break;
    case OutputKind::None:
        // A thermal report of the project may serve the model; if none
        // does, the job stays in TABREV2 until the next one empties it.
        outcome = m_reports->runThermalReport(thermal, m_screen.modelDescription(), thermalOutput);
        break;
    }
    // A thermal job handed over says later what went out; any other run
    // that put nothing on the label stock leaves its first position for
    // the next one.
    const QString historyNote = m_screen.afterOutput(run->output);
    if (!outcome.handedOver()) {
        if (outcome.usedLabelStock())
            m_screen.setStartLabelText(QString());
        m_screen.showPrintLine(outcome.text() + historyNote);
    }

    // Back to the list, on the model the job was printed with: the models are
    // in memory since the list was opened, and a closed set is not read here.
    m_screen.focusGridQuantity();
    if (m_dm.EtiqCorr->Active() && m_dm.EtiqPar->Active())
        m_dm.EtiqPar->FindKey({CurrentModel::code(m_dm)});
    m_screen.focusAfterPrint();
    m_dm.TabRev2->Close();
}
