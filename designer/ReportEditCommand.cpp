#include "ReportEditCommand.h"

#include "DesignDocument.h"

ReportEditCommand::ReportEditCommand(DesignDocument *document, const SheetReport &before, const SheetReport &after,
                                     const QString &text, int mergeKey)
    : QUndoCommand(text), m_document(document), m_before(before), m_after(after), m_mergeKey(mergeKey)
{
}

void ReportEditCommand::undo()
{
    m_document->setReport(m_before);
}

void ReportEditCommand::redo()
{
    m_document->setReport(m_after);
}

bool ReportEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const ReportEditCommand *>(other);
    if (next->m_mergeKey != m_mergeKey)
        return false;
    m_after = next->m_after;
    return true;
}
