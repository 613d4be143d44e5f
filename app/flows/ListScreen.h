#pragma once

#include "ProductSearch.h"

#include <QString>

// What the list flow shows and asks of the window: the list panel, its lines,
// the grid's focus and open editor, the build's log and loading bar, the
// waiting panel. The window implements each with a line or two on its widgets.
class ListScreen
{
public:
    virtual ~ListScreen() = default;

    // The list panel fills the main panel, the grid refreshed and focused.
    virtual void showListPanel() = 0;
    virtual void hideListPanel() = 0;
    virtual bool listPanelShown() const = 0;

    // The line under the search boxes, and the print line under the grid.
    virtual void showSearchLine(const QString &text) = 0;
    virtual void showPrintLine(const QString &text) = 0;
    // "17 etiquetas em 6 produtos" under the list.
    virtual void showTotals(const QString &text) = 0;
    virtual QString searchText(ProductSearch::Column column) const = 0;

    // The grid on the current row's "Qtde.", focused.
    virtual void focusGridQuantity() = 0;
    // An open cell editor hands its text to the list; false when the column
    // refuses it (the message shown, the editor kept for mending).
    virtual bool commitGridEdit() = 0;

    // The main panel's actions, and "Cancelar" with Escape, while a build runs.
    virtual bool mainActionsEnabled() const = 0;
    virtual void setMainActionsEnabled(bool enabled) = 0;
    virtual void setJobRunning(bool running) = 0;
    virtual void loadingBegin(int maximum) = 0;
    virtual void loadingSetValue(int value) = 0;
    virtual void loadingEnd() = 0;
    // The build log in mmo1, paced so the window keeps answering.
    virtual void buildLogClear() = 0;
    virtual void buildLogAppend(const QString &lines) = 0;
    virtual void buildLogFlush() = 0;

    // The panel over the list while the station waits its turn for the lock.
    virtual void waitingInLine(const QString &text, int seconds) = 0;
    virtual void waitEnded() = 0;
};
