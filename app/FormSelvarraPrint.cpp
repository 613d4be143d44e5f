// Printing the list ("Etiquetas com preços"): the label job, the output the
// current model's description chooses, and the closing steps; and the margins
// step of the fixed sheet layouts that ends every activation.
#include "TFormSelvarra.h"

#include "BrLocale.h"
#include "CurrentModel.h"
#include "EanWarning.h"
#include "FixedLayouts.h"
#include "JobProgress.h"
#include "LabelJobExpansion.h"
#include "LabelOutput.h"
#include "MarginsFile.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "PrintOutcome.h"
#include "PrinterQueue.h"
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

void openIfClosed(ClientDataSet *dataSet)
{
    if (!dataSet->Active())
        dataSet->Open();
}

} // namespace

void TFormSelvarra::btnEtiqSemPrecoClick()
{
    guarded([this] {
        if (!DM || !postListEdit())
            return;
        showPrintOutcome(QString());
        const QString description = CurrentModel::description(*DM);
        const OutputKind output = outputForDescription(description);
        const ThermalOutput thermal(RunValues::WorkFolder(), RunValues::LabelPrinterPath);
        // Before the job table is emptied, so a station that cannot print keeps its last job.
        const bool thermalReport = output == OutputKind::None && servedByThermalReport();
        if (output == OutputKind::Thermal || thermalReport) {
            thermal.checkBatchFile();
            PrinterQueue::check(RunValues::LabelPrinterPath);
        }
        if ((output != OutputKind::None || thermalReport) && !EanWarning::confirmPrint(*DM->TabRev1))
            return;
        if (!confirmLargeJob(LabelJobExpansion::rowsToWrite(*DM, EditEtiqInic->text())))
            return;
        // The lock covers writing the job and reading it back, nothing more:
        // every choice, preview and the hand-over below work from the rows read
        // under it, while other stations print.
        qint64 labels = 0;
        {
            const PrintInProgress printing(*this);
            const std::unique_ptr<SuiteJob> job = takeJobLock(SuiteJob::Kind::Print);
            PanelJobProgress progress(*this);
            labels = LabelJobExpansion(*DM).run(EditEtiqInic->text(), progress, *job);
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
        DBLCB1->setFocus();
        DBLCB1->update();
        DBLCB1->repaint();
        DM->TabRev2->Close();
    });
}

void TFormSelvarra::MarginsStep()
{
    if (QuickRepPage *page = relat2Page(layoutWindows))
        MarginsFile::step(*page);
}
