#include "ReportProject.h"

const QList<ElementKindName> &elementKinds()
{
    static const QList<ElementKindName> kinds = {
        {CellElement::Kind::Field, QStringLiteral("campo")},   {CellElement::Kind::Text, QStringLiteral("texto")},
        {CellElement::Kind::Price, QStringLiteral("preco")},   {CellElement::Kind::Barcode, QStringLiteral("barras")},
        {CellElement::Kind::Line, QStringLiteral("linha")},    {CellElement::Kind::Frame, QStringLiteral("quadro")},
        {CellElement::Kind::QrCode, QStringLiteral("qr")},     {CellElement::Kind::DataMatrix, QStringLiteral("datamatrix")},
        {CellElement::Kind::Date, QStringLiteral("data")},     {CellElement::Kind::Image, QStringLiteral("imagem")},
    };
    return kinds;
}

std::optional<CellElement::Kind> elementKindFor(const QString &keyword)
{
    for (const ElementKindName &entry : elementKinds()) {
        if (entry.keyword == keyword)
            return entry.kind;
    }
    return std::nullopt;
}

QString elementKeyword(CellElement::Kind kind)
{
    for (const ElementKindName &entry : elementKinds()) {
        if (entry.kind == kind)
            return entry.keyword;
    }
    return {};
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
