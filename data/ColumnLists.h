#pragma once

#include <QString>

// The column lists from which the run-time selects are built; the main window
// sets them when it is created.
extern QString EtiqParColumns;
extern QString TabRevColumns;
extern QString ComponenColumns;

void setColumnLists();
