#pragma once

#include <QByteArray>
#include <QString>

// Field data as a ZPL printer takes it. The ZPL II Programming Guide, "^FD
// Field Data": "The ^ and ~ characters can be printed by changing the prefix
// characters - see ^CC ~CC and ^CT ~CT - or by using the ^FH command"; "^FH
// Field Hexadecimal Indicator": "The ^FH command allows you to enter the
// hexadecimal value for any character directly into the ^FD statement. The
// ^FH command must precede each ^FD command that uses hexadecimals in its
// field. Within the ^FD statement, the hexadecimal indicator must precede
// each hexadecimal value. The default hexadecimal indicator is _ (underscore).
// There must be a minimum of two characters designated to follow the
// underscore."

// The field's data command: "^FD" and the text as typed, or, when the text
// holds a ^ or a ~, "^FH^FD" and the text with ^, ~ and _ as _5E, _7E and
// _5F, so that a QR of "https://loja/~farmacia" encodes that very address.
// Control characters (0-31, 127) go as blanks: a line break is only layout
// to the printer, and the data would silently lose it.
QString zplFieldData(const QString &text);

// The bytes of ^FD data under ^FH with `indicator`: every indicator and two
// hexadecimal digits become that byte.
QByteArray zplUnescaped(const QByteArray &data, char indicator);
