#pragma once

#include "ProjectText.h"
#include "ReportProject.h"

#include <QObject>
#include <QUndoStack>

#include <optional>

// The designer's document: one project file as it lies on disk, and one of
// its reports being edited. Every change goes through the undo stack as a
// whole-report step (a report is a few dozen values); saving writes the
// edited report's block into the file's own bytes and nothing else.
class DesignDocument : public QObject
{
    Q_OBJECT
public:
    explicit DesignDocument(QObject *parent = nullptr);

    // Reads `path` (a native path). A project with a fault still opens, with
    // the fault and no reports; a missing file opens empty, to be created by
    // the first new report. False, with `error`, when the file cannot be read.
    bool open(const QString &path, QString *error = nullptr);

    const QString &path() const { return m_path; }
    const ProjectText &text() const { return m_text; }
    const ReportProject &project() const { return m_project; }
    const QString &fileFault() const { return m_fileFault; }

    // The report being edited: -1 for none, or the index of a report of the
    // project; a new report not saved yet comes after the project's.
    int currentIndex() const { return m_current; }
    bool hasReport() const { return m_current >= 0; }
    bool isNewReport() const { return m_current >= 0 && m_current >= m_project.reports.size(); }
    void selectReport(int index); // drops unsaved changes and the undo history
    const SheetReport &report() const { return m_report; }

    // Starts a new report (not in the file until saved).
    void startNewReport(const SheetReport &report);

    // Replaces the report being edited, as one undo step named `text`; steps
    // with the same non-zero `mergeKey` in a row (one drag) undo as one.
    void edit(const SheetReport &after, const QString &text, int mergeKey = 0);
    // The report as it is, without an undo step (the undo commands).
    void setReport(const SheetReport &report);

    QUndoStack *undoStack() { return &m_undo; }
    bool isModified() const { return !m_undo.isClean() || isNewReport(); }

    // The file with the edited report written in; when the report being
    // renamed is the project's active one, its 'ativo' line follows the name.
    QByteArray composedBytes() const { return composedBytes(m_report); }
    QByteArray composedBytes(const SheetReport &report) const;
    // The fault the parser finds in the composed file; empty when it takes it.
    QString layoutFault() const { return faultWith(m_report); }
    QString faultWith(const SheetReport &report) const;
    // The fault `candidate` would bring that the report does not already
    // have; empty when the parser takes the change (the report's settings).
    QString faultOfChange(const SheetReport &candidate) const;

    // The project's calibration written into the file at once (and nothing
    // else of it): false with the fault when the parser would refuse it.
    bool setProjectOffset(const QPointF &offset, QString *message);

    // Whether the file on disk is no longer what was read (or last saved).
    bool changedOnDisk() const;

    enum class SaveResult { Saved, Refused, ChangedOnDisk, Failed };
    // Writes the composed file, whole, over the old one. A layout the parser
    // refuses is not written (Refused, with its fault); a file changed on
    // disk is not overwritten unless `overwrite` (ChangedOnDisk).
    SaveResult save(bool overwrite, QString *message);

signals:
    void reportChanged();   // the report being edited changed (an edit, undo, redo)
    void projectChanged();  // another project, another report, or the file was saved

private:
    bool writeBytes(const QByteArray &bytes, QString *message);
    void reload(const QByteArray &bytes, QString reportName);

    QString m_path;
    ProjectText m_text;
    ReportProject m_project;
    QString m_fileFault;
    int m_current = -1;
    SheetReport m_report;
    QUndoStack m_undo;
};
