// Printing the list ("Etiquetas com preços"): the window's side of the print
// flow, and the margins step of the fixed sheet layouts that ends every activation.
#include "TFormSelvarra.h"

#include "Counter.h"
#include "JobWaitPanel.h"
#include "JobWorker.h"
#include "ListReads.h"
#include "MarginsStep.h"
#include "PrintFlow.h"
#include "ReportRunner.h"
#include "TRvSystem.h"
#include "TPieGauge.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

void TFormSelvarra::createPrintFlow()
{
    m_printFlow = new PrintFlow(*DM, *m_counter, *m_jobWorker, *m_listReads, *this, this, this);
    RvSystem2 = m_printFlow->reports().engine();
    connect(this, &TFormSelvarra::jobCancelClicked, m_printFlow, &PrintFlow::cancel);
    connect(m_printFlow, &PrintFlow::printEnded, this, &TFormSelvarra::printEnded);
    connect(m_printFlow, &PrintFlow::printerCheckEnded, this, &TFormSelvarra::printerCheckEnded);
}

void TFormSelvarra::btnEtiqSemPrecoClick()
{
    if (m_counter->admit(Counter::Input::Print, [this] { btnEtiqSemPrecoClick(); }) && !m_jobRunning && m_printFlow)
        m_printFlow->print();
}

// While a print runs, the window answers for the sake of "Cancelar" only.
void TFormSelvarra::setPrintControlsEnabled(bool enabled)
{
    const QList<QWidget *> controls{DBGrid1, DBLCB1, BotSairMontEtiq, btnEtiqSemPreco, EditEtiqInic, EditPesqComp, EditPesqCod};
    if (enabled) {
        setJobRunning(false);
        setMainActionsEnabled(true);
    }
    for (QWidget *control : controls)
        control->setEnabled(enabled);
    if (!enabled) {
        setMainActionsEnabled(false);
        setJobRunning(true);
    }
}

QString TFormSelvarra::modelDescription() const { return DBLCB1->currentText(); }

void TFormSelvarra::progressAt(const QString &product, int rowsDone)
{
    LabelArq->setText(product);
    Pizza->setValue(rowsDone);
}


void TFormSelvarra::MarginsStep() { stepMargins(layoutWindows); }
