#pragma once

#include <QString>

class ClientDataSet;
class TDM;

// Looking a product up in the list by name or by code. A keystroke reads the
// list again ordered by the searched column and moves to the row found; Enter
// moves to the row found in the list as it stands.
//
// A clerk types names as they come: "creme" must find "Creme dental" and
// "agua" must find "Água Micelar". A name search therefore takes the first
// row whose name begins with the text, byte for byte if any does, else without
// regard to letter case and accents. When no name begins with it the cursor
// stays where it was and the search says so: a wrong row under the cursor
// would take the quantity meant for another product.
//
// The code box goes the same way through the product codes, and also takes
// the EAN printed on the box: a text of 8 to 14 digits equal to a row's EAN
// goes to that row, so a barcode scanner, which types the digits and Enter,
// lands on the product, and an unknown EAN leaves the cursor where it was.
// A text equal to a product's code goes to that product before any EAN is
// compared; an EAN that several products share goes to the first of them and
// the line under the boxes names them all.
namespace ProductSearch {

enum class Column { Componente, Codigo };

// The longest text Enter searches for.
constexpr int kEnterLength = 40;

QString columnName(Column column); // "COMPONENTE", "CODIGO"
QString statementFor(Column column); // the list ordered by that column

// The message for Enter in an empty box ("Digite o nome de um produto.").
QString emptyBoxMessage(Column column);

// Lower case, without accents: "Água" and "AGUA" both give "agua".
QString foldedForSearch(const QString &text);

// 8 to 14 digits: what a barcode scanner types for an EAN-8, EAN-13 or GTIN-14.
bool looksLikeEan(const QString &text);

// True when the text is, as the code box compares them, the EAN of a row of the list.
bool isProductEan(ClientDataSet &list, const QString &text);

// The box's text changed: store the row being edited, read TABREV1 again
// ordered by the column, then locate the text. Returns what locate returns.
QString reload(TDM &dm, Column column, const QString &text);

// The rows for the box's text have just been read: moves to the row the text
// finds, else back to the product wasOn (its code) when it is still there, and
// returns what locate returns.
QString placeCursor(TDM &dm, Column column, const QString &text, const QString &wasOn);

// The line shown when the connection was lost and made again.
QString connectionRemadeNotice();

// Moves to the row the text finds, without reading the list again, and
// returns the line to show under the search boxes: empty, or the products
// that share a scanned EAN. When nothing is found the cursor stays on the
// product it was on, found is set false and the line says so. An empty text
// goes to the first row.
QString locate(TDM &dm, Column column, const QString &text, bool *found = nullptr);

} // namespace ProductSearch
