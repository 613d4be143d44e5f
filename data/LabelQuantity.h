#pragma once

#include <QtGlobal>

class Decimal;
class QVariant;

// How many labels a quantity typed into "Qtde." (QDE) asks for. The print,
// its history, the totals under the grid, "Preços alterados" and "Repetir"
// all count with this, so none of them can tell the clerk a number the
// printer will not print.
namespace LabelQuantity {

// Rounded to the nearest whole label, halves to the even one (2.5 gives 2,
// 3.5 gives 4); a quantity that rounds to zero or below asks for none.
qint64 labels(const Decimal &quantity);
// The same for a value of the list; empty, or not a decimal, asks for none.
qint64 labels(const QVariant &quantity);

} // namespace LabelQuantity
