#include "CommittedUndo.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool isUndoOrRedo(const QKeyEvent *key)
{
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

// Watches the boxes; a box's own line edit tells whether anything is typed
// and not yet committed.
class CommittedUndoFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !isUndoOrRedo(static_cast<QKeyEvent *>(event)))
            return false;
        auto *edit = qobject_cast<QLineEdit *>(watched);
        if (!edit)
            edit = watched->findChild<QLineEdit *>();
        if (!edit || edit->isModified())
            return false;
        // Not taken by the box: the window's shortcut gets the keys.
        event->ignore();
        return true;
    }
};

} // namespace

void passCommittedUndoToDocument(QWidget *panel)
{
    auto *filter = new CommittedUndoFilter(panel);
    for (QLineEdit *edit : panel->findChildren<QLineEdit *>()) {
        edit->installEventFilter(filter);
        // A spin box or an editable combo box holds the focus for its line edit.
        QWidget *owner = edit->parentWidget();
        if (qobject_cast<QAbstractSpinBox *>(owner) || qobject_cast<QComboBox *>(owner))
            owner->installEventFilter(filter);
        // What was typed is committed once the box is left or Enter pressed.
        QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit] { edit->setModified(false); });
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(edit->parentWidget()))
            QObject::connect(spin, &QAbstractSpinBox::editingFinished, edit, [edit] { edit->setModified(false); });
    }
}
