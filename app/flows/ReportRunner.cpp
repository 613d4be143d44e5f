#include "ReportRunner.h"

#include "ModelPrinter.h"
#include "ProjectFile.h"
#include "SelvarError.h"
#include "SuitePaths.h"
#include "ThermalJobOutput.h"
#include "ThermalOutput.h"
#include "ThermalPreviewDialog.h"
#include "ThermalReportFiles.h"
#include "TRvDataSetConnection.h"
#include "TRvProject.h"
#include "TRvSystem.h"

#include <QFileInfo>

#include <optional>

namespace {

// Fixed on every workstation: one project for the whole pharmacy, whatever the
// program's folder.
const QString ReportProjectFile = QStringLiteral("c:\\boticon\\rpt\\Selvar.rav");

// The project when the suite has one; a model no fixed rule knows prints
// nothing without it, as ever.
std::optional<ReportProject> projectIfAny()
{
    if (!QFileInfo(SuitePaths::toNative(ReportProjectFile)).isFile())
        return std::nullopt;
    return loadReportProject(ReportProjectFile);
}

} // namespace

ReportRunner::ReportRunner(ClientDataSet &labelJob, QObject *owner) : m_labelJob(labelJob)
{
    QObject *home = owner ? owner : &m_ownHome;
    // The engine keeps its documented settings: setup dialog first, preview as
    // the destination offered, status window shown, preview modal with printing.
    m_engine = new TRvSystem(QStringLiteral("RvSystem2"), home);
    m_project = new TRvProject(QStringLiteral("rvprjct1"), home);
    m_project->setEngine(m_engine);
    // Its data set is the label job, bound at each run.
    m_connection = new TRvDataSetConnection(QStringLiteral("RvDataSetConnection1"), home);
}

ReportRunner::~ReportRunner()
{
    delete m_connection.data();
    delete m_project.data();
    delete m_engine.data();
}

PrintOutcome ReportRunner::runReportProject(qint64 labels, const QString &modelDescription)
{
    m_connection->setDataSet(&m_labelJob);
    // Closed and loaded from disk again every time, so an edited project takes
    // effect at the next print.
    m_project->Close();
    m_project->setProjectFile(ReportProjectFile);
    // The model being printed picks its sheet among the project's reports.
    m_project->setModelDescription(modelDescription);
    const TRvSystem::Outcome outcome = m_project->Execute();

    // Printing from the preview counts as printing; the last destination is
    // the one the user is told about.
    if (m_engine->sent().isEmpty())
        return outcome == TRvSystem::Outcome::Cancelled ? PrintOutcome::cancelled() : PrintOutcome::previewOnly();
    const OutputOptions &last = m_engine->sent().constLast();
    if (last.destination == OutputOptions::Destination::File)
        return PrintOutcome::pdf(last.fileName);
    return PrintOutcome::printer(labels, last.printerName);
}

bool ReportRunner::servedByThermalReport(const QString &modelDescription) const
{
    // Asked before the job is written, only to check the station first: a
    // fault of the project is told once the job is in TABREV2, as a sheet
    // project's is.
    try {
        const std::optional<ReportProject> project = projectIfAny();
        return project && modelPrinter(*project, modelDescription).kind == ModelPrinter::Kind::ThermalReport;
    } catch (const SelvarError &) {
        return false;
    }
}

PrintOutcome ReportRunner::runThermalReport(const ThermalOutput &thermal, const QString &modelDescription, ThermalJobOutput &output)
{
    const std::optional<ReportProject> project = projectIfAny();
    const SheetReport *report = project ? project->thermalReportFor(modelDescription) : nullptr;
    if (!report)
        return PrintOutcome::noOutput(modelDescription);
    m_connection->setDataSet(&m_labelJob);
    m_project->setProjectFile(ReportProjectFile);
    const TRvDataSetConnection &connection = m_project->connectionFor(*report);
    QList<int> labels;
    const QList<QByteArray> files = thermalCommandFiles(*report, connection.rows(), project->offset + report->offset, &labels);
    return output.print(thermal.job(files, labels), report->thermal->dpi,
                        PreviewStock{QSizeF(report->grid.cellWidth, report->grid.cellHeight), stockOf(*report).columnStarts});
}

TRvSystem *ReportRunner::engine() const
{
    return m_engine;
}
