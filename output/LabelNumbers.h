#pragma once

#include <QString>

// The CODIGO texts of the label job table TABREV2.
//
// A label row carries its running number, "000001" onward. A skipped position
// (a label already used on the stock) carries no number the user sees, but
// CODIGO is the table's key and a job may hold several of them, so each gets
// a code of its own: a minus sign before its position numbered like the
// labels, "-000001" onward. The sign keeps every such code unlike any label
// number and, sorting before the digits, keeps skipped positions first in
// CODIGO order, as they come first on the stock.
namespace LabelNumbers {

// 1 -> "000001", 1000000 -> "1000000": at least six digits.
QString labelNumber(qint64 number);

// 1 -> "-000001": the position among the skipped ones.
QString skippedPositionCode(qint64 position);

// True for the CODIGO of a skipped position; an output that shows CODIGO shows it empty.
bool isSkippedPosition(const QString &codigo);

// The "order by" terms that read a job back in the order it was written:
// skipped positions first, then by number. A longer number is a larger one,
// since every number has at least six digits and no sign.
QString readBackOrder();

} // namespace LabelNumbers
