#pragma once

#include "ClientDataSet.h"
#include "LabelRecord.h"

#include <QList>
#include <QObject>
#include <QPointer>

// The data connection a report project reads, known to it by the component's
// name ("RvDataSetConnection1"). It hands over the rows of its client data set
// in their order, or rows given to it directly (benchmarks, previews of a job
// that is not in the database).
class TRvDataSetConnection : public QObject
{
    Q_OBJECT
public:
    explicit TRvDataSetConnection(const QString &objectName, QObject *parent = nullptr);

    void setDataSet(ClientDataSet *dataSet);
    ClientDataSet *DataSet() const { return m_dataSet; }

    // Rows supplied instead of a data set, with the names of their fields.
    void setRows(const QStringList &fieldNames, const QList<LabelRecord> &rows);

    // The field names a report may use, upper case.
    QStringList fieldNames() const;

    // Every row, first to last. Walking the data set moves its cursor, which is
    // put back afterwards; bound controls are not told about the walk.
    QList<LabelRecord> rows() const;

private:
    QPointer<ClientDataSet> m_dataSet;
    QStringList m_fieldNames;
    QList<LabelRecord> m_rows;
};
