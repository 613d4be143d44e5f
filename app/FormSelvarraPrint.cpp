// Printing the list ("Etiquetas com preços"): the label job, the output the
// current model's description chooses, and the closing steps; and the margins
// step of the fixed sheet layouts that ends every activation.
#include "TFormSelvarra.h"

#include "BrLocale.h"
#include "Counter.h"
#include "CurrentModel.h"
#include "EanWarning.h"
#include "FixedLayouts.h"
#include "JobProgress.h"
#include "JobWorker.h"
#include "LabelJobExpansion.h"
#include "LabelJobRun.h"
#include "LabelOutput.h"
#include "MarginsFile.h"
#include "JobWaitPanel.h"
#include "ListReads.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "PrintOutcome.h"
#include "PrinterQueueCheck.h"
#include "SelvarError.h"
#include "StationSettings.h"
#include "SuitePaths.h"
#include "RunValues.h"
#include "SuiteJob.h"
#include "TDM.h"
#include "TPieGauge.h"
#include "ThermalOutput.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>

#include <functional>
#include <memory>
#include <utility>

namespace {

// The job's progress, sent from the worker to the window's progress panel
// (Pizza and LabelArq). A few dozen pictures a second are all the eye takes:
// more would only fill the window's queue. "Cancelar" and Escape reach the
// job as the worker's flag.
class WorkerJobProgress : public JobProgress
{
public:
    WorkerJobProgress(JobWorker::Context &context, TFormSelvarra *form) : m_context(context), m_form(form) {}

    void jobBegin(int rows) override
    {
        m_sinceShown.start();
        send([rows](TFormSelvarra &f) { f.progressBegin(rows); });
        m_context.step(0);
    }
    void labelStarted(const QString &productName) override
    {
        m_product = productName;
        show(false);
    }
    void rowDone(int rowsDone) override
    {
        m_rowsDone = rowsDone;
        show(false);
        m_context.step(rowsDone);
    }
    void jobEnd() override
    {
        show(true);
        send([](TFormSelvarra &f) { f.progressEnd(); });
    }
    bool cancelRequested() override { return m_context.cancelled(); }

private:
    static constexpr int kShownEveryMs = 40;

    void show(bool last)
    {
        if ((!last && m_sinceShown.elapsed() < kShownEveryMs) || (m_product == m_shownProduct && m_rowsDone == m_shownRows))
            return;
        m_sinceShown.restart();
        m_shownProduct = m_product;
        m_shownRows = m_rowsDone;
        send([product = m_product, rows = m_rowsDone](TFormSelvarra &f) {
            f.LabelArq->setText(product);
            f.Pizza->setValue(rows);
        });
    }

    void send(std::function<void(TFormSelvarra &)> call)
    {
        TFormSelvarra *form = m_form;
        m_context.toWindow([form, call] { call(*form); });
    }

    JobWorker::Context &m_context;
    TFormSelvarra *m_form;
    QElapsedTimer m_sinceShown;
    QString m_product, m_shownProduct;
    int m_rowsDone = 0, m_shownRows = 0;
};

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

void openIfClosed(ClientDataSet *dataSet)
{
    if (!dataSet->Active())
        dataSet->Open();
}

} // namespace

// One print from the click to its closing steps, shared by the steps that
// follow one another on the window's thread as the worker answers. However it
// ends, the controls come back and the window says so.
struct PrintRun
{
    explicit PrintRun(TFormSelvarra &form) : form(form) {}
    ~PrintRun()
    {
        wait.reset();
        controlsBack();
        emit form.printEnded();
    }
    PrintRun(const PrintRun &) = delete;
    PrintRun &operator=(const PrintRun &) = delete;

    // While the job is prepared, waits in line, is written and read back, the
    // window answers for the sake of "Cancelar"; everything else that could
    // start work stays inactive.
    void controlsOff()
    {
        m_controls = {static_cast<QWidget *>(form.DBGrid1), form.DBLCB1, form.BotSairMontEtiq, form.btnEtiqSemPreco,
                      form.EditEtiqInic, form.EditPesqComp, form.EditPesqCod};
        for (QWidget *control : m_controls)
            control->setEnabled(false);
        form.counter()->setBusy(Counter::Activity::PrintJob, true);
        form.setMainActionsEnabled(false);
        form.setJobRunning(true);
    }
    void controlsBack()
    {
        if (m_controls.isEmpty())
            return;
        form.setJobRunning(false);
        form.setMainActionsEnabled(true);
        for (QWidget *control : std::exchange(m_controls, {}))
            control->setEnabled(true);
        form.counter()->setBusy(Counter::Activity::PrintJob, false);
    }

    TFormSelvarra &form;
    std::unique_ptr<JobWaitPanel> wait; // while the job waits its turn
    QString description;
    OutputKind output = OutputKind::None;
    bool thermalReport = false;
    QString etiqInicial;
    qint64 skipped = 0;

private:
    QList<QWidget *> m_controls;
};

namespace {

void printChecked(const std::shared_ptr<PrintRun> &run);

// The model's output decides what is checked before anything is written.
void checkOutput(const std::shared_ptr<PrintRun> &run)
{
    TFormSelvarra &form = run->form;
    if (!form.DM)
        return;
    run->description = CurrentModel::description(*form.DM);
    run->output = outputForDescription(run->description);
    // Before the job table is emptied, so a station that cannot print keeps its last job.
    run->thermalReport = run->output == OutputKind::None && form.servedByThermalReport();
    if (run->output == OutputKind::Thermal || run->thermalReport) {
        ThermalOutput(RunValues::WorkFolder(), RunValues::LabelPrinterPath).checkBatchFile();
        warnAboutTimeLimit();
        if (PrinterQueueCheck::needsAsking(RunValues::LabelPrinterPath)) {
            form.askPrinterThenPrint(run);
            return;
        }
    }
    printChecked(run);
}

// The waiting panel, up while the worker waits its turn in line.
std::function<void(const QString &, int)> waitingPanel(const std::shared_ptr<PrintRun> &run)
{
    return [run](const QString &text, int seconds) {
        if (!run->wait)
            run->wait = std::make_unique<JobWaitPanel>(run->form);
        run->wait->waiting(text, seconds);
    };
}

void jobRead(const std::shared_ptr<PrintRun> &run, qint64 labels, ClientDataSet::ReadyRows &&rows);
void jobWritten(const std::shared_ptr<PrintRun> &run, std::exception_ptr failure, LabelJobRun::Outcome &outcome);

// The questions are answered and "Etiq. Inicial" is a number: the worker
// writes the job of the list shown, and reads it back.
void writeJob(const std::shared_ptr<PrintRun> &run)
{
    TFormSelvarra &form = run->form;
    TDM &dm = *form.DM;
    LabelJobRun::Request request{RunValues::StationCode, run->etiqInicial, LabelJobRun::shownRows(*dm.TabRev1)};
    auto outcome = std::make_shared<LabelJobRun::Outcome>();
    JobWorker::Job job;
    job.database = dm.SQLConnection1->DataBase();
    job.work = [form = &form, request, outcome](JobWorker::Context &context) {
        WorkerJobProgress progress(context, form);
        *outcome = LabelJobRun::write(context.dm, request, context, progress);
    };
    job.waiting = waitingPanel(run);
    job.done = [run, outcome](std::exception_ptr failure) {
        run->wait.reset();
        jobWritten(run, failure, *outcome);
    };
    form.jobWorker()->run(std::move(job));
}

void printChecked(const std::shared_ptr<PrintRun> &run)
{
    TFormSelvarra &form = run->form;
    if (!form.DM)
        return;
    if ((run->output != OutputKind::None || run->thermalReport) && !EanWarning::confirmPrint(*form.DM->TabRev1))
        return;
    const QString etiqInicial = form.EditEtiqInic->text();
    if (!confirmLargeJob(LabelJobExpansion::rowsToWrite(*form.DM, etiqInicial)))
        return;
    run->etiqInicial = etiqInicial;
    run->skipped = LabelJobExpansion::skippedPositions(etiqInicial);
    if (form.jobCancelRequested())
        throw JobCancelled(QStringLiteral("Impressão cancelada. Nenhuma etiqueta foi gerada; o trabalho anterior foi mantido."));
    writeJob(run);
}

// A job committed and not read back: asked with the lock free, and read
// again under it on the worker, if still this station's job.
void offerReadAgain(const std::shared_ptr<PrintRun> &run, const JobNotReadBack &notRead)
{
    TFormSelvarra &form = run->form;
    if (!Messages::ask(notRead.message() + QStringLiteral("\r\rLer o trabalho gravado de novo e imprimi-lo agora?"))) {
        form.showPrintOutcome(QStringLiteral("Trabalho gravado e não impresso"));
        return;
    }
    if (!form.DM)
        return;
    const qint64 labels = notRead.labels();
    auto rows = std::make_shared<ClientDataSet::ReadyRows>();
    JobWorker::Job job;
    job.database = form.DM->SQLConnection1->DataBase();
    job.work = [rows, labels, written = notRead.written(), station = RunValues::StationCode](JobWorker::Context &context) {
        *rows = LabelJobRun::readAgain(context.dm, station, written, labels, context);
    };
    job.waiting = waitingPanel(run);
    job.done = [run, rows, labels](std::exception_ptr failure) {
        run->wait.reset();
        if (guarded([&] {
                if (failure)
                    std::rethrow_exception(failure);
            }))
            jobRead(run, labels, std::move(*rows));
    };
    form.jobWorker()->run(std::move(job));
}

void jobWritten(const std::shared_ptr<PrintRun> &run, std::exception_ptr failure, LabelJobRun::Outcome &outcome)
{
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const JobNotReadBack &notRead) {
            guarded([&] { offerReadAgain(run, notRead); });
        } catch (...) {
            guarded([failure] { std::rethrow_exception(failure); });
        }
        return;
    }
    jobRead(run, outcome.labels, std::move(outcome.job));
}

// The rest of the print works from the rows read under the lock: every
// choice, preview and the hand-over, while other stations print.
void printJob(const std::shared_ptr<PrintRun> &run, qint64 labels)
{
    TFormSelvarra &form = run->form;
    TDM &dm = *form.DM;
    form.noteJobWritten(run->description);

    const ThermalOutput thermal(RunValues::WorkFolder(), RunValues::LabelPrinterPath);
    PrintOutcome outcome = PrintOutcome::noOutput(run->description);
    switch (run->output) {
    case OutputKind::Report:
        outcome = form.runReportProject(labels);
        break;
    case OutputKind::Thermal:
        outcome = form.printFixedThermal(thermal);
        break;
    case OutputKind::None:
        // A thermal report of the project may serve the model; if none
        // does, the job stays in TABREV2 until the next one empties it.
        outcome = form.runThermalReport(thermal);
        break;
    }
    // A thermal job handed over says later what went out; any other run
    // that put nothing on the label stock leaves its first position for
    // the next one.
    const QString historyNote = form.historyAfterOutput(run->output);
    if (!outcome.handedOver()) {
        if (outcome.usedLabelStock())
            form.EditEtiqInic->clear();
        form.showPrintOutcome(outcome.text() + historyNote);
    }

    // Back to the list, on the model the job was printed with.
    form.focusGridQuantity();
    openIfClosed(dm.EtiqCorr);
    openIfClosed(dm.EtiqPar);
    dm.EtiqPar->FindKey({CurrentModel::code(dm)});
    form.DBLCB1->update();
    form.DBLCB1->repaint();
    form.focusAfterPrint();
    dm.TabRev2->Close();
}

// The job read back on the worker takes the place of the window's TabRev2,
// in the order it was written; the controls come back before the outputs,
// which wait for the clerk.
void jobRead(const std::shared_ptr<PrintRun> &run, qint64 labels, ClientDataSet::ReadyRows &&rows)
{
    TFormSelvarra &form = run->form;
    run->controlsBack();
    guarded([&] {
        if (!form.DM)
            return;
        TDM &dm = *form.DM;
        dm.SQLDS_TabRev2->setCommandText(LabelJobExpansion::jobStatement());
        ClientDataSet::ReadyRows replaced = dm.TabRev2->installRead(std::move(rows), QString(), false);
        if (form.listReads())
            form.listReads()->reader().dispose(std::move(replaced));
        printJob(run, labels);
    });
}

} // namespace

void TFormSelvarra::btnEtiqSemPrecoClick()
{
    if (!m_counter->admit(Counter::Input::Print, [this] { btnEtiqSemPrecoClick(); }) || m_jobRunning)
        return;
    auto run = std::make_shared<PrintRun>(*this);
    guarded([&] {
        if (!DM || !postListEdit())
            return;
        run->controlsOff();
        showPrintOutcome(QString());
        // The read the quantity just stored asked for comes first: the job
        // is of the rows the clerk sees, with that quantity as stored.
        m_counter->afterHeld([run] { guarded([&] { checkOutput(run); }); });
    });
}

namespace {

// The scheduler is being asked about the station's queue: the waiting panel
// says so with "Cancelar", and the window goes on answering. Ending it
// (answer, cancel, window gone) lets the print go on or end.
class PrinterAsking : public QObject
{
public:
    PrinterAsking(TFormSelvarra &form, std::shared_ptr<PrintRun> run) : run(std::move(run)), m_wait(form)
    {
        m_wait.showing(QStringLiteral("Consultando a impressora…"));
    }

    std::shared_ptr<PrintRun> run;

private:
    JobWaitPanel m_wait;

public:
    PrinterQueueCheck check; // last: the process ends before the panel goes
};

} // namespace

void TFormSelvarra::askPrinterThenPrint(std::shared_ptr<PrintRun> run)
{
    auto *asking = new PrinterAsking(*this, std::move(run));
    m_printerAsking = asking;
    // Once only: an answer already on its way when "Cancelar" is clicked finds nothing to end.
    const auto end = [this, asking] {
        if (m_printerAsking.data() != asking)
            return std::shared_ptr<PrintRun>();
        m_printerAsking = nullptr;
        std::shared_ptr<PrintRun> run = asking->run;
        delete asking;
        return run;
    };
    connect(this, &TFormSelvarra::jobCancelClicked, asking, [this, asking, end] {
        asking->check.cancel();
        if (m_printerAsking.data() != asking)
            return;
        showPrintOutcome(QStringLiteral("Consulta à impressora cancelada: nada foi impresso."));
        end();
        emit printerCheckEnded();
    });
    connect(&asking->check, &PrinterQueueCheck::answered, this,
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
    asking->check.start(RunValues::LabelPrinterPath);
}

void TFormSelvarra::MarginsStep()
{
    if (QuickRepPage *page = relat2Page(layoutWindows))
        MarginsFile::step(*page);
}
