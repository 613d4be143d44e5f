#include "ThermalOutput.h"

#include "ClientDataSet.h"
#include "Epl2Label.h"
#include "PrintHandOver.h"
#include "SelvarError.h"
#include "SuitePaths.h"

#include <QDir>
#include <QFileInfo>
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

ThermalOutput::ThermalOutput(const QString &workFolder, const QString &labelPrinterPath)
    : m_workFolder(workFolder), m_printerPath(labelPrinterPath), m_nativeFolder(SuitePaths::toNative(workFolder))
{
}

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

QString ThermalOutput::batchFilePath() const
{
    return nativeFile(QStringLiteral("ImprEtiq.bat"));
}

void ThermalOutput::checkBatchFile() const
{
    const QString batch = nativeFile(QStringLiteral("ImprEtiq.bat"));
    if (!QFileInfo(batch).isFile()) {
        throw SelvarError(QStringLiteral("O arquivo ImprEtiq.bat não foi encontrado na pasta da estação (%1).\r"
                                         "É ele que envia as etiquetas à impressora: nada foi impresso e a última "
                                         "impressão continua guardada.")
                              .arg(batch));
    }
}

PrintJob ThermalOutput::build(ClientDataSet &job) const
{
    PrintJob print{nativeFile(QStringLiteral("ImprEtiq.bat")), m_printerPath, {}};
    int fileNumber = 1;
    int column = 0;
    QStringList lines;
    job.First();
    while (!job.Eof()) {
        const ThermalLabel label = labelOfCurrentRow(job);
        if (++column == 1)
            lines = Epl2::header(fileNumber == 1);
        lines << Epl2::labelBlock(column, label);
        job.Next();
        if (column == kLabelsAcross || job.Eof()) {
            lines << Epl2::printLine();
            qCInfo(lcThermal).noquote() << commandLine(fileNumber);
            print.files.append({nativeFile(fileName(fileNumber)), Epl2::fileBytes(lines), column});
            column = 0;
            ++fileNumber;
        }
    }
    return print;
}

PrintJob ThermalOutput::job(const QList<QByteArray> &files, const QList<int> &labels) const
{
    PrintJob print{nativeFile(QStringLiteral("ImprEtiq.bat")), m_printerPath, {}};
    for (int i = 0; i < files.size(); ++i) {
        qCInfo(lcThermal).noquote() << commandLine(i + 1);
        print.files.append({nativeFile(fileName(i + 1)), files[i], labels.value(i)});
    }
    return print;
}

int ThermalOutput::run(ClientDataSet &job, PrintHandOver &handOver) const
{
    PrintJob print = build(job);
    const int files = int(print.files.size());
    if (files > 0)
        handOver.enqueue(std::move(print));
    return files;
}
