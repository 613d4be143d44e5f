#include "LabelJobRun.h"

#include "DatabaseErrors.h"
#include "Field.h"
#include "LabelJobExpansion.h"
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
    for (int attempt = 1;; ++attempt) {
        try {
            SuiteJob job(*dm.SQLConnection1, request.station, SuiteJob::Kind::Print, &wait);
            // The expansion walks the worker's list: it holds the rows shown, not a read of TABREV1.
            dm.TabRev1->Close();
            dm.TabRev1->installRead(ClientDataSet::ReadyRows(std::vector<QVector<QVariant>>(request.shown)), QString(),
                                    false);
            Outcome outcome;
            outcome.labels = LabelJobExpansion(dm).run(request.etiqInicial, progress, job);
            outcome.job = rowsOf(*dm.TabRev2);
            return outcome;
        } catch (const DatabaseError &error) {
            // A connection the server dropped (a server restarted, a network
            // back): the job was undone whole, so it is written once more on
            // an attachment made anew.
            if (!isConnectionFailure(error))
                throw;
            dm.TabRev1->Close();
            dm.TabRev2->Close();
            if (attempt == 2)
                throw SelvarError(QStringLiteral("A conexão com o banco de dados caiu e não pôde ser refeita: nenhuma "
                                                 "etiqueta foi gerada e o trabalho anterior foi mantido. Confira a rede "
                                                 "e o servidor e pressione \"Etiquetas com preços\" de novo."));
        }
    }
}

ClientDataSet::ReadyRows LabelJobRun::readAgain(TDM &dm, const QString &station, qint64 skipped, qint64 labels,
                                               JobWait &wait)
{
    SuiteJob job(*dm.SQLConnection1, station, SuiteJob::Kind::Print, &wait);
    ClientDataSet &rows = *dm.TabRev2;
    try {
        dm.SQLDS_TabRev2->setCommandText(LabelJobExpansion::jobStatement());
        LabelJobExpansion(dm).readBack();
    } catch (const std::exception &error) {
        rows.Close();
        throw JobNotReadBack(labels, error);
    }
    // Another station may have printed since; its job is not this one's to print.
    if (rows.RecordCount() != skipped + labels)
        throw SelvarError(QStringLiteral("O trabalho gravado já foi substituído pelo de outra estação; nada foi impresso. "
                                         "Pressione \"Etiquetas com preços\" de novo."));
    return rowsOf(rows);
}

