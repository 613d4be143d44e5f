#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class ClientDataSet;

// The thermal printer output: the label job as EPL2 command files, one file
// per row of three labels across the roll, each handed to the workstation's
// batch file ImprEtiq.bat, which copies it to the printer. The program never
// talks to the printer itself and never waits for the batch file.
class ThermalOutput
{
public:
    // workFolder: the workstation's folder ("C:\Boticon\InterfacXX"), which must
    // exist and hold ImprEtiq.bat; labelPrinterPath: where the batch file copies to.
    ThermalOutput(const QString &workFolder, const QString &labelPrinterPath)
        : m_workFolder(workFolder), m_printerPath(labelPrinterPath) {}

    // Walks the job from its first row and returns how many files it wrote.
    // A file that cannot be written raises the platform's I/O error; the files
    // before it have already gone to the printer.
    int run(ClientDataSet &job);

    // The fixed layout's command files of the job, one per row of three labels,
    // as they will be sent (Windows-1252, CR LF): what a preview images.
    static QList<QByteArray> commandFiles(ClientDataSet &job);

    // Writes the files as Etiq001.txt, Etiq002.txt, ... and starts the batch
    // file for each, in order, each file closed before its start. Every thermal
    // job, fixed layout or report, reaches the printer through here.
    int handOver(const QList<QByteArray> &files);

    // workFolder + "\Etiq" + the number with at least three digits + ".txt".
    QString commandFileName(int fileNumber) const;

    // The command line of the batch start for one file, as the suite composes
    // it: batch file, command file and printer path separated by blanks. It is
    // kept for the log only; the start passes the last two as separate
    // arguments, so paths with blanks or of any length reach the batch file whole.
    QString commandLine(int fileNumber) const;

private:
    static QString fileName(int fileNumber); // "Etiq001.txt"
    QString batchFileName() const;
    QString nativeFile(const QString &fileName) const;
    void startBatch(int fileNumber) const;

    QString m_workFolder;
    QString m_printerPath;
    QString m_nativeFolder;
};
