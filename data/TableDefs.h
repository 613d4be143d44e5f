#pragma once

#include "FieldDef.h"

#include <QString>

// The declared columns of every table the program reads or writes, and the
// column lists from which the run-time selects are built.
namespace TableDefs {

FieldDefs tabRev();    // TABREV1 and TABREV2
FieldDefs etiqPar();
FieldDefs etiqCorr();
FieldDefs estacoes();
FieldDefs componen();
FieldDefs usuarios();
FieldDefs compras();
FieldDefs periodo();

// "A, B, C" of the declared columns, in order.
QString columnList(const FieldDefs &defs);

} // namespace TableDefs
