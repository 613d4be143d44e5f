#include "ReportProject.h"

QString elementKeyword(CellElement::Kind kind)
{
    static const QString keywords[] = {
        QStringLiteral("campo"), QStringLiteral("texto"),  QStringLiteral("preco"), QStringLiteral("barras"),
        QStringLiteral("linha"), QStringLiteral("quadro"), QStringLiteral("qr"),    QStringLiteral("datamatrix"),
        QStringLiteral("data"),  QStringLiteral("imagem"),
    };
    return keywords[int(kind)];
}

QStringList CellElement::fieldsRead() const
{
    if (readsField())
        return {value};
    QStringList fields;
    for (const ValuePart &part : parts) {
        if (part.field)
            fields << part.text;
    }
    return fields;
}

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

namespace {

// The report of the given kind whose listed beginning is the longest one the
// description starts with (letter case counts).
const SheetReport *longestMatch(const QList<SheetReport> &reports, const QString &description, bool thermal)
{
    const SheetReport *chosen = nullptr;
    qsizetype longest = 0;
    for (const SheetReport &report : reports) {
        if (report.thermal.has_value() != thermal)
            continue;
        for (const QString &prefix : report.modelPrefixes) {
            if (prefix.size() > longest && description.startsWith(prefix)) {
                longest = prefix.size();
                chosen = &report;
            }
        }
    }
    return chosen;
}

} // namespace

const SheetReport &ReportProject::reportFor(const QString &modelDescription) const
{
    // The parser refuses a project whose active report does not exist or is thermal.
    const SheetReport *chosen = longestMatch(reports, modelDescription, false);
    return chosen ? *chosen : *findReport(activeReport);
}

const SheetReport *ReportProject::thermalReportFor(const QString &modelDescription) const
{
    return longestMatch(reports, modelDescription, true);
}
