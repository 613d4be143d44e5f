#pragma once

#include "ProjectText.h"
#include "ReportProject.h"

#include <QObject>
#include <QUndoStack>

// The designer's document: one project file as it lies on disk and every
// report of it as edited, the file's reports first, then new ones. One undo
// history runs across all of them (each step names the report it changed and
// brings it back into view), so choosing another report loses nothing, and
// it outlives a save, so a saved edit still undoes;
// saving writes each edited report's block into the file's own bytes, in
// place, and nothing else.
class DesignDocument : public QObject
{
    Q_OBJECT
public:
    // One report of the list as edited; `listed` false once deleted (kept,
    // so that undo can bring it back with its place).
    struct Entry
    {
        SheetReport report;
        int original = -1; // its index in the project as read, -1 for a new one
        bool listed = true;
    };

    explicit DesignDocument(QObject *parent = nullptr);
    ~DesignDocument() override;

    // Reads `path` (a native path). A project with a fault still opens, with
    // the fault and no reports; a missing file opens empty, to be created by
    // the first new report. False, with `error`, when the file cannot be read.
    bool open(const QString &path, QString *error = nullptr);

    // The file read again from disk: this window's edits are gone (take them
    // first with pendingEdits to make them again); the elements the file still
    // has keep their identities. False, with `error`, when it cannot be read.
    bool reloadFromDisk(QString *error);

    const QString &path() const { return m_path; }
    const ProjectText &text() const { return m_text; }
    const ReportProject &project() const { return m_project; }
    const QString &fileFault() const { return m_fileFault; }

    // The reports as the list shows them (deleted ones left out), by row.
    int reportCount() const { return int(rows().size()); }
    const SheetReport &reportAt(int row) const { return m_entries[rows()[row]].report; }
    bool isNewReportAt(int row) const { return m_entries[rows()[row]].original < 0; }
    bool isEditedAt(int row) const { return edited(m_entries[rows()[row]]); }

    // The row of the report being edited: -1 for none.
    int currentIndex() const { return int(rows().indexOf(m_current)); }
    bool hasReport() const { return m_current >= 0; }
    bool isNewReport() const { return hasReport() && m_entries[m_current].original < 0; }
    // Another report into view; every report keeps its edits and the undo history stays.
    void selectReport(int row);
    const SheetReport &report() const;

    // A new report at the end of the list, in view: one undo step.
    void startNewReport(const SheetReport &report);
    // The report in view taken out of the list (its block out of the file
    // at the next save): one undo step. False with the reason when it is the
    // project's active report, which the project cannot be without.
    bool deleteReport(QString *reason);
    // The report in view made the project's 'ativo' one: one undo step.
    // False with the reason for a thermal report, which cannot be.
    bool makeActive(QString *reason);
    // The row of the project's active report; -1 when none.
    int activeRow() const { return int(rows().indexOf(m_activeEntry)); }
    void setActiveEntry(int entry); // the undo step's own

    // Replaces the report being edited, as one undo step named `text`; steps
    // with the same non-zero `mergeKey` in a row (one drag) undo as one.
    // Elements without an identity (new, pasted) are given one.
    void edit(const SheetReport &after, const QString &text, int mergeKey = 0);
    // Several reports changed as one undo step (by row): the report in view stays.
    void editReports(const QList<std::pair<int, SheetReport>> &changes, const QString &text);
    // An entry as it is, without an undo step (the undo commands); a listed
    // one comes into view.
    void setEntry(int entry, const Entry &state);
    const Entry &entry(int entry) const { return m_entries[entry]; }
    int entryCount() const { return int(m_entries.size()); }
    int currentEntry() const { return m_current; }

    // The index in the report being edited of the element `id`; -1 when gone.
    int indexOfElement(int id) const;

    QUndoStack *undoStack() { return &m_undo; }
    bool isModified() const { return !m_undo.isClean(); }

    // The file with every edited report written in, each in its own block
    // (a new one at the end); when a report the project names 'ativo' is
    // renamed, that line follows the name.
    QByteArray composedBytes() const;
    // The same with `candidate` in place of the report being edited.
    QByteArray composedBytes(const SheetReport &candidate) const;
    // The fault the parser finds in the composed file; empty when it takes it.
    QString layoutFault() const;
    QString faultWith(const SheetReport &candidate) const;
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
    // disk is not written unless `overwrite` (ChangedOnDisk), and then only
    // the blocks this window edited go into the file as it is now.
    // A file that would not read back as the reports show (an element the
    // writer could not place) is not written either (Refused): the edits stay.
    // Saved, the undo history stays, and undoing past the save marks the
    // document modified again.
    SaveResult save(bool overwrite, QString *message);
    // The composed file written to `path` (a native path), which the
    // document then is: "Salvar como…".
    SaveResult saveAs(const QString &path, QString *message);

    // The characters typed that the file's code page cannot hold, said; empty when none.
    QString encodingFault() const;
    // The next save writes the whole file in UTF-8 with its byte-order mark,
    // which holds every character; the file stays so afterwards.
    void switchToUtf8WithMark() { m_toUtf8WithMark = true; }

signals:
    void reportChanged();   // the report in view changed (an edit, undo, redo, another report)
    void projectChanged();  // another project, report or list of reports, or the file was saved

private:
    QList<int> rows() const;
    // Why the composed file may not be written (the parser's fault, then the encoding's); empty when it may.
    QString saveFault() const;
    bool edited(const Entry &entry) const;
    QByteArray compose(const QList<Entry> &entries) const;
    // The edited reports written into `base` (another version of the file).
    QByteArray compose(const QList<Entry> &entries, const ProjectText &base, const ReportProject &baseProject) const;
    void giveIdentities(SheetReport *report);
    bool writeBytes(const QString &path, const QByteArray &bytes, QString *message) const;
    // `readBefore`: the reports as read before, whose elements lend their identities.
    // `reportName` by value: callers pass the name of a report this clears.
    void reload(const QByteArray &bytes, QString reportName, const QList<SheetReport> *readBefore = nullptr);
    // `bytes` written to `path` if they read back as the edited reports show
    // (else Refused, nothing written); the document is then that file.
    SaveResult writeChecked(const QString &path, const QByteArray &bytes, QString *message);
    // Why `bytes` would not read back as every edited report shows now; empty when they would.
    QString unwrittenFault(const QByteArray &bytes) const;
    // `bytes`, just written, is the file now: every report and element keeps
    // who it is and the undo history stays, its steps naming the lines the
    // file has now.
    void takeSaved(const QByteArray &bytes);

    QString m_path;
    ProjectText m_text;
    ReportProject m_project;
    QString m_fileFault;
    QList<Entry> m_entries;
    int m_current = -1;
    int m_activeEntry = -1;
    int m_lastId = 0;
    bool m_toUtf8WithMark = false;
    QString m_lastMessage; // where a message nobody asked for goes
    QUndoStack m_undo;
};
