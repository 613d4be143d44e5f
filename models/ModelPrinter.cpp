#include "ModelPrinter.h"

#include "LabelOutput.h"
#include "ReportProject.h"

ModelPrinter modelPrinter(const ReportProject &project, const QString &description)
{
    switch (outputForDescription(description)) {
    case OutputKind::Thermal:
        return {ModelPrinter::Kind::FixedThermal, {}};
    case OutputKind::Report: {
        if (project.reports.isEmpty())
            return {};
        if (project.findReport(project.activeReport))
            return {ModelPrinter::Kind::SheetReport, project.reportFor(description).name};
        // A project still without its active report: what no report lists prints nothing.
        ReportProject withStandIn = project;
        withStandIn.reports.append(SheetReport{});
        withStandIn.activeReport = QString();
        const SheetReport &chosen = withStandIn.reportFor(description);
        if (&chosen == &withStandIn.reports.constLast())
            return {};
        return {ModelPrinter::Kind::SheetReport, chosen.name};
    }
    case OutputKind::None:
        if (const SheetReport *report = project.thermalReportFor(description))
            return {ModelPrinter::Kind::ThermalReport, report->name};
        return {};
    }
    return {};
}
