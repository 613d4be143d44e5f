#pragma once

class QWidget;

// Ctrl+Z and Ctrl+Y typed in one of `panel`'s boxes. A box whose value has
// been committed (Tab, Enter, or shown from the document) has nothing of its
// own left to undo: the keys go on to the window's Desfazer and Refazer, so
// the committed value undoes through the document as every other edit does.
// While a value is being typed, they undo and redo the typing in the box.
void passCommittedUndoToDocument(QWidget *panel);
