#include "DesignDocument.h"

#include "Cp1252.h"
#include "PendingEdits.h"
#include "ProjectError.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ProjectWriter.h"
#include "ReportEditCommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

QByteArray readAll(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

// A project begun by the designer: a name and the active report, which must
// be a sheet one; the first report made names it.
QByteArray newProjectBytes(const SheetReport &first)
{
    QString text = QStringLiteral("# Selvar.rav — projeto de etiquetas do Selvar, feito no editor de etiquetas.\r\n"
                                  "projeto \"Selvar\"\r\n");
    if (!first.thermal)
        text += QStringLiteral("ativo \"%1\"\r\n").arg(QString(first.name).replace(QLatin1Char('"'), QStringLiteral("\"\"")));
    return text.toUtf8();
}

const SheetReport &noReport()
{
    static const SheetReport none;
    return none;
}

// Which report the project names 'ativo', as one undo step.
class ActiveReportCommand : public QUndoCommand
{
public:
    ActiveReportCommand(DesignDocument *document, int before, int after)
        : QUndoCommand(QStringLiteral("Usar este relatório")), m_document(document), m_before(before), m_after(after)
    {
    }
    void undo() override { m_document->setActiveEntry(m_before); }
    void redo() override { m_document->setActiveEntry(m_after); }

private:
    DesignDocument *m_document;
    int m_before;
    int m_after;
};

} // namespace

DesignDocument::DesignDocument(QObject *parent) : QObject(parent)
{
    connect(&m_undo, &QUndoStack::cleanChanged, this, &DesignDocument::reportChanged);
}

DesignDocument::~DesignDocument()
{
    // The commands go with the stack; nobody is to hear of it any more.
    m_undo.blockSignals(true);
    m_undo.clear();
}

bool DesignDocument::open(const QString &path, QString *error)
{
    QByteArray bytes;
    if (QFileInfo::exists(path)) {
        bool ok = false;
        bytes = readAll(path, &ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("Não foi possível ler \"%1\".").arg(path);
            return false;
        }
    }
    m_path = path;
    reload(bytes, {});
    return true;
}

bool DesignDocument::reloadFromDisk(QString *error)
{
    bool ok = false;
    const QByteArray bytes = readAll(m_path, &ok);
    if (!ok && QFileInfo::exists(m_path)) {
        *error = QStringLiteral("Não foi possível ler \"%1\".").arg(m_path);
        return false;
    }
    const QList<SheetReport> read = m_project.reports;
    reload(bytes, report().name, &read);
    return true;
}

void DesignDocument::reload(const QByteArray &bytes, QString reportName, const QList<SheetReport> *readBefore)
{
    m_text = ProjectText(bytes);
    m_toUtf8WithMark = false;
    m_project = ReportProject();
    m_fileFault.clear();
    if (!bytes.isEmpty()) {
        try {
            m_project = parseReportProject(decodeProjectText(bytes), m_path);
        } catch (const SelvarError &fault) {
            m_fileFault = fault.message();
        }
    }
    if (readBefore)
        carryIdentities(*readBefore, &m_project.reports);
    m_undo.clear();
    m_entries.clear();
    m_current = -1;
    m_activeEntry = -1;
    for (int i = 0; i < m_project.reports.size(); ++i) {
        giveIdentities(&m_project.reports[i]);
        m_entries.append({m_project.reports[i], i, true});
        if (m_project.reports[i].name == reportName || (m_current < 0 && i == 0))
            m_current = i;
        if (m_project.reports[i].name.compare(m_project.activeReport, Qt::CaseInsensitive) == 0)
            m_activeEntry = i;
    }
    emit projectChanged();
    emit reportChanged();
}

QList<int> DesignDocument::rows() const
{
    QList<int> listed;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].listed)
            listed << i;
    }
    return listed;
}

const SheetReport &DesignDocument::report() const
{
    return hasReport() ? m_entries[m_current].report : noReport();
}

void DesignDocument::selectReport(int row)
{
    const QList<int> listed = rows();
    const int entry = row >= 0 && row < listed.size() ? listed[row] : -1;
    if (entry == m_current)
        return;
    m_current = entry;
    emit projectChanged();
    emit reportChanged();
}

void DesignDocument::giveIdentities(SheetReport *report)
{
    QSet<int> seen;
    for (CellElement &element : report->elements) {
        if (element.id == 0 || seen.contains(element.id))
            element.id = ++m_lastId;
        seen.insert(element.id);
    }
}

void DesignDocument::startNewReport(const SheetReport &report)
{
    Entry added{report, -1, false};
    for (CellElement &element : added.report.elements)
        element.line = 0;
    giveIdentities(&added.report);
    m_entries.append(added);
    added.listed = true;
    m_undo.push(new ReportEditCommand(this, int(m_entries.size()) - 1, m_entries.last(), added, QStringLiteral("Novo relatório"), 0));
}

bool DesignDocument::deleteReport(QString *reason)
{
    if (!hasReport())
        return false;
    if (m_current == m_activeEntry) {
        *reason = QStringLiteral("\"%1\" é o relatório ativo do projeto: escolha outro com \"Usar este relatório\" antes de excluí-lo.")
                      .arg(report().name);
        return false;
    }
    Entry gone = m_entries[m_current];
    gone.listed = false;
    m_undo.push(new ReportEditCommand(this, m_current, m_entries[m_current], gone, QStringLiteral("Excluir relatório"), 0));
    return true;
}

bool DesignDocument::makeActive(QString *reason)
{
    if (!hasReport() || m_current == m_activeEntry)
        return false;
    if (report().thermal) {
        *reason = QStringLiteral("Um relatório térmico não pode ser o ativo: o ativo imprime folhas, para os modelos que nenhum relatório lista.");
        return false;
    }
    m_undo.push(new ActiveReportCommand(this, m_activeEntry, m_current));
    return true;
}

void DesignDocument::setActiveEntry(int entry)
{
    m_activeEntry = entry;
    emit projectChanged();
    emit reportChanged();
}

void DesignDocument::edit(const SheetReport &after, const QString &text, int mergeKey)
{
    if (!hasReport())
        return;
    Entry changed = m_entries[m_current];
    changed.report = after;
    giveIdentities(&changed.report);
    m_undo.push(new ReportEditCommand(this, m_current, m_entries[m_current], changed, text, mergeKey));
}

void DesignDocument::editReports(const QList<std::pair<int, SheetReport>> &changes, const QString &text)
{
    const QList<int> listed = rows();
    const int inView = m_current;
    auto *step = new QUndoCommand(text);
    // The report in view last, so that it is the one in view after the step.
    QList<std::pair<int, SheetReport>> ordered = changes;
    std::stable_partition(ordered.begin(), ordered.end(), [&](const auto &change) { return listed.value(change.first, -1) != inView; });
    for (const auto &[row, report] : std::as_const(ordered)) {
        const int entry = listed.value(row, -1);
        if (entry < 0)
            continue;
        Entry changed = m_entries[entry];
        changed.report = report;
        giveIdentities(&changed.report);
        new ReportEditCommand(this, entry, m_entries[entry], changed, QString(), 0, step);
    }
    // The report in view stays in view, changed or not.
    if (inView >= 0 && listed.indexOf(inView) >= 0 &&
        std::none_of(changes.begin(), changes.end(), [&](const auto &change) { return listed.value(change.first, -1) == inView; }))
        new ReportEditCommand(this, inView, m_entries[inView], m_entries[inView], QString(), 0, step);
    m_undo.push(step);
}

void DesignDocument::setEntry(int entry, const Entry &state)
{
    const bool listChanged = m_entries[entry].listed != state.listed || m_entries[entry].report.name != state.report.name;
    m_entries[entry] = state;
    int current = m_current;
    if (state.listed) {
        current = entry;
    } else if (current == entry) {
        // The report gone from the list: the one before it in view, else the first.
        const QList<int> listed = rows();
        const auto before = std::find_if(listed.rbegin(), listed.rend(), [entry](int i) { return i < entry; });
        current = before != listed.rend() ? *before : listed.value(0, -1);
    }
    if (current != m_current || listChanged) {
        m_current = current;
        emit projectChanged();
    }
    emit reportChanged();
}

int DesignDocument::indexOfElement(int id) const
{
    const QList<CellElement> &elements = report().elements;
    for (int i = 0; i < elements.size(); ++i) {
        if (elements[i].id == id)
            return i;
    }
    return -1;
}

bool DesignDocument::edited(const Entry &entry) const
{
    if (entry.original < 0)
        return entry.listed;
    const SheetReport &original = m_project.reports[entry.original];
    return !entry.listed || entry.report.elements != original.elements || reportBlock(entry.report) != reportBlock(original);
}

QByteArray DesignDocument::compose(const QList<Entry> &entries) const
{
    return compose(entries, m_text, m_project);
}

QByteArray DesignDocument::compose(const QList<Entry> &entries, const ProjectText &base, const ReportProject &baseProject) const
{
    ProjectText text = m_toUtf8WithMark && base.encoding() != ProjectText::Encoding::Utf8Bom ? ProjectText(base.inUtf8WithMark()) : base;
    // 'ativo' follows the report it names (renamed, or another chosen); one
    // line replaced by one, so every block keeps its line numbers.
    const QString active = m_activeEntry >= 0 ? entries[m_activeEntry].report.name : m_project.activeReport;
    if (active != m_project.activeReport && baseProject.activeLine)
        text = ProjectText(setActiveReport(text, baseProject, active));
    // Each edited report's block as `base` has it (the file read, or the
    // file as another program left it since), found by the name it was read with.
    struct Change
    {
        const Entry *entry;
        const SheetReport *there;
    };
    QList<Change> changed;
    QList<const Entry *> appended;
    for (const Entry &entry : entries) {
        if (entry.original < 0 || !edited(entry)) {
            if (entry.original < 0 && entry.listed)
                appended << &entry;
            continue;
        }
        const SheetReport *there = baseProject.findReport(m_project.reports[entry.original].name);
        if (there)
            changed.append({&entry, there});
        else if (entry.listed)
            appended << &entry; // gone from the file meanwhile: it comes back at the end
    }
    // From the last block up: a block rewritten with more or fewer lines
    // leaves the line numbers of the blocks above it as they were read.
    std::sort(changed.begin(), changed.end(), [](const Change &a, const Change &b) { return a.there->line > b.there->line; });
    for (const Change &change : std::as_const(changed)) {
        const SheetReport &read = m_project.reports[change.entry->original];
        const SheetReport &there = *change.there;
        if (!change.entry->listed) {
            text = ProjectText(text.replaced(there.line, there.endLine, {}));
            continue;
        }
        bool sameBlock = there.endLine - there.line == read.endLine - read.line;
        for (int i = 0; sameBlock && i <= read.endLine - read.line; ++i)
            sameBlock = base.line(there.line + i) == m_text.line(read.line + i);
        if (!sameBlock) {
            // Changed on both sides: this window's report, whole.
            SheetReport fresh = change.entry->report;
            for (CellElement &element : fresh.elements)
                element.line = 0;
            text = ProjectText(text.replaced(there.line, there.endLine, reportBlock(fresh)));
            continue;
        }
        SheetReport shifted = change.entry->report;
        for (CellElement &element : shifted.elements) {
            if (element.line)
                element.line += there.line - read.line;
        }
        text = ProjectText(rewriteReport(text, there, shifted));
    }
    for (const Entry *entry : std::as_const(appended)) {
        if (text.bytes().isEmpty() && m_fileFault.isEmpty())
            text = ProjectText(newProjectBytes(entry->report));
        text = ProjectText(appendReport(text, entry->report));
    }
    return text.bytes();
}

QByteArray DesignDocument::composedBytes() const
{
    return compose(m_entries);
}

QByteArray DesignDocument::composedBytes(const SheetReport &candidate) const
{
    QList<Entry> entries = m_entries;
    if (hasReport())
        entries[m_current].report = candidate;
    return compose(entries);
}

QString DesignDocument::faultWith(const SheetReport &candidate) const
{
    try {
        parseReportProject(decodeProjectText(composedBytes(candidate)), m_path);
    } catch (const SelvarError &fault) {
        return fault.message();
    }
    return {};
}

QString DesignDocument::layoutFault() const
{
    return faultWith(report());
}

QString DesignDocument::faultOfChange(const SheetReport &candidate) const
{
    const QString fault = faultWith(candidate);
    return fault == layoutFault() ? QString() : fault;
}

bool DesignDocument::changedOnDisk() const
{
    bool ok = false;
    const QByteArray onDisk = readAll(m_path, &ok);
    if (!ok)
        return !m_text.bytes().isEmpty();
    return onDisk != m_text.bytes();
}

bool DesignDocument::writeBytes(const QString &path, const QByteArray &bytes, QString *message) const
{
    // Written aside and renamed when whole: a full disk leaves the old file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QFileInfo info(path);
        QString why;
        if (!info.dir().exists())
            why = QStringLiteral("a pasta \"%1\" não existe").arg(QDir::toNativeSeparators(info.absolutePath()));
        else if (!QFileInfo(info.absolutePath()).isWritable() || (info.exists() && !info.isWritable()))
            why = QStringLiteral("não há permissão para gravar ali");
        else
            why = QStringLiteral("o sistema recusou a gravação (disco cheio ou arquivo em uso?)");
        *message = QStringLiteral("Não foi possível gravar \"%1\": %2.").arg(path, why);
        return false;
    }
    return true;
}

QString DesignDocument::encodingFault() const
{
    if (m_text.encoding() != ProjectText::Encoding::Cp1252 || m_toUtf8WithMark)
        return {};
    // What the edits typed, every text a report holds; the rest of the file was read in this code page.
    QString typed;
    for (const int entry : rows()) {
        const SheetReport &report = m_entries[entry].report;
        typed += report.name + report.modelPrefixes.join(QString()) + report.connection;
        for (const CellElement &element : report.elements)
            typed += element.value + element.fontFamily + element.priceFormat;
    }
    QStringList missing;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QString character = typed[i].isHighSurrogate() && i + 1 < typed.size() ? typed.mid(i++, 2) : QString(typed[i]);
        if (fromCp1252(toCp1252(character)) != character && !missing.contains(character))
            missing << character;
    }
    if (missing.isEmpty())
        return {};
    return QStringLiteral("O arquivo \"%1\" está em Windows-1252, que não tem %2: %3. Troque esses caracteres, "
                          "ou grave o arquivo em UTF-8.")
        .arg(m_path, missing.size() == 1 ? QStringLiteral("o caractere") : QStringLiteral("os caracteres"),
             missing.join(QStringLiteral(" ")));
}

QString DesignDocument::saveFault() const
{
    const QString layout = layoutFault();
    return layout.isEmpty() ? encodingFault() : layout;
}

DesignDocument::SaveResult DesignDocument::save(bool overwrite, QString *message)
{
    QString ignored;
    if (!message)
        message = &ignored;
    const QByteArray bytes = composedBytes();
    if (const QString fault = saveFault(); !fault.isEmpty()) {
        *message = fault;
        return SaveResult::Refused;
    }
    if (!changedOnDisk())
        return writeChecked(m_path, bytes, message);
    if (!overwrite) {
        *message = QStringLiteral("O arquivo \"%1\" mudou desde que foi aberto.").arg(m_path);
        return SaveResult::ChangedOnDisk;
    }
    // Saved anyway: this window's edited blocks written into the file as it
    // is now; what the other program changed elsewhere stays.
    bool ok = false;
    const QByteArray onDisk = readAll(m_path, &ok);
    QByteArray merged = bytes;
    if (ok && !onDisk.isEmpty()) {
        try {
            const ReportProject there = parseReportProject(decodeProjectText(onDisk), m_path);
            merged = compose(m_entries, ProjectText(onDisk), there);
            parseReportProject(decodeProjectText(merged), m_path);
        } catch (const SelvarError &fault) {
            *message = QStringLiteral("O arquivo como está agora no disco não aceita as alterações: %1").arg(fault.message());
            return SaveResult::Refused;
        }
    }
    return writeChecked(m_path, merged, message);
}

DesignDocument::SaveResult DesignDocument::saveAs(const QString &path, QString *message)
{
    const QString fault = saveFault();
    if (!fault.isEmpty()) {
        if (message)
            *message = fault;
        return SaveResult::Refused;
    }
    return writeChecked(path, composedBytes(), message ? message : &m_lastMessage);
}

DesignDocument::SaveResult DesignDocument::writeChecked(const QString &path, const QByteArray &bytes, QString *message)
{
    if (const QString lost = unwrittenFault(bytes); !lost.isEmpty()) {
        *message = lost;
        return SaveResult::Refused;
    }
    if (!writeBytes(path, bytes, message))
        return SaveResult::Failed;
    m_path = path;
    takeSaved(bytes);
    return SaveResult::Saved;
}

bool DesignDocument::setProjectOffset(const QPointF &offset, QString *message)
{
    if (!m_fileFault.isEmpty() || m_project.reports.isEmpty() || isModified()) {
        *message = QStringLiteral("Grave as alterações do projeto antes de calibrar.");
        return false;
    }
    const QByteArray bytes = ::setProjectOffset(m_text, m_project, offset);
    try {
        parseReportProject(decodeProjectText(bytes), m_path);
    } catch (const SelvarError &fault) {
        *message = fault.message();
        return false;
    }
    if (changedOnDisk()) {
        *message = QStringLiteral("O arquivo \"%1\" mudou desde que foi aberto.").arg(m_path);
        return false;
    }
    if (!writeBytes(m_path, bytes, message))
        return false;
    takeSaved(bytes);
    return true;
}

QString DesignDocument::unwrittenFault(const QByteArray &bytes) const
{
    ReportProject written;
    try {
        written = parseReportProject(decodeProjectText(bytes), m_path);
    } catch (const SelvarError &fault) {
        return fault.message();
    }
    // The reports this window did not change are the file's as it is, which
    // another program may have changed since ("Salvar mesmo assim").
    for (const int entry : rows()) {
        if (!edited(m_entries[entry]))
            continue;
        const SheetReport &shown = m_entries[entry].report;
        const SheetReport *there = written.findReport(shown.name);
        const QString lost = there ? writtenDifference(shown, *there) : QStringLiteral("o relatório ficaria fora do arquivo");
        if (!lost.isEmpty()) {
            return QStringLiteral("O arquivo não guardaria o relatório \"%1\" como o editor o mostra: %2. "
                                  "As alterações continuam aqui.")
                .arg(shown.name, lost);
        }
    }
    return {};
}

namespace {

// Every step of the history that holds a report's states, the steps of a
// step made of several included.
void forEachReportStep(const QUndoCommand *step, const std::function<void(ReportEditCommand *)> &visit)
{
    // The stack hands its steps out read-only; these are the document's own.
    if (auto *edit = dynamic_cast<ReportEditCommand *>(const_cast<QUndoCommand *>(step)))
        visit(edit);
    for (int i = 0; i < step->childCount(); ++i)
        forEachReportStep(step->child(i), visit);
}

} // namespace

void DesignDocument::takeSaved(const QByteArray &bytes)
{
    m_text = ProjectText(bytes);
    m_toUtf8WithMark = false;
    m_fileFault.clear();
    m_project = parseReportProject(decodeProjectText(bytes), m_path); // read back before it was written
    // Each listed report is its block of the file now, with the values as
    // the file holds them and its elements' identities; a deleted one is no
    // longer in the file, so undoing its deletion brings it back as new.
    QList<QHash<int, int>> lines(m_entries.size()); // by entry: element identity → its line now
    QList<bool> listed(m_project.reports.size(), false);
    for (int i = 0; i < m_entries.size(); ++i) {
        Entry &entry = m_entries[i];
        const SheetReport *saved = entry.listed ? m_project.findReport(entry.report.name) : nullptr;
        entry.original = saved ? int(saved - m_project.reports.constData()) : -1;
        if (!saved)
            continue;
        SheetReport fresh = *saved;
        // Element by element as shown (always so for a report this window
        // wrote), the elements are who they were; a block another program
        // changed meanwhile is elements new to the history.
        if (writtenDifference(entry.report, fresh).isEmpty()) {
            for (int e = 0; e < fresh.elements.size(); ++e)
                fresh.elements[e].id = entry.report.elements[e].id;
        }
        giveIdentities(&fresh);
        for (const CellElement &element : std::as_const(fresh.elements))
            lines[i].insert(element.id, element.line);
        entry.report = fresh;
        m_project.reports[entry.original] = fresh;
        listed[entry.original] = true;
    }
    // Saved anyway over another program's changes: its new reports join the list.
    for (int r = 0; r < m_project.reports.size(); ++r) {
        if (listed[r])
            continue;
        giveIdentities(&m_project.reports[r]);
        m_entries.append({m_project.reports[r], r, true});
        lines.append(QHash<int, int>());
    }
    m_activeEntry = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].listed && m_entries[i].report.name.compare(m_project.activeReport, Qt::CaseInsensitive) == 0)
            m_activeEntry = i;
    }
    const auto fit = [&](int entry, Entry *state) {
        state->original = m_entries[entry].original;
        state->report.line = m_entries[entry].report.line;
        state->report.endLine = m_entries[entry].report.endLine;
        for (CellElement &element : state->report.elements)
            element.line = lines[entry].value(element.id, 0);
    };
    for (int i = 0; i < m_undo.count(); ++i)
        forEachReportStep(m_undo.command(i), [&](ReportEditCommand *step) { step->rebase(fit); });
    m_undo.setClean();
    emit projectChanged();
    emit reportChanged();
}
