// Sheet labels (A4, A5, Carta) through the report project: the window owns the
// project, the engine and the connection that shows the label job to the project.
#include "TFormSelvarra.h"

#include "PrintOutcome.h"
#include "TDM.h"
#include "TRvDataSetConnection.h"
#include "TRvProject.h"
#include "TRvSystem.h"

#include <QComboBox>

namespace {

// Fixed on every workstation: one project for the whole pharmacy, whatever the
// program's folder.
const QString ReportProjectFile = QStringLiteral("c:\\boticon\\rpt\\Selvar.rav");

} // namespace

void TFormSelvarra::createReportComponents()
{
    // The engine keeps its documented settings: setup dialog first, preview as
    // the destination offered, status window shown, preview modal with printing.
    RvSystem2 = new TRvSystem(QStringLiteral("RvSystem2"), this);
    rvprjct1 = new TRvProject(QStringLiteral("rvprjct1"), this);
    rvprjct1->setEngine(RvSystem2);
    // Its data set is the data module's TabRev2, bound at each run: the data
    // module is created after the window.
    RvDataSetConnection1 = new TRvDataSetConnection(QStringLiteral("RvDataSetConnection1"), this);
}

PrintOutcome TFormSelvarra::runReportProject(qint64 labels)
{
    RvDataSetConnection1->setDataSet(DM->TabRev2);
    // Closed and loaded from disk again every time, so an edited project takes
    // effect at the next print.
    rvprjct1->Close();
    rvprjct1->setProjectFile(ReportProjectFile);
    // The model being printed picks its sheet among the project's reports.
    rvprjct1->setModelDescription(DBLCB1->currentText());
    const TRvSystem::Outcome outcome = rvprjct1->Execute();

    // Printing from the preview counts as printing; the last destination is
    // the one the user is told about.
    if (RvSystem2->sent().isEmpty())
        return outcome == TRvSystem::Outcome::Cancelled ? PrintOutcome::cancelled() : PrintOutcome::previewOnly();
    const OutputOptions &last = RvSystem2->sent().constLast();
    if (last.destination == OutputOptions::Destination::File)
        return PrintOutcome::pdf(last.fileName);
    return PrintOutcome::printer(labels, last.printerName);
}
