#include "LabelJobExpansion.h"

#include "Conversions.h"
#include "DatabaseErrors.h"
#include "Decimal.h"
#include "JobProgress.h"
#include "LabelNumbers.h"
#include "LabelQuantity.h"
#include "SuiteJob.h"
#include "TDM.h"
#include "TableDefs.h"


namespace {

// Keeps a data set's bound controls (the list grid) quiet during a long run,
// and lets them catch up once at its end, also when the run fails.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(ClientDataSet &dataSet) : m_dataSet(dataSet) { m_dataSet.DisableControls(); }
    ~ControlsDisabled() { m_dataSet.EnableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    ClientDataSet &m_dataSet;
};

// The progress panel never outlives the job, even one ended by an error.
class ProgressShown
{
public:
    ProgressShown(JobProgress &progress, int rows) : m_progress(progress) { m_progress.jobBegin(rows); }
    ~ProgressShown() { m_progress.jobEnd(); }
    ProgressShown(const ProgressShown &) = delete;
    ProgressShown &operator=(const ProgressShown &) = delete;

private:
    JobProgress &m_progress;
};

} // namespace

qint64 LabelJobExpansion::skippedPositions(const QString &etiqInicial)
{
    if (etiqInicial.isEmpty())
        return 0;
    const qint64 first = Conversions::strToInt(etiqInicial);
    return first > 1 ? first - 1 : 0;
}

qint64 LabelJobExpansion::rowsToWrite(TDM &dm, const QString &etiqInicial)
{
    qint64 rows = skippedPositions(etiqInicial);
    ClientDataSet &list = *dm.TabRev1;
    if (!list.Active())
        list.Open();
    const int qde = list.FieldByName(QStringLiteral("QDE")).Index();
    const int count = list.RecordCount();
    for (int row = 0; row < count; ++row)
        rows += LabelQuantity::labels(list.valueAt(row, qde));
    return rows;
}

qint64 LabelJobExpansion::run(const QString &etiqInicial, JobProgress &progress, SuiteJob &job)
{
    const qint64 skipped = skippedPositions(etiqInicial);
    // A quantity still being typed into the list is stored on its own first:
    // it belongs to the list, not to this job, and must survive a cancelled one.
    if (m_dm.TabRev1->Active())
        m_dm.TabRev1->Post();
    job.Begin();
    qint64 labels = 0;
    try {
        labels = expand(skipped, progress);
        job.Commit();
    } catch (...) {
        // The rows TabRev2 holds were never committed: none of them may be printed.
        m_dm.TabRev2->Close();
        job.RollbackAndRethrow(QStringLiteral("Nenhuma etiqueta foi gerada; o trabalho anterior foi mantido."));
    }
    // From here on the new job is everyone's: whatever fails leaves it written.
    progress.jobCommitted();
    // Read back while the lock is still held: the outputs work from these
    // rows alone, whatever another station writes once the lock is free. A
    // connection lost since the commit is made again by a second read.
    try {
        m_dm.TabRev2->First();
    } catch (const std::exception &) {
        try {
            readBack();
        } catch (const std::exception &error) {
            m_dm.TabRev2->Close();
            throw JobNotReadBack(labels, m_written, error);
        }
    }
    return labels;
}

void LabelJobExpansion::readBack()
{
    ClientDataSet &job = *m_dm.TabRev2;
    job.Close();
    job.Open();
    job.First();
}

namespace {

QString notReadBackText(qint64 labels, const std::exception &error)
{
    const auto *database = dynamic_cast<const DatabaseError *>(&error);
    const auto *known = dynamic_cast<const SelvarError *>(&error);
    const QString reason = database && isConnectionFailure(*database)
                               ? QStringLiteral("a conexão com o banco de dados caiu logo depois da gravação")
                               : QStringLiteral("o banco de dados respondeu: ")
                                     + (known ? known->message() : QString::fromLocal8Bit(error.what()));
    return QStringLiteral("O trabalho novo (%1 etiquetas) foi gravado em TABREV2, mas não foi impresso: não foi possível "
                          "lê-lo de volta (%2). O trabalho anterior foi substituído por ele.")
        .arg(labels)
        .arg(reason);
}

} // namespace

JobNotReadBack::JobNotReadBack(qint64 labels, const WrittenJob &written, const std::exception &error)
    : SelvarError(notReadBackText(labels, error)), m_labels(labels), m_written(written)
{
}

qint64 LabelJobExpansion::expand(qint64 skipped, JobProgress &progress)
{
    ClientDataSet &list = *m_dm.TabRev1;
    if (!list.Active())
        list.Open();
    list.First();
    ProgressShown shown(progress, list.RecordCount());

    emptyJobTable();
    m_written = WrittenJob();
    ControlsDisabled quietList(list);
    ControlsDisabled quietJob(*m_dm.TabRev2);
    appendSkippedPositions(skipped, progress);
    return appendLabels(progress);
}

// At every label and product the job looks whether its user asked it to stop
// ("Cancelar", Escape): a flag the window sets, cheap next to an insert.
void LabelJobExpansion::checkCancel(JobProgress &progress)
{
    if (progress.cancelRequested())
        throw JobCancelled(QStringLiteral("Impressão cancelada."));
}

// The cached copy is dropped before the delete and read again after it, so it
// is the empty table; reading the old job in between would serve nothing.
// From here on the job is read in the order it is written in: Firebird hands
// a table's rows back in the order they lie on its pages, and a table emptied
// and filled again reuses freed space out of order. CODIGO holds the running
// number as text, which sorts "1000000" before "100001"; the order is the
// number's (see LabelNumbers::readBackOrder).
void LabelJobExpansion::emptyJobTable()
{
    ClientDataSet &job = *m_dm.TabRev2;
    job.Close();
    m_dm.SQLConnection1->ExecuteDirect(QStringLiteral("delete from TABREV2"));
    m_dm.SQLDS_TabRev2->setCommandText(jobStatement());
    job.Open();
}

QString LabelJobExpansion::jobStatement()
{
    return QStringLiteral("select ") + TableDefs::columnList(TableDefs::tabRev()) + QStringLiteral(" from TABREV2 order by ")
           + LabelNumbers::readBackOrder();
}

void LabelJobExpansion::appendSkippedPositions(qint64 count, JobProgress &progress)
{
    ClientDataSet &job = *m_dm.TabRev2;
    for (qint64 position = 1; position <= count; ++position) {
        checkCancel(progress);
        job.Append();
        job.FieldByName(QStringLiteral("CODIGO")).setAsString(LabelNumbers::skippedPositionCode(position));
        m_written.addRow(job);
        job.Post();
    }
}

qint64 LabelJobExpansion::appendLabels(JobProgress &progress)
{
    ClientDataSet &list = *m_dm.TabRev1;
    qint64 number = 0;
    int rowsDone = 0;
    while (!list.Eof()) {
        const qint64 quantity = LabelQuantity::labels(list.FieldByName(QStringLiteral("QDE")).AsDecimal());
        for (qint64 i = 0; i < quantity; ++i) {
            checkCancel(progress);
            progress.labelStarted(list.FieldByName(QStringLiteral("COMPONENTE")).AsString());
            appendLabel(list, ++number);
        }
        list.Next();
        progress.rowDone(++rowsDone);
        checkCancel(progress);
    }
    return number;
}

void LabelJobExpansion::appendLabel(ClientDataSet &list, qint64 number)
{
    ClientDataSet &job = *m_dm.TabRev2;
    job.Append();
    job.FieldByName(QStringLiteral("CODIGO")).setAsString(LabelNumbers::labelNumber(number));
    for (const char *column : {"COMPONENTE", "CODIGOEAN"})
        job.FieldByName(QLatin1String(column)).setAsString(list.FieldByName(QLatin1String(column)).AsString());
    // An empty price is a price of 0.00 on the label; the copy stays exact to the cent.
    job.FieldByName(QStringLiteral("PRECO1")).setAsDecimal(list.FieldByName(QStringLiteral("PRECO1")).AsDecimal());
    m_written.addRow(job);
    job.Post();
}
