#include "TFieldDataLink.h"

#include "ClientDataSet.h"
#include "DataSource.h"

TFieldDataLink::TFieldDataLink(QObject *parent)
    : QObject(parent)
{
}

void TFieldDataLink::setFieldName(const QString &fieldName)
{
    if (m_fieldName == fieldName)
        return;
    m_fieldName = fieldName;
    reconnect();
}

void TFieldDataLink::setDataSource(DataSource *dataSource)
{
    if (m_dataSource == dataSource)
        return;
    if (m_dataSource)
        disconnect(m_dataSource, nullptr, this, nullptr);
    m_dataSource = dataSource;
    if (m_dataSource) {
        // A moved cursor or a changed value only needs the value read again;
        // opening or closing the data set, or losing the source, binds or
        // unbinds the column.
        for (const auto signal : {&DataSource::dataChanged, &DataSource::currentChanged})
            connect(m_dataSource, signal, this, &TFieldDataLink::OnDataChange);
        connect(m_dataSource, &DataSource::stateChanged, this, &TFieldDataLink::reconnect);
        connect(m_dataSource, &QObject::destroyed, this, &TFieldDataLink::reconnect);
    }
    reconnect();
}

ClientDataSet *TFieldDataLink::openDataSet() const
{
    if (!m_dataSource)
        return nullptr;
    ClientDataSet *dataSet = m_dataSource->DataSet();
    return dataSet && dataSet->Active() ? dataSet : nullptr;
}

Field *TFieldDataLink::field() const
{
    ClientDataSet *dataSet = openDataSet();
    return m_bound && dataSet ? dataSet->FindField(m_fieldName) : nullptr;
}

void TFieldDataLink::reconnect()
{
    m_bound = false;
    ClientDataSet *dataSet = openDataSet();
    if (dataSet && !m_fieldName.isEmpty()) {
        // A name the data set lacks fails here, with the data set's own
        // "Field 'X' not found", as the link connects.
        dataSet->FieldByName(m_fieldName);
        m_bound = true;
    }
    emit OnDataChange();
}
