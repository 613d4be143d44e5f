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
#include "Messages.h"
#include "PrintHandOver.h"
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
        if (!DM)
            return;
        const OutputKind output = outputForDescription(CurrentModel::description(*DM));
        const ThermalOutput thermal(RunValues::WorkFolder(), RunValues::LabelPrinterPath);
        // Before the job table is emptied, so a station that cannot print keeps its last job.
        if (output == OutputKind::Thermal || (output == OutputKind::None && servedByThermalReport()))
            thermal.checkBatchFile();
        PanelJobProgress progress(*this);
        LabelJobExpansion(*DM).run(EditEtiqInic->text(), progress);
        EditEtiqInic->clear();

        switch (output) {
        case OutputKind::Report:
            runReportProject();
            break;
        case OutputKind::Thermal:
            printFixedThermal(thermal);
            break;
        case OutputKind::None:
            // A thermal report of the project may serve the model; if none
            // does, the job stays in TABREV2 until the next one empties it.
            runThermalReport(thermal);
            break;
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
    connect(printHandOver, &PrintHandOver::jobFailed, this, [](const QString &message) { Messages::show(message); });
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
