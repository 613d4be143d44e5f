#include "ThermalOutput.h"

#include "ClientDataSet.h"
#include "Epl2Label.h"
#include "PrintHandOver.h"
#include "SelvarError.h"
#include "SuitePaths.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <memory>

// The command line of every batch start, for whoever looks into a printing
// problem: QT_LOGGING_RULES="selvar.output.thermal.info=true" shows them.
Q_LOGGING_CATEGORY(lcThermal, "selvar.output.thermal", QtWarningMsg)

namespace {

const int kLabelsAcross = 3;

// What a label prints of a job row, as the row holds it.
struct JobRow
{
    QString componente;
    QString codigoEan;
    Decimal preco1;
};

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
    PrintJob print = plan(job);
    print.make();
    return print;
}

PrintJob ThermalOutput::plan(ClientDataSet &job) const
{
    PrintJob print{nativeFile(QStringLiteral("ImprEtiq.bat")), m_printerPath, {}};
    auto labels = std::make_shared<QList<JobRow>>(); // shared by every copy of the job
    labels->reserve(job.RecordCount());
    const Field &componente = job.FieldByName(QStringLiteral("COMPONENTE"));
    const Field &codigoEan = job.FieldByName(QStringLiteral("CODIGOEAN"));
    const Field &preco1 = job.FieldByName(QStringLiteral("PRECO1"));
    for (job.First(); !job.Eof(); job.Next())
        labels->append({componente.AsString(), codigoEan.AsString(), preco1.AsDecimal()});
    for (qsizetype first = 0, fileNumber = 1; first < labels->size(); first += kLabelsAcross, ++fileNumber) {
        qCInfo(lcThermal).noquote() << commandLine(int(fileNumber));
        print.files.append({nativeFile(fileName(int(fileNumber))), QByteArray(),
                            int(std::min<qsizetype>(kLabelsAcross, labels->size() - first))});
    }
    print.makeBytes = [labels](QList<CommandFile> &files) {
        for (qsizetype file = 0; file < files.size(); ++file) {
            QStringList lines = Epl2::header(file == 0);
            for (int column = 1; column <= files[file].labels; ++column)
            {
                const JobRow &row = labels->at(file * kLabelsAcross + column - 1);
                lines << Epl2::labelBlock(column, ThermalLabel::fromJobRow(row.componente, row.codigoEan, row.preco1));
            }
            lines << Epl2::printLine();
            files[file].bytes = Epl2::fileBytes(lines);
        }
    };
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
    PrintJob print = plan(job);
    const int files = int(print.files.size());
    if (files > 0)
        handOver.enqueue(std::move(print));
    return files;
}
