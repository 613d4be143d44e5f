#include "TRvDataSetConnection.h"

#include "ClientDataSet.h"

TRvDataSetConnection::TRvDataSetConnection(const QString &objectName, QObject *parent) : QObject(parent)
{
    setObjectName(objectName);
}

void TRvDataSetConnection::setDataSet(ClientDataSet *dataSet)
{
    m_dataSet = dataSet;
    m_fieldNames.clear();
    m_rows.clear();
}

void TRvDataSetConnection::setRows(const QStringList &fieldNames, const QList<LabelRecord> &rows)
{
    m_dataSet = nullptr;
    m_fieldNames.clear();
    for (const QString &name : fieldNames)
        m_fieldNames << name.toUpper();
    m_rows = rows;
}

QStringList TRvDataSetConnection::fieldNames() const
{
    if (!m_dataSet)
        return m_fieldNames;
    QStringList names;
    for (const FieldDef &def : m_dataSet->fieldDefs())
        names << def.name.toUpper();
    return names;
}

QList<LabelRecord> TRvDataSetConnection::rows() const
{
    if (!m_dataSet)
        return m_rows;
    ClientDataSet &ds = *m_dataSet;
    if (!ds.Active())
        ds.Open();
    QList<LabelRecord> rows;
    rows.reserve(ds.RecordCount());
    const int wasAt = ds.RecNo();
    // The grid bound to the data set must neither follow the walk nor stay
    // frozen if a field cannot be read.
    ds.DisableControls();
    struct ControlsBack
    {
        ClientDataSet &ds;
        ~ControlsBack() { ds.EnableControls(); }
    } back{ds};
    for (ds.First(); !ds.Eof(); ds.Next()) {
        LabelRecord record;
        for (const auto &field : ds.Fields()) {
            const QString plain = field->def().type == FieldType::Decimal && !field->IsNull()
                                      ? field->AsDecimal().toPlainString()
                                      : field->AsString();
            record.set(field->FieldName(), {field->DisplayText(), plain});
        }
        rows.append(record);
    }
    if (wasAt > 0)
        ds.setRecNo(wasAt);
    return rows;
}
