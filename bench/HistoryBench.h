#pragma once

#include <QString>

// Recording a printed job of 10,000 labels over 1,000 products in the print
// history of `database` (a DataBase text), as the end of a print does: the
// best of five, in milliseconds.
qint64 timeHistoryRecord10000(const QString &database);

class QTextStream;

// The window's longest stall, and how long the clerk waits for the result,
// while the window does the history's work on 10,000 products with 1,000
// jobs printed: "Preços alterados", "Histórico" opened over 10,000 jobs, and
// "Repetir" of a job. Prints its lines; false when the window did not start.
bool benchHistoryWindow(QTextStream &out);

// The window's longest stall while a print's history is recorded: a sheet job
// of 10,000 labels over 3,000 products, the same as a thermal job brought up
// to its last file, and one pass removing 1,000 old jobs. `selvar-bench
// history` runs these alone.
bool benchHistoryRecording(QTextStream &out);
