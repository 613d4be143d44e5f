#include "LabelJobRun.h"

#include "DatabaseErrors.h"
#include "Field.h"
#include "LabelJobExpansion.h"
#include "LostConnection.h"
#include "SelvarError.h"
#include "SuiteJob.h"
#include "TDM.h"

namespace {

// The rows held, copied for another thread's data set of the same columns.
ClientDataSet::ReadyRows rowsOf(ClientDataSet &dataSet)
{
    return ClientDataSet::ReadyRows(LabelJobRun::shownRows(dataSet));
}

} // namespace

std::vector<QVector<QVariant>> LabelJobRun::shownRows(ClientDataSet &list)
{
    if (!list.Active())
        list.Open();
    const int rows = list.RecordCount();
    const int columns = int(list.fieldDefs().size());
    std::vector<QVector<QVariant>> values;
    values.reserve(std::size_t(rows));
    for (int row = 0; row < rows; ++row) {
        QVector<QVariant> line(columns);
        for (int column = 0; column < columns; ++column)
            line[column] = list.valueAt(row, column);
        values.push_back(std::move(line));
    }
    return values;
}

LabelJobRun::Outcome LabelJobRun::write(TDM &dm, const Request &request, JobWait &wait, JobProgress &progress)
{
    bool commitUnknown = false; // a commit sent whose answer was lost: the job may be written
    for (int attempt = 1;; ++attempt) {
        try {
            SuiteJob job(*dm.SQLConnection1, request.station, SuiteJob::Kind::Print, &wait);
            // The expansion walks the worker's list: it holds the rows shown, not a read of TABREV1.
            dm.TabRev1->Close();
            dm.TabRev1->installRead(ClientDataSet::ReadyRows(std::vector<QVector<QVariant>>(request.shown)), QString(),
                                    false);
            Outcome outcome;
            LabelJobExpansion expansion(dm);
            outcome.labels = expansion.run(request.etiqInicial, progress, job);
            outcome.written = expansion.written();
            outcome.job = rowsOf(*dm.TabRev2);
            return outcome;
        } catch (const DatabaseError &error) {
            // The job replaces TABREV2 whole: written again after a commit
            // whose answer was lost, it is the same job, not a second one.
            const bool again = LostConnection::runAgain(error, attempt, LostConnection::Commit::WrittenOnce);
            if (!again && !isConnectionFailure(error))
                throw;
            commitUnknown = commitUnknown || LostConnection::commitLost(error);
            dm.TabRev1->Close();
            dm.TabRev2->Close();
            if (!again && commitUnknown)
                throw SelvarError(QStringLiteral("A conexão com o banco de dados caiu enquanto o trabalho novo era "
                                                 "gravado e não pôde ser refeita: não se sabe se ele ficou gravado em "
                                                 "TABREV2 no lugar do anterior. Nenhuma etiqueta foi impressa. Confira "
                                                 "a rede e o servidor e pressione \"Etiquetas com preços\" de novo."));
            if (!again)
                throw SelvarError(QStringLiteral("A conexão com o banco de dados caiu e não pôde ser refeita: nenhuma "
                                                 "etiqueta foi gerada e o trabalho anterior foi mantido. Confira a rede "
                                                 "e o servidor e pressione \"Etiquetas com preços\" de novo."));
        }
    }
}

ClientDataSet::ReadyRows LabelJobRun::readAgain(TDM &dm, const QString &station, const WrittenJob &written,
                                               qint64 labels, JobWait &wait)
{
    SuiteJob job(*dm.SQLConnection1, station, SuiteJob::Kind::Print, &wait);
    ClientDataSet &rows = *dm.TabRev2;
    try {
        dm.SQLDS_TabRev2->setCommandText(LabelJobExpansion::jobStatement());
        LabelJobExpansion(dm).readBack();
    } catch (const std::exception &error) {
        rows.Close();
        throw JobNotReadBack(labels, written, error);
    }
    // Another station may have printed since, maybe as many labels: its job is
    // not this one's to print, nor to record as this one's.
    if (WrittenJob::of(rows) != written) {
        rows.Close();
        throw SelvarError(QStringLiteral("O trabalho gravado já foi substituído pelo de outra estação; nada foi impresso. "
                                         "Pressione \"Etiquetas com preços\" de novo."));
    }
    return rowsOf(rows);
}
