#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

// What goes to a thermal printer for one job: the command files in the order
// they print, each with the labels it carries, and the batch file that copies
// each one to the printer path. Paths are native paths.
struct CommandFile
{
    QString path;
    QByteArray bytes; // the whole file, as the printer receives it
    int labels = 0;   // positions on the stock, skipped ones included
};

struct PrintJob
{
    QString batchFile;
    QString printerPath;
    QList<CommandFile> files; // every file of the job, from its file 1
    // The first file to hand over: 1 for a new job, later for the rest of one
    // whose first files went out before its hand-over stopped.
    int firstFileNumber = 1;
    // The job's durable record (ThermalJournal); empty until it is queued.
    QString journal = QString();
    // What the print history needs to record the job, kept in its record and
    // handed back when files have gone out; opaque here.
    QByteArray history = QByteArray();
    // A test print of the label designer: it keeps no record, so the counter
    // never offers to continue it and it never replaces the counter's.
    bool test = false;
    // The "Etiq. Inicial" the job took, given back when it never started.
    QString startPosition = QString();
    // Set while the files' bytes are still to be made: a large job's are made
    // by the hand-over off the window's thread (ThermalOutput::plan). Every
    // file's path and labels are there already.
    std::function<void(QList<CommandFile> &files)> makeBytes = {};

    // The bytes made now, if they were still to be made.
    void make()
    {
        if (makeBytes)
            std::exchange(makeBytes, {})(files);
    }

    int fileCount() const { return int(files.size()); }

    int labelCount() const
    {
        int labels = 0;
        for (const CommandFile &file : files)
            labels += file.labels;
        return labels;
    }

    QList<int> positionsPerFile() const
    {
        QList<int> positions;
        for (const CommandFile &file : files)
            positions << file.labels;
        return positions;
    }
};
