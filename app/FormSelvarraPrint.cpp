// Printing the list ("Etiquetas com preços"): the label job, the output the
// current model's description chooses, and the closing steps; and the margins
// step of the fixed sheet layouts that ends every activation.
#include "TFormSelvarra.h"

#include "CurrentModel.h"
#include "FixedLayouts.h"
#include "JobProgress.h"
#include "LabelJobExpansion.h"
#include "LabelOutput.h"
#include "MarginsFile.h"
#include "PrintOutcome.h"
#include "RunValues.h"
#include "TDM.h"
#include "TPieGauge.h"
#include "ThermalOutput.h"

#include <QComboBox>
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

private:
    TFormSelvarra &m_form;
};

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
        PanelJobProgress progress(*this);
        const qint64 labels = LabelJobExpansion(*DM).run(EditEtiqInic->text(), progress);

        const QString description = CurrentModel::description(*DM);
        PrintOutcome outcome = PrintOutcome::noOutput(description);
        switch (outputForDescription(description)) {
        case OutputKind::Report:
            outcome = runReportProject(labels);
            break;
        case OutputKind::Thermal:
            outcome = PrintOutcome::thermal(
                labels, ThermalOutput(RunValues::WorkFolder(), RunValues::LabelPrinterPath).run(*DM->TabRev2));
            break;
        case OutputKind::None:
            // The job stays in TABREV2 until the next one empties it.
            break;
        }
        // A run that put nothing on the label stock leaves its first position
        // for the next one.
        if (outcome.usedLabelStock())
            EditEtiqInic->clear();
        showPrintOutcome(outcome.text());

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
