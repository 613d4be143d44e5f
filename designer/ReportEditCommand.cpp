#include "ReportEditCommand.h"

ReportEditCommand::ReportEditCommand(DesignDocument *document, int entry, const DesignDocument::Entry &before,
                                     const DesignDocument::Entry &after, const QString &text, int mergeKey, QUndoCommand *parent)
    : QUndoCommand(text, parent), m_document(document), m_entry(entry), m_before(before), m_after(after), m_mergeKey(mergeKey)
{
}

void ReportEditCommand::undo()
{
    m_document->setEntry(m_entry, m_before);
}

void ReportEditCommand::redo()
{
    m_document->setEntry(m_entry, m_after);
}

bool ReportEditCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const ReportEditCommand *>(other);
    if (next->m_mergeKey != m_mergeKey || next->m_entry != m_entry)
        return false;
    m_after = next->m_after;
    return true;
}

void ReportEditCommand::rebase(const std::function<void(int entry, DesignDocument::Entry *state)> &fit)
{
    fit(m_entry, &m_before);
    fit(m_entry, &m_after);
}
