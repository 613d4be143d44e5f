#pragma once

#include <QString>

// The selects of the product list. TabRev1 keeps the last one set until another
// is, so the order a build or a search chooses is the order of every later
// reading of the list: the reopen, the grid, printing.
namespace ListStatements {

// "Select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by <orderBy>"
QString tabRev1OrderedBy(const QString &orderBy);

// The resale products the list is built from, by name then code.
QString resaleComponents();

} // namespace ListStatements
