#pragma once

#include <QString>

// What the user chose in "Output Options" for one run.
struct OutputOptions
{
    enum class Destination { Preview, Printer, File };

    Destination destination = Destination::Preview;
    QString printerName;
    int copies = 1;
    QString fileName; // the PDF written when the destination is File
};
