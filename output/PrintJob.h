#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What goes to a thermal printer for one job: the command files in the order
// they print, each with the labels it carries, and the batch file that copies
// each one to the printer path. Paths are native paths.
struct CommandFile
{
    QString path;
    QByteArray bytes; // the whole file, as the printer receives it
    int labels = 0;
};

struct PrintJob
{
    QString batchFile;
    QString printerPath;
    QList<CommandFile> files;
    // The number of files[0] within its job: 1, or later for the rest of a job
    // whose first files went out before its hand-over stopped.
    int firstFileNumber = 1;

    int fileCount() const { return firstFileNumber - 1 + int(files.size()); }

    int labelCount() const
    {
        int labels = 0;
        for (const CommandFile &file : files)
            labels += file.labels;
        return labels;
    }
};
