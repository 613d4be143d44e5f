#pragma once

#include <QString>

// The text's digits cut or zero-filled on the left to n digits (12 for EAN-13,
// 7 for EAN-8, 11 for UPC-A). A check digit the text may carry is thereby cut
// off and computed anew, so a wrong one never reaches the symbol.
QString NormalizaEAN(const QString &texto, int n);

// The EAN/UPC modulo-10 check digit of a string of digits, "0" to "9".
QChar DigitoVerificador(const QString &digitos);

// Guards and digit patterns, without quiet zones. Each takes the full code
// including its check digit: 13 digits (95 modules), 8 digits (67 modules),
// 12 digits (95 modules).
QString ModulosEAN13(const QString &digitos);
QString ModulosEAN8(const QString &digitos);
QString ModulosUPCA(const QString &digitos);
