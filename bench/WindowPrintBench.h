#pragma once

class QTextStream;

// The window's longest stall while "Etiquetas com preços" puts out a thermal
// job of 10,000 labels, from the click to its last command file written and
// every file handed over. Prints its lines; false when the window did not start.
bool benchThermalJobWindow(QTextStream &out);

// The window's longest stall while the list is shown with 20 jobs of 1,000
// labels with a logo left on their records, each stopped after its first
// file: the first look of a program started again, and the next ones.
bool benchJournalScanWindow(QTextStream &out);

// The window's longest stall while a quantity is typed with the server gone
// silent (its connections dropped, new ones never answered), held so for a
// few seconds. Skips, saying so, where no Firebird server can be run.
bool benchSilentServerWindow(QTextStream &out);
