#include "DesignDocument.h"

#include "ProjectError.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ProjectWriter.h"
#include "ReportEditCommand.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

} // namespace

DesignDocument::DesignDocument(QObject *parent) : QObject(parent)
{
    connect(&m_undo, &QUndoStack::cleanChanged, this, &DesignDocument::reportChanged);
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

void DesignDocument::reload(const QByteArray &bytes, QString reportName)
{
    m_text = ProjectText(bytes);
    m_project = ReportProject();
    m_fileFault.clear();
    if (!bytes.isEmpty()) {
        try {
            m_project = parseReportProject(decodeProjectText(bytes), m_path);
        } catch (const SelvarError &fault) {
            m_fileFault = fault.message();
        }
    }
    m_undo.clear();
    m_current = -1;
    m_report = SheetReport();
    for (int i = 0; i < m_project.reports.size(); ++i) {
        if (m_project.reports[i].name == reportName || (reportName.isEmpty() && i == 0)) {
            m_current = i;
            m_report = m_project.reports[i];
        }
    }
    emit projectChanged();
    emit reportChanged();
}

void DesignDocument::selectReport(int index)
{
    m_undo.clear();
    m_current = index >= 0 && index < m_project.reports.size() ? index : -1;
    m_report = m_current >= 0 ? m_project.reports[m_current] : SheetReport();
    emit projectChanged();
    emit reportChanged();
}

void DesignDocument::startNewReport(const SheetReport &report)
{
    m_undo.clear();
    m_current = int(m_project.reports.size());
    m_report = report;
    for (CellElement &element : m_report.elements)
        element.line = 0;
    emit projectChanged();
    emit reportChanged();
}

void DesignDocument::edit(const SheetReport &after, const QString &text, int mergeKey)
{
    if (!hasReport())
        return;
    m_undo.push(new ReportEditCommand(this, m_report, after, text, mergeKey));
}

void DesignDocument::setReport(const SheetReport &report)
{
    m_report = report;
    emit reportChanged();
}

QByteArray DesignDocument::composedBytes(const SheetReport &report) const
{
    if (!hasReport())
        return m_text.bytes();
    if (isNewReport()) {
        if (m_project.reports.isEmpty() && m_fileFault.isEmpty())
            return appendReport(ProjectText(m_text.bytes().isEmpty() ? newProjectBytes(report) : m_text.bytes()), report);
        return appendReport(m_text, report);
    }
    const SheetReport &original = m_project.reports[m_current];
    // 'ativo' is one line replaced by one, so the block keeps its line numbers.
    if (report.name != original.name && m_project.activeReport == original.name && m_project.activeLine)
        return rewriteReport(ProjectText(setActiveReport(m_text, m_project, report.name)), original, report);
    return rewriteReport(m_text, original, report);
}

QString DesignDocument::faultWith(const SheetReport &report) const
{
    try {
        parseReportProject(decodeProjectText(composedBytes(report)), m_path);
    } catch (const SelvarError &fault) {
        return fault.message();
    }
    return {};
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

bool DesignDocument::writeBytes(const QByteArray &bytes, QString *message)
{
    // Written aside and renamed when whole: a full disk leaves the old file as it was.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *message = QStringLiteral("Não foi possível gravar \"%1\": %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}

DesignDocument::SaveResult DesignDocument::save(bool overwrite, QString *message)
{
    QString ignored;
    if (!message)
        message = &ignored;
    const QByteArray bytes = composedBytes();
    const QString fault = layoutFault();
    if (!fault.isEmpty()) {
        *message = fault;
        return SaveResult::Refused;
    }
    if (!overwrite && changedOnDisk()) {
        *message = QStringLiteral("O arquivo \"%1\" mudou desde que foi aberto.").arg(m_path);
        return SaveResult::ChangedOnDisk;
    }
    if (!writeBytes(bytes, message))
        return SaveResult::Failed;
    reload(bytes, m_report.name);
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
    if (!writeBytes(bytes, message))
        return false;
    reload(bytes, m_report.name);
    return true;
}
