#pragma once

#include <QString>

// Recording a printed job of 10,000 labels over 1,000 products in the print
// history of `database` (a DataBase text), as the end of a print does: the
// best of five, in milliseconds.
qint64 timeHistoryRecord10000(const QString &database);
