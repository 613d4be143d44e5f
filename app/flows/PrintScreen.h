#pragma once

#include <QString>

enum class OutputKind;
struct PrintJob;

// What the print needs of the window: its controls, the lines it shows, the
// waiting and progress panels, and the steps that belong to the list, the
// history and the hand-over, which the window passes on to their owners.
class PrintScreen
{
public:
    virtual ~PrintScreen() = default;

    // Everything that could start other work, off while a print runs; "Cancelar" stays.
    virtual void setPrintControlsEnabled(bool enabled) = 0;
    // "Cancelar" or Escape since the print started.
    virtual bool jobCancelRequested() const = 0;
    // Stores what is typed in the grid; false, with the message shown, when it cannot be stored.
    virtual bool postListEdit() = 0;

    virtual void showPrintLine(const QString &text) = 0;
    virtual QString startLabelText() const = 0;
    virtual void setStartLabelText(const QString &text) = 0;
    virtual QString modelDescription() const = 0;
    virtual void focusGridQuantity() = 0;
    // After a print: the search box the clerk last used, else the grid's "Qtde.".
    virtual void focusAfterPrint() = 0;

    virtual void waitingInLine(const QString &text, int seconds) = 0;
    virtual void waitShowing(const QString &text) = 0;
    virtual void waitEnded() = 0;

    virtual void progressBegin(int steps) = 0;
    virtual void progressAt(const QString &product, int rowsDone) = 0;
    virtual void progressEnd() = 0;

    // The job is in TABREV2 under the model with this description.
    virtual void jobWritten(const QString &modelDescription) = 0;
    // What the output did, for the print line's end.
    virtual QString afterOutput(OutputKind output) = 0;
    // A thermal job for the printer, sent in the background.
    virtual void handOver(PrintJob job) = 0;
};
