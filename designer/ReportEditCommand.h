#pragma once

#include "ReportProject.h"

#include <QUndoCommand>

class DesignDocument;

// One change of the report being edited, kept as the report before and after:
// moving, resizing, a property, an element added or removed. Steps of one
// drag share a merge key and undo as one.
class ReportEditCommand : public QUndoCommand
{
public:
    ReportEditCommand(DesignDocument *document, const SheetReport &before, const SheetReport &after, const QString &text,
                      int mergeKey);

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeKey ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    DesignDocument *m_document;
    SheetReport m_before;
    SheetReport m_after;
    int m_mergeKey;
};
