#include "ThermalOutput.h"

#include "ClientDataSet.h"
#include "Cp1252.h"
#include "Epl2Label.h"
#include "ProcessStarter.h"
#include "SuitePaths.h"
#include "TextFile.h"

#include <QDir>
#include <QLoggingCategory>

// The command line of every batch start, for whoever looks into a printing
// problem: QT_LOGGING_RULES="selvar.output.thermal.info=true" shows them.
Q_LOGGING_CATEGORY(lcThermal, "selvar.output.thermal", QtWarningMsg)

namespace {

const int kLabelsAcross = 3;

ThermalLabel labelOfCurrentRow(ClientDataSet &job)
{
    return ThermalLabel::fromJobRow(job.FieldByName(QStringLiteral("COMPONENTE")).AsString(),
                                    job.FieldByName(QStringLiteral("CODIGOEAN")).AsString(),
                                    job.FieldByName(QStringLiteral("PRECO1")).AsDecimal());
}

} // namespace

QString ThermalOutput::fileName(int fileNumber)
{
    return QStringLiteral("Etiq") + QString::number(fileNumber).rightJustified(3, QLatin1Char('0')) + QStringLiteral(".txt");
}

QString ThermalOutput::commandFileName(int fileNumber) const
{
    return m_workFolder + QLatin1Char('\\') + fileName(fileNumber);
}

QString ThermalOutput::batchFileName() const
{
    return m_workFolder + QStringLiteral("\\ImprEtiq.bat");
}

QString ThermalOutput::commandLine(int fileNumber) const
{
    return batchFileName() + QLatin1Char(' ') + commandFileName(fileNumber) + QLatin1Char(' ') + m_printerPath;
}

QString ThermalOutput::nativeFile(const QString &fileName) const
{
    return QDir::toNativeSeparators(QDir(m_nativeFolder).filePath(fileName));
}

void ThermalOutput::startBatch(int fileNumber) const
{
    qCInfo(lcThermal).noquote() << commandLine(fileNumber);
    ProcessStarter::startBatch(nativeFile(QStringLiteral("ImprEtiq.bat")), {nativeFile(fileName(fileNumber)), m_printerPath});
}

QList<QByteArray> ThermalOutput::commandFiles(ClientDataSet &job)
{
    QList<QByteArray> files;
    int column = 0;
    QStringList lines;
    job.First();
    while (!job.Eof()) {
        const ThermalLabel label = labelOfCurrentRow(job);
        if (++column == 1)
            lines = Epl2::header(files.isEmpty());
        lines << Epl2::labelBlock(column, label);
        job.Next();
        if (column == kLabelsAcross || job.Eof()) {
            lines << Epl2::printLine();
            files.append(toCp1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
            column = 0;
        }
    }
    return files;
}

int ThermalOutput::handOver(const QList<QByteArray> &files)
{
    // The folder is looked up once: a name looked up in a folder of thousands
    // of command files would cost a directory listing per file.
    m_nativeFolder = SuitePaths::toNative(m_workFolder);
    for (int fileNumber = 1; fileNumber <= files.size(); ++fileNumber) {
        // Written and closed before the batch file may read it.
        TextFile::writeBytes(nativeFile(fileName(fileNumber)), files[fileNumber - 1]);
        startBatch(fileNumber);
    }
    return int(files.size());
}

int ThermalOutput::run(ClientDataSet &job)
{
    return handOver(commandFiles(job));
}
