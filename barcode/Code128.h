#pragma once

#include <QString>

#include <span>

// Which start character a Code 128 symbol begins with.
enum class Code128Set : quint8 { A, B, C };

// The check symbol value (0 to 102) of the text in the given variant.
int DigitoCode128(const QString &texto, Code128Set set);

// Start, data symbols, check symbol and stop. Variants A and B carry the
// characters 32 to 126 (one symbol each, others dropped); variant C carries the
// text's digits in pairs. No shift or code-set change is ever produced.
QString ModulosCode128(const QString &texto, Code128Set set);

// Start, the data symbol values as given, their check symbol and stop; for
// encoders that choose the symbols themselves (subset changes included).
QString Code128FromSymbols(int startValue, std::span<const int> symbols);
