#pragma once

#include "Decimal.h"

#include <QString>
#include <QStringList>

// One label of the thermal roll, as the four fields the printer draws.
struct ThermalLabel
{
    QString nameLine1; // characters 1 to 20 of the name
    QString nameLine2; // characters 21 to 60, leading blanks dropped
    QString barcode;   // the EAN code, at most 13 characters
    QString price;     // "1.234,50", at most 15 characters

    // From a row of the label job; a skipped position (all empty) gives blank
    // names, no barcode data and a price of 0,00.
    static ThermalLabel fromJobRow(const QString &componente, const QString &codigoEan, const Decimal &preco1);
};

// The EPL2 lines of a command file that prints one row of up to three labels
// across the roll.
namespace Epl2 {

// The set-up lines; "f100" only in the first file of a job.
QStringList header(bool firstFileOfJob);

// The four lines of the label in column 1, 2 or 3 (x = 0, 285, 570 dots).
QStringList labelBlock(int column, const ThermalLabel &label);

// Prints the image once; the last line of every file.
QString printLine();

// The lines of one command file as the bytes sent. The header's "I8,3,001"
// selects DOS 860, so the names go in DOS 860: written in Windows-1252, as
// the suite stores them, every accented capital would print as a box-drawing
// glyph ("ÁGUA" as "┴GUA").
QByteArray fileBytes(const QStringList &lines);

} // namespace Epl2
