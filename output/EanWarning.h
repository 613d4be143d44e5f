#pragma once

#include <QString>

class ClientDataSet;

// Before a print: the products that will get labels and whose EAN number would
// not print as stored. The outputs draw what they always drew; the user is told
// first, and chooses.
namespace EanWarning {

// At most this many products are named; the rest are counted.
inline constexpr int NamesListed = 20;

// The question for the list's rows with a quantity that prints a label, or the
// empty text when all their numbers are sound. The cursor does not move.
QString question(ClientDataSet &list);

// Asks the question when there is one: true when printing goes on.
bool confirmPrint(ClientDataSet &list);

} // namespace EanWarning
