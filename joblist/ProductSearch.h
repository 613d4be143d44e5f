#pragma once

#include <QString>

class TDM;

// Looking a product up in the list by name or by code. A keystroke reads the
// list again ordered by the searched column and moves to the nearest row; Enter
// moves to the nearest row of the list as it stands.
namespace ProductSearch {

enum class Column { Componente, Codigo };

// The longest text Enter searches for.
constexpr int kEnterLength = 40;

QString columnName(Column column); // "COMPONENTE", "CODIGO"
QString statementFor(Column column); // the list ordered by that column

// The box's text changed: read TABREV1 again ordered by the column, then move
// to the nearest row for the whole text.
void reload(TDM &dm, Column column, const QString &text);

// The first row whose value in the column sorts at or after the text, in the
// order the database sorts it; the last row when every value sorts before it,
// the first for an empty text. Does not read the list again.
void moveToNearest(TDM &dm, Column column, const QString &text);

// Enter in a box: the message for an empty box ("Digite o nome de um produto."),
// else empty after moving to the nearest row for the first 40 characters.
QString enter(TDM &dm, Column column, const QString &text);

} // namespace ProductSearch
