#pragma once

#include "ReportProject.h"

#include <QList>
#include <QStringList>

class DesignDocument;

// A window's unsaved work told as edits that can be made again on another
// version of the file: each names its report by the name it was read with
// and its element by the element's identity, so a reload that brings the
// other program's changes can have this window's edits put back on top.
struct PendingEdit
{
    enum class Kind { ElementChanged, ElementAdded, ElementRemoved, ReportSettings, ReportAdded, ReportRemoved };

    Kind kind = Kind::ElementChanged;
    QString report;              // as read (ReportAdded: its own name)
    int elementId = 0;
    CellElement element;         // the element as this window left it
    QStringList properties;      // ElementChanged: which of its properties (by their keys)
    SheetReport edited;          // ReportSettings, ReportAdded: the report as this window left it

    // In Portuguese, one line for the list shown to the user.
    QString description() const;
};

// What the document holds unsaved, against the file as it was read.
QList<PendingEdit> pendingEdits(const DesignDocument &document);

// The edits made on the document (the file as it is now): the element
// changes as one undo step, then new and removed reports. Returns the
// descriptions of those that no longer apply, each with why.
QStringList applyPendingEdits(DesignDocument *document, const QList<PendingEdit> &edits);

// The elements of `after` that are those of `before` (the same report as read
// earlier, by name) take their identities: the same in every property first,
// then the same kind and content in order. The rest keep 0, to be given new ones.
void carryIdentities(const QList<SheetReport> &before, QList<SheetReport> *after);
