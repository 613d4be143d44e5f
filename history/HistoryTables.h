#pragma once

#include <QStringList>

class SqlConnection;

// The print history's tables, ours alone in the suite's database:
// SELVAR_HISTORICO (one row per job, numbered by GEN_SELVAR_HISTORICO) and
// SELVAR_HISTORICO_ITEM (one row per product of a job). deploy/schema.sql
// creates them; a database that never met this part of the program gets them
// from `ensure`, leaving every other table as it is.
namespace HistoryTables {

// Creates whatever is missing, the products' texts as wide as the list's. Two stations may race here: the one that loses
// fails to create an object the other has just made, and uses it.
void ensure(SqlConnection &connection);

} // namespace HistoryTables
