// Labels through the report project: sheets (A4, A5, Carta) and the thermal
// reports that serve other models. The window owns the project, the engine and
// the connection that shows the label job to the project.
#include "TFormSelvarra.h"

#include "ModelPrinter.h"
#include "PrintOutcome.h"
#include "ProjectFile.h"
#include "SelvarError.h"
#include "SuitePaths.h"
#include "TDM.h"
#include "ThermalOutput.h"
#include "ThermalPreviewDialog.h"
#include "ThermalReportFiles.h"
#include "TRvDataSetConnection.h"
#include "TRvProject.h"
#include "TRvSystem.h"

#include <QComboBox>
#include <QFileInfo>

#include <optional>

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

namespace {

// The project when the suite has one; a model no fixed rule knows prints
// nothing without it, as ever.
std::optional<ReportProject> projectIfAny()
{
    if (!QFileInfo(SuitePaths::toNative(ReportProjectFile)).isFile())
        return std::nullopt;
    return loadReportProject(ReportProjectFile);
}

} // namespace

bool TFormSelvarra::servedByThermalReport() const
{
    // Asked before the job is written, only to check the station first: a
    // fault of the project is told once the job is in TABREV2, as a sheet
    // project's is.
    try {
        const std::optional<ReportProject> project = projectIfAny();
        return project && modelPrinter(*project, DBLCB1->currentText()).kind == ModelPrinter::Kind::ThermalReport;
    } catch (const SelvarError &) {
        return false;
    }
}

PrintOutcome TFormSelvarra::runThermalReport(const ThermalOutput &thermal)
{
    const std::optional<ReportProject> project = projectIfAny();
    const SheetReport *report = project ? project->thermalReportFor(DBLCB1->currentText()) : nullptr;
    if (!report)
        return PrintOutcome::noOutput(DBLCB1->currentText());
    RvDataSetConnection1->setDataSet(DM->TabRev2);
    rvprjct1->setProjectFile(ReportProjectFile);
    const TRvDataSetConnection &connection = rvprjct1->connectionFor(*report);
    QList<int> labels;
    const QList<QByteArray> files = thermalCommandFiles(*report, connection.rows(), project->offset + report->offset, &labels);
    return printThermalJob(thermal.job(files, labels), report->thermal->dpi,
                    PreviewStock{QSizeF(report->grid.cellWidth, report->grid.cellHeight), stockOf(*report).columnStarts});
}
