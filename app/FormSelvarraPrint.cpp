// Printing the list ("Etiquetas com preços"): the label job, the output the
// current model's description chooses, and the closing steps; and the margins
// step of the fixed sheet layouts that ends every activation.
#include "TFormSelvarra.h"

#include "BrLocale.h"
#include "CurrentModel.h"
#include "DatabaseErrors.h"
#include "EanWarning.h"
#include "FixedLayouts.h"
#include "JobProgress.h"
#include "LabelJobExpansion.h"
#include "LabelOutput.h"
#include "MarginsFile.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "PrintOutcome.h"
#include "JobWaitPanel.h"
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
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

namespace {

// The window's progress panel, painted at once at every change: the job keeps
// the user-interface thread until it ends.
class PanelJobProgress : public JobProgress
{
public:
    explicit PanelJobProgress(TFormSelvarra &form) : m_form(form) {}

    void jobBegin(int rows) override { m_form.progressBegin(rows); }

    void labelStarted(const QString &productName) override
    {
        m_form.LabelArq->setText(productName);
        m_form.LabelArq->repaint();
    }

    void rowDone(int rowsDone) override
    {
        m_form.Pizza->setValue(rowsDone);
        m_form.Pizza->repaint();
    }

    void jobEnd() override { m_form.progressEnd(); }

    // The window takes input only here, and only "Cancelar" and Escape are live.
    bool cancelRequested() override
    {
        QCoreApplication::processEvents();
        return m_form.jobCancelRequested();
    }

private:
    TFormSelvarra &m_form;
};

// While labels are printed the window breathes for the sake of "Cancelar";
// everything else that could start work stays inactive until the print ends.
class PrintInProgress
{
public:
    explicit PrintInProgress(TFormSelvarra &form) : m_form(form)
    {
        m_controls = {static_cast<QWidget *>(form.DBGrid1), form.DBLCB1, form.BotSairMontEtiq, form.btnEtiqSemPreco,
                      form.EditEtiqInic, form.EditPesqComp, form.EditPesqCod};
        for (QWidget *control : m_controls)
            control->setEnabled(false);
        m_form.setMainActionsEnabled(false);
        m_form.setJobRunning(true);
    }
    ~PrintInProgress()
    {
        m_form.setJobRunning(false);
        m_form.setMainActionsEnabled(true);
        for (QWidget *control : m_controls)
            control->setEnabled(true);
    }
    PrintInProgress(const PrintInProgress &) = delete;
    PrintInProgress &operator=(const PrintInProgress &) = delete;

private:
    TFormSelvarra &m_form;
    QList<QWidget *> m_controls;
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

void TFormSelvarra::btnEtiqSemPrecoClick()
{
    guarded([this] {
        if (!DM || m_printerAsking || !postListEdit())
            return;
        showPrintOutcome(QString());
        const QString description = CurrentModel::description(*DM);
        const OutputKind output = outputForDescription(description);
        // Before the job table is emptied, so a station that cannot print keeps its last job.
        const bool thermalReport = output == OutputKind::None && servedByThermalReport();
        if (output == OutputKind::Thermal || thermalReport) {
            ThermalOutput(RunValues::WorkFolder(), RunValues::LabelPrinterPath).checkBatchFile();
            warnAboutTimeLimit();
            if (PrinterQueueCheck::needsAsking(RunValues::LabelPrinterPath)) {
                askPrinterThenPrint(description, output, thermalReport);
                return;
            }
        }
        printChecked(description, output, thermalReport);
    });
}

namespace {

// The scheduler is being asked about the station's queue: the print's controls
// rest, the waiting panel says so with "Cancelar", and the window goes on
// answering. Ending it (answer, cancel, window gone) gives everything back.
class PrinterAsking : public QObject
{
public:
    explicit PrinterAsking(TFormSelvarra &form) : m_printing(form), m_wait(form)
    {
        m_wait.showing(QStringLiteral("Consultando a impressora…"));
    }

private:
    PrintInProgress m_printing;
    JobWaitPanel m_wait;

public:
    PrinterQueueCheck check; // last: the process ends before the panel goes
};

} // namespace

void TFormSelvarra::askPrinterThenPrint(const QString &description, OutputKind output, bool thermalReport)
{
    auto *asking = new PrinterAsking(*this);
    m_printerAsking = asking;
    // Once only: an answer already on its way when "Cancelar" is clicked finds nothing to end.
    const auto end = [this, asking] {
        if (m_printerAsking.data() != asking)
            return false;
        m_printerAsking = nullptr;
        delete asking;
        return true;
    };
    connect(this, &TFormSelvarra::jobCancelClicked, asking, [this, asking, end] {
        asking->check.cancel();
        if (!end())
            return;
        showPrintOutcome(QStringLiteral("Consulta à impressora cancelada: nada foi impresso."));
        emit printerCheckEnded();
    });
    connect(&asking->check, &PrinterQueueCheck::answered, this,
            [this, end, description, output, thermalReport](const QString &problem) {
                if (!end())
                    return;
                guarded([&] {
                    if (!problem.isEmpty())
                        throw SelvarError(problem);
                    printChecked(description, output, thermalReport);
                });
                emit printerCheckEnded();
            },
            Qt::QueuedConnection);
    asking->check.start(RunValues::LabelPrinterPath);
}

void TFormSelvarra::printChecked(const QString &description, OutputKind output, bool thermalReport)
{
    const ThermalOutput thermal(RunValues::WorkFolder(), RunValues::LabelPrinterPath);
    if ((output != OutputKind::None || thermalReport) && !EanWarning::confirmPrint(*DM->TabRev1))
        return;
    if (!confirmLargeJob(LabelJobExpansion::rowsToWrite(*DM, EditEtiqInic->text())))
        return;
    // The lock covers writing the job and reading it back, nothing more:
    // every choice, preview and the hand-over below work from the rows read
    // under it, while other stations print.
    qint64 labels = 0;
    const qint64 skipped = LabelJobExpansion::skippedPositions(EditEtiqInic->text());
    try {
        labels = writeLabelJob();
    } catch (const JobNotReadBack &notRead) {
        // Asked with the lock free; the job is read again under it, if still ours.
        if (!Messages::ask(notRead.message() + QStringLiteral("\r\rLer o trabalho gravado de novo e imprimi-lo agora?"))) {
            showPrintOutcome(QStringLiteral("Trabalho gravado e não impresso"));
            return;
        }
        labels = notRead.labels();
        const PrintInProgress printing(*this);
        const std::unique_ptr<SuiteJob> job = takeJobLock(SuiteJob::Kind::Print);
        readWrittenJobAgain(skipped, labels);
    }
    noteJobWritten(description);

    PrintOutcome outcome = PrintOutcome::noOutput(description);
    switch (output) {
    case OutputKind::Report:
        outcome = runReportProject(labels);
        break;
    case OutputKind::Thermal:
        outcome = printFixedThermal(thermal);
        break;
    case OutputKind::None:
        // A thermal report of the project may serve the model; if none
        // does, the job stays in TABREV2 until the next one empties it.
        outcome = runThermalReport(thermal);
        break;
    }
    // A thermal job handed over says later what went out; any other run
    // that put nothing on the label stock leaves its first position for
    // the next one.
    const QString historyNote = historyAfterOutput(output);
    if (!outcome.handedOver()) {
        if (outcome.usedLabelStock())
            EditEtiqInic->clear();
        showPrintOutcome(outcome.text() + historyNote);
    }

    // Back to the list, on the model the job was printed with.
    focusGridQuantity();
    openIfClosed(DM->EtiqCorr);
    openIfClosed(DM->EtiqPar);
    DM->EtiqPar->FindKey({CurrentModel::code(*DM)});
    DBLCB1->update();
    DBLCB1->repaint();
    focusAfterPrint();
    DM->TabRev2->Close();
}

qint64 TFormSelvarra::writeLabelJob()
{
    for (int attempt = 1;; ++attempt) {
        try {
            const PrintInProgress printing(*this);
            const std::unique_ptr<SuiteJob> job = takeJobLock(SuiteJob::Kind::Print);
            PanelJobProgress progress(*this);
            return LabelJobExpansion(*DM).run(EditEtiqInic->text(), progress, *job);
        } catch (const DatabaseError &error) {
            // A connection the server dropped since it was last used (a server
            // restarted, a network back) fails the first statement; the job was
            // undone whole, so it is written once more on a connection made anew.
            if (!isConnectionFailure(error))
                throw;
            if (attempt == 2)
                throw SelvarError(QStringLiteral("A conexão com o banco de dados caiu e não pôde ser refeita: nenhuma "
                                                 "etiqueta foi gerada e o trabalho anterior foi mantido. Confira a rede "
                                                 "e o servidor e pressione \"Etiquetas com preços\" de novo."));
        }
    }
}

void TFormSelvarra::readWrittenJobAgain(qint64 skipped, qint64 labels)
{
    try {
        LabelJobExpansion(*DM).readBack();
    } catch (const std::exception &error) {
        DM->TabRev2->Close();
        throw JobNotReadBack(labels, error);
    }
    // Another station may have printed since; its job is not this one's to print.
    if (DM->TabRev2->RecordCount() != skipped + labels) {
        DM->TabRev2->Close();
        throw SelvarError(QStringLiteral("O trabalho gravado já foi substituído pelo de outra estação; nada foi impresso. "
                                         "Pressione \"Etiquetas com preços\" de novo."));
    }
}

void TFormSelvarra::MarginsStep()
{
    if (QuickRepPage *page = relat2Page(layoutWindows))
        MarginsFile::step(*page);
}
