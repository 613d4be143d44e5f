#include "ReportProject.h"

QSizeF SheetReport::paperSize() const
{
    const QSizeF portrait = pageSize.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
}

const SheetReport *ReportProject::findReport(const QString &reportName) const
{
    for (const SheetReport &report : reports) {
        if (report.name.compare(reportName, Qt::CaseInsensitive) == 0)
            return &report;
    }
    return nullptr;
}

const SheetReport &ReportProject::reportFor(const QString &modelDescription) const
{
    const SheetReport *chosen = findReport(activeReport);
    qsizetype longest = 0;
    for (const SheetReport &report : reports) {
        for (const QString &prefix : report.modelPrefixes) {
            if (prefix.size() > longest && modelDescription.startsWith(prefix)) {
                longest = prefix.size();
                chosen = &report;
            }
        }
    }
    // The parser refuses a project whose active report does not exist.
    return *chosen;
}
