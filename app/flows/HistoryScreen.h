#pragma once

#include <QString>

class HistoryWork;

// What the history actions ("Preços alterados", "Histórico", "Repetir")
// need of the window: the print line, the grid, the panel over the list
// while the history works, and the history window. The window implements it
// on its widgets; a test records it.
class HistoryScreen
{
public:
    virtual ~HistoryScreen() = default;

    virtual void showPrintLine(const QString &text) = 0;
    virtual QString printLine() const = 0;
    virtual void focusGridQuantity() = 0;
    virtual QString startLabelText() const = 0; // "Etiq. Inicial"
    // The panel over the list, with "Cancelar", while the history works.
    virtual void waitShowing(const QString &text) = 0;
    virtual void waitEnded() = 0;
    // While the history writes the list's quantities the list stays open for
    // typing, but it cannot be closed, printed or switched to another model.
    virtual void holdListOpen(bool hold) = 0;

    // Stores what is typed in the grid; false, with the message shown, when it cannot be.
    virtual bool postListEdit() = 0;
    virtual void updateListTotals() = 0;
    // A list build or a print is under way, or waits its turn.
    virtual bool jobRunning() const = 0;
    virtual bool mainActionsEnabled() const = 0;

    // "Histórico de etiquetas": the job "Repetir" chose, 0 when none was.
    virtual qint64 chooseHistoryJob(HistoryWork &work, const QString &database) = 0;
};
