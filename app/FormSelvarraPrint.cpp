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
        if (output == OutputKind::Thermal || (output == OutputKind::None && servedByThermalReport()))
            thermal.checkBatchFile();
        if (output != OutputKind::None && !EanWarning::confirmPrint(*DM->TabRev1))
            return;
        if (!confirmLargeJob(LabelJobExpansion::rowsToWrite(*DM, EditEtiqInic->text())))
            return;
        // The lock is held until the output has read the job, so no other
        // station replaces it meanwhile.
        SuiteJob job(*DM->SQLConnection1, RunValues::StationCode, SuiteJob::Kind::Print);
        qint64 labels = 0;
        {
            const PrintInProgress printing(*this);
            PanelJobProgress progress(*this);
            labels = LabelJobExpansion(*DM).run(EditEtiqInic->text(), progress, job);
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
        // A run that put nothing on the label stock leaves its first position
        // for the next one.
        if (outcome.usedLabelStock())
            EditEtiqInic->clear();
        showPrintOutcome(outcome.text() + historyAfterOutput(output));

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

void TFormSelvarra::createPrintHandOver()
{
    printHandOver = new PrintHandOver(this);
    LabelEnvio = new QLabel(PainelSelvarra);
    LabelEnvio->setObjectName(QStringLiteral("LabelEnvio"));
    LabelEnvio->setGeometry(336, 76, 176, 18);
    connect(printHandOver, &PrintHandOver::sending, LabelEnvio, [this](int file, int files) {
        LabelEnvio->setText(QStringLiteral("Enviando arquivo %1 de %2").arg(file).arg(files));
    });
    connect(printHandOver, &PrintHandOver::idle, LabelEnvio, &QLabel::clear);
    connect(printHandOver, &PrintHandOver::jobFailed, this, [this](const QString &message, int labelsSent) {
        showPrintOutcome(PrintOutcome::thermalStopped(labelsSent).text());
        Messages::show(message);
    });
    connect(printHandOver, &PrintHandOver::jobHandedOver, this,
            [this](int labels, int files) { showPrintOutcome(PrintOutcome::thermal(labels, files).text()); });
}

bool TFormSelvarra::mayCloseDuringHandOver()
{
    if (!printHandOver->busy())
        return true;
    return Messages::ask(QStringLiteral("Ainda há etiquetas sendo enviadas à impressora (arquivo %1 de %2).\r"
                                        "Fechando agora, o arquivo em envio termina e os seguintes não são enviados.\r"
                                        "Fechar o programa assim mesmo?")
                             .arg(printHandOver->currentFile())
                             .arg(printHandOver->currentFileCount()));
}

void TFormSelvarra::MarginsStep()
{
    if (QuickRepPage *page = relat2Page(layoutWindows))
        MarginsFile::step(*page);
}
