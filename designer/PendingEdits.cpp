#include "PendingEdits.h"

#include "DesignDocument.h"
#include "ProjectWriter.h"

#include <functional>

namespace {

// One property of an element as the panel shows it: its name in a sentence,
// whether two elements agree on it, and how it is taken from one to another.
struct Property
{
    QString key;
    std::function<bool(const CellElement &, const CellElement &)> same;
    std::function<void(const CellElement &, CellElement &)> copy;
};

template<typename T>
Property member(const QString &key, T CellElement::*field)
{
    return {key, [field](const CellElement &a, const CellElement &b) { return a.*field == b.*field; },
            [field](const CellElement &from, CellElement &to) { to.*field = from.*field; }};
}

const QList<Property> &properties()
{
    static const QList<Property> list = {
        member(QStringLiteral("posição e tamanho"), &CellElement::box),
        member(QStringLiteral("campo ou texto"), &CellElement::value),
        member(QStringLiteral("fonte"), &CellElement::fontFamily),
        member(QStringLiteral("tamanho da letra"), &CellElement::fontSize),
        member(QStringLiteral("negrito"), &CellElement::bold),
        member(QStringLiteral("itálico"), &CellElement::italic),
        member(QStringLiteral("quebra de linhas"), &CellElement::wrap),
        member(QStringLiteral("alinhamento"), &CellElement::alignment),
        member(QStringLiteral("formato do preço"), &CellElement::priceFormat),
        member(QStringLiteral("simbologia"), &CellElement::symbology),
        member(QStringLiteral("simbologia da impressora"), &CellElement::printerSymbology),
        member(QStringLiteral("dígitos sob as barras"), &CellElement::legend),
        member(QStringLiteral("rotação"), &CellElement::rotation),
        member(QStringLiteral("espessura"), &CellElement::thickness),
        member(QStringLiteral("conteúdo do código"), &CellElement::parts),
        member(QStringLiteral("nível de correção"), &CellElement::qrLevel),
        member(QStringLiteral("módulo"), &CellElement::moduleMm),
        member(QStringLiteral("formato da data"), &CellElement::dateFormat),
        member(QStringLiteral("dias somados à data"), &CellElement::dayOffset),
        member(QStringLiteral("meses somados à data"), &CellElement::monthOffset),
        member(QStringLiteral("limiar da imagem"), &CellElement::threshold),
        member(QStringLiteral("pontilhado da imagem"), &CellElement::dither),
    };
    return list;
}

const Property *property(const QString &key)
{
    for (const Property &p : properties()) {
        if (p.key == key)
            return &p;
    }
    return nullptr;
}

QString elementName(const CellElement &element)
{
    return QStringLiteral("%1 %2").arg(elementKeyword(element.kind),
                                       element.kind == CellElement::Kind::Text ? QStringLiteral("\"%1\"").arg(element.value) : element.value);
}

// A report's own settings, its elements left out.
QStringList settingsOf(SheetReport report)
{
    report.elements.clear();
    return reportBlock(report);
}

bool sameButPlace(CellElement a, const CellElement &b)
{
    a.line = b.line;
    a.id = b.id;
    return a == b;
}

int indexOfId(const QList<CellElement> &elements, int id)
{
    for (int i = 0; i < elements.size(); ++i) {
        if (elements[i].id == id)
            return i;
    }
    return -1;
}

void elementEdits(const QString &name, const SheetReport &read, const SheetReport &now, QList<PendingEdit> *edits)
{
    for (const CellElement &element : now.elements) {
        const int before = indexOfId(read.elements, element.id);
        PendingEdit edit;
        edit.report = name;
        edit.elementId = element.id;
        edit.element = element;
        if (before < 0) {
            edit.kind = PendingEdit::Kind::ElementAdded;
            edits->append(edit);
            continue;
        }
        for (const Property &p : properties()) {
            if (!p.same(read.elements[before], element))
                edit.properties << p.key;
        }
        if (!edit.properties.isEmpty())
            edits->append(edit);
    }
    for (const CellElement &element : read.elements) {
        if (indexOfId(now.elements, element.id) < 0)
            edits->append({PendingEdit::Kind::ElementRemoved, name, element.id, element, {}, {}});
    }
}

} // namespace

QString PendingEdit::description() const
{
    switch (kind) {
    case Kind::ElementChanged:
        return QStringLiteral("Relatório \"%1\": %2 — %3").arg(report, elementName(element), properties.join(QStringLiteral(", ")));
    case Kind::ElementAdded:
        return QStringLiteral("Relatório \"%1\": %2 acrescentado").arg(report, elementName(element));
    case Kind::ElementRemoved:
        return QStringLiteral("Relatório \"%1\": %2 excluído").arg(report, elementName(element));
    case Kind::ReportSettings:
        return QStringLiteral("Relatório \"%1\": configurações do relatório").arg(report);
    case Kind::ReportAdded:
        return QStringLiteral("Relatório novo \"%1\"").arg(report);
    case Kind::ReportRemoved:
        return QStringLiteral("Relatório \"%1\" excluído").arg(report);
    }
    return {};
}

QList<PendingEdit> pendingEdits(const DesignDocument &document)
{
    QList<PendingEdit> edits;
    const ReportProject &read = document.project();
    // The file's reports first, then the new ones; a deleted one kept, unlisted.
    for (int entry = 0; entry < document.entryCount(); ++entry) {
        const DesignDocument::Entry &e = document.entry(entry);
        if (e.original < 0) {
            if (e.listed)
                edits.append({PendingEdit::Kind::ReportAdded, e.report.name, 0, {}, {}, e.report});
            continue;
        }
        const SheetReport &before = read.reports[e.original];
        if (!e.listed) {
            edits.append({PendingEdit::Kind::ReportRemoved, before.name, 0, {}, {}, {}});
            continue;
        }
        if (settingsOf(before) != settingsOf(e.report))
            edits.append({PendingEdit::Kind::ReportSettings, before.name, 0, {}, {}, e.report});
        elementEdits(before.name, before, e.report, &edits);
    }
    return edits;
}

QStringList applyPendingEdits(DesignDocument *document, const QList<PendingEdit> &edits)
{
    QStringList notApplied;
    const auto rowOf = [document](const QString &name) {
        for (int row = 0; row < document->reportCount(); ++row) {
            if (document->reportAt(row).name == name)
                return row;
        }
        return -1;
    };
    QList<std::pair<int, SheetReport>> changes;
    const auto changing = [&](int row) -> SheetReport & {
        for (auto &change : changes) {
            if (change.first == row)
                return change.second;
        }
        changes.append({row, document->reportAt(row)});
        return changes.last().second;
    };
    QList<const PendingEdit *> reportsAdded;
    QList<const PendingEdit *> reportsRemoved;
    for (const PendingEdit &edit : edits) {
        if (edit.kind == PendingEdit::Kind::ReportAdded) {
            reportsAdded << &edit;
            continue;
        }
        const int row = rowOf(edit.report);
        if (row < 0) {
            notApplied << edit.description() + QStringLiteral(" (o relatório não está mais no arquivo)");
            continue;
        }
        if (edit.kind == PendingEdit::Kind::ReportRemoved) {
            reportsRemoved << &edit;
            continue;
        }
        SheetReport &report = changing(row);
        if (edit.kind == PendingEdit::Kind::ReportSettings) {
            SheetReport settings = edit.edited;
            settings.elements = report.elements;
            settings.line = report.line;
            settings.endLine = report.endLine;
            settings.folder = report.folder;
            report = settings;
            continue;
        }
        const int index = indexOfId(report.elements, edit.elementId);
        if (edit.kind == PendingEdit::Kind::ElementAdded) {
            CellElement added = edit.element;
            added.line = 0;
            added.id = 0;
            report.elements.append(added);
        } else if (index < 0) {
            notApplied << edit.description() + QStringLiteral(" (o elemento não está mais no arquivo)");
        } else if (edit.kind == PendingEdit::Kind::ElementRemoved) {
            report.elements.removeAt(index);
        } else {
            for (const QString &key : edit.properties)
                property(key)->copy(edit.element, report.elements[index]);
        }
    }
    if (!changes.isEmpty())
        document->editReports(changes, QStringLiteral("Reaplicar alterações"));
    for (const PendingEdit *edit : std::as_const(reportsAdded)) {
        SheetReport added = edit->edited;
        for (CellElement &element : added.elements)
            element.id = 0;
        document->startNewReport(added);
    }
    for (const PendingEdit *edit : std::as_const(reportsRemoved)) {
        document->selectReport(rowOf(edit->report));
        QString reason;
        if (!document->deleteReport(&reason))
            notApplied << edit->description() + QStringLiteral(" (%1)").arg(reason);
    }
    return notApplied;
}

void carryIdentities(const QList<SheetReport> &before, QList<SheetReport> *after)
{
    for (SheetReport &report : *after) {
        const auto read = std::find_if(before.begin(), before.end(), [&](const SheetReport &r) { return r.name == report.name; });
        if (read == before.end())
            continue;
        QList<bool> taken(read->elements.size(), false);
        const auto match = [&](const std::function<bool(const CellElement &, const CellElement &)> &same) {
            for (CellElement &element : report.elements) {
                for (int i = 0; element.id == 0 && i < read->elements.size(); ++i) {
                    if (!taken[i] && same(read->elements[i], element)) {
                        element.id = read->elements[i].id;
                        taken[i] = true;
                    }
                }
            }
        };
        match(sameButPlace);
        match([](const CellElement &a, const CellElement &b) { return a.kind == b.kind && a.value == b.value; });
    }
}
