#pragma once

#include "DesignDocument.h"

#include <QUndoCommand>

#include <functional>

// One change of one report of the document, kept as the report before and
// after (moving, resizing, a property, an element added or removed, the
// report made or deleted). It names the report by its entry, which keeps its
// place whatever else is added or deleted, so undoing it after choosing
// another report changes the right one and brings it into view. Steps of one
// drag share a merge key and undo as one.
class ReportEditCommand : public QUndoCommand
{
public:
    ReportEditCommand(DesignDocument *document, int entry, const DesignDocument::Entry &before, const DesignDocument::Entry &after,
                      const QString &text, int mergeKey, QUndoCommand *parent = nullptr);

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeKey ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override;

    // Both states of this step made to fit the file as saved since: `fit`
    // gets the entry and a state of it.
    void rebase(const std::function<void(int entry, DesignDocument::Entry *state)> &fit);

private:
    DesignDocument *m_document;
    int m_entry;
    DesignDocument::Entry m_before;
    DesignDocument::Entry m_after;
    int m_mergeKey;
};
