#pragma once

#include "FieldDef.h"

#include <QString>

// The driver hands a NUMERIC over through a double, which carries 15 digits; a
// decimal(15,8) holds up to 19. So the select a data set sends reads each of its
// decimal columns as the database's own text of the value, under a name of its own
// (an "order by" naming the column still sorts by the number).
namespace ExactSelect {

// "Select CODIGO, QDE from TABREV1 order by QDE" ->
// "Select CODIGO, cast(QDE as varchar(32)) as QDE$EXATO from TABREV1 order by QDE".
// Only columns named as they are in the select list are read so; anything else
// (an expression, "*") is left to the driver.
QString statement(const QString &select, const FieldDefs &defs);

// The name the text of a decimal column comes under.
QString textColumn(const QString &column);

} // namespace ExactSelect
