#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Text as an EPL2 printer takes it: in the code page its character-set
// command selects, between double quotes, with nothing in it that the printer
// would read as the end of the field or of the line.

// The 8-bit code pages the writers select and the readers decode. The EPL2
// Programmer's Manual, "I Command - Character Set Selection" (Ip1,p2,p3):
//   "p1 = Number of data bits: 8 = 8 bit data, 7 = 7 bit data"
//   "p2 = Printer Codepage ... 8 bit data: 0 = DOS 437 English - US,
//    1 = DOS 850 Latin 1, 2 = DOS 852 Latin 2, 3 = DOS 860 Portuguese,
//    4 = DOS 863 French Canadian, 5 = DOS 865 Nordic, ... A = Windows 1252
//    Latin 1, B = Windows 1250 Latin 2, C = Windows 1251 Cyrillic, ..."
//   "p3 = KDU Country Code"
// "I8,3,001" therefore prints DOS 860 glyphs and "I8,A,001" Windows-1252 ones.
enum class Epl2CodePage { Dos437, Dos860, Windows1252 };

// The page that `I` selects with this p2, if it is one of ours.
std::optional<Epl2CodePage> epl2CodePage(const QString &parameter);
// The p2 that selects the page.
QString epl2CodePageParameter(Epl2CodePage page);
// The whole command, 8-bit data, country 001: "I8,A,001".
QString epl2CharacterSetCommand(Epl2CodePage page);

// Text in the page's bytes. A character the page lacks goes as its letter
// without the accent when there is one ("Õ" in DOS 437 as "O"), else as '?'.
QByteArray encodeEpl2(const QString &text, Epl2CodePage page);
QString decodeEpl2(const QByteArray &bytes, Epl2CodePage page);

// A field's data between double quotes, still as text. The EPL2 Programmer's
// Manual, "A Command" and "B Command", "DATA": "The backslash (\) character
// designates the following character is a literal and will encode into the
// data field": a quote goes as \" and a backslash as \\. A line break would
// end the command and start another (a "P9999" typed into a name prints
// 9,999 labels), so every control character (0-31, 127) goes as a blank.
QString epl2Quoted(const QString &field);
