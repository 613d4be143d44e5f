#pragma once

#include "PrintJob.h"

#include <QString>

class ClientDataSet;
class PrintHandOver;

// The thermal printer output: the label job as EPL2 command files, one file
// per row of three labels across the roll, each handed to the workstation's
// batch file ImprEtiq.bat, which copies it to the printer. The program never
// talks to the printer itself; the hand-over queue runs the batch file.
class ThermalOutput
{
public:
    // workFolder: the workstation's folder ("C:\Boticon\InterfacXX"), which must
    // exist and hold ImprEtiq.bat; labelPrinterPath: where the batch file copies to.
    ThermalOutput(const QString &workFolder, const QString &labelPrinterPath);

    // Refuses, before anything is written anywhere, a work folder without
    // ImprEtiq.bat: without it nothing would reach the printer.
    void checkBatchFile() const;

    // The command files of the job, from its first row; nothing is written yet.
    PrintJob build(ClientDataSet &job) const;
    // The same with the files' bytes still to be made (PrintJob::make): the
    // rows are copied now, the EPL2 of ten thousand labels is made by whoever
    // makes the bytes, on any thread.
    PrintJob plan(ClientDataSet &job) const;

    // Command files made elsewhere (a thermal report's), file n carrying
    // labels[n], as a job for this station's batch file and printer.
    PrintJob job(const QList<QByteArray> &files, const QList<int> &labels) const;

    // Plans the job and queues it for the printer, which makes its bytes;
    // returns how many files it holds.
    int run(ClientDataSet &job, PrintHandOver &handOver) const;

    // The station's ImprEtiq.bat, as a native path.
    QString batchFilePath() const;

    // workFolder + "\Etiq" + the number with at least three digits + ".txt".
    QString commandFileName(int fileNumber) const;

    // The command line of the batch start for one file, as the suite composes
    // it: batch file, command file and printer path separated by blanks. It is
    // kept for the log only; the run passes the last two as separate
    // arguments, so paths with blanks or of any length reach the batch file whole.
    QString commandLine(int fileNumber) const;

private:
    static QString fileName(int fileNumber); // "Etiq001.txt"
    QString batchFileName() const;
    QString nativeFile(const QString &fileName) const;

    QString m_workFolder;
    QString m_printerPath;
    // The folder is mapped once: a name looked up in a folder of thousands of
    // command files would cost a directory listing per file.
    QString m_nativeFolder;
};
