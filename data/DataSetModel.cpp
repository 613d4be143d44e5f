#include "DataSetModel.h"

#include "ClientDataSet.h"
#include "DataSource.h"
#include "DatabaseErrors.h"
#include "Messages.h"
#include "SelvarError.h"

#include <QFont>

DataSetModel::DataSetModel(QObject *parent) : QAbstractTableModel(parent) {}

ClientDataSet *DataSetModel::dataSet() const
{
    return m_source ? m_source->DataSet() : nullptr;
}

void DataSetModel::setDataSource(DataSource *source)
{
    beginResetModel();
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source) {
        connect(m_source, &DataSource::dataChanged, this, &DataSetModel::onDataChanged);
        connect(m_source, &DataSource::stateChanged, this, &DataSetModel::onDataChanged);
        connect(m_source, &DataSource::currentChanged, this, &DataSetModel::onCurrentChanged);
    }
    m_knownRows = -1;
    endResetModel();
}

void DataSetModel::setColumns(const QVector<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

int DataSetModel::fieldIndex(int column) const
{
    ClientDataSet *ds = dataSet();
    if (!ds || column < 0 || column >= m_columns.size())
        return -1;
    Field *field = ds->FindField(m_columns[column].field);
    return field ? field->Index() : -1;
}

int DataSetModel::rowCount(const QModelIndex &parent) const
{
    ClientDataSet *ds = dataSet();
    if (parent.isValid() || !ds || !ds->Active())
        return 0;
    int rows = ds->RecordCount();
    // A row being inserted shows as one more line until it is posted.
    if (ds->state() == ClientDataSet::State::Insert)
        ++rows;
    m_knownRows = rows;
    return rows;
}

int DataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex &index, int role) const
{
    ClientDataSet *ds = dataSet();
    const int fi = fieldIndex(index.column());
    if (!ds || fi < 0 || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const Field &field = *ds->Fields()[fi];
    const QVariant value = ds->valueAt(index.row(), fi);
    return role == Qt::DisplayRole ? field.displayTextOf(value) : field.textOf(value);
}

bool DataSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    ClientDataSet *ds = dataSet();
    const int fi = fieldIndex(index.column());
    if (!ds || fi < 0 || role != Qt::EditRole || m_columns[index.column()].readOnly)
        return false;
    try {
        if (!ds->isCurrentRow(index.row()))
            setCurrentRow(index.row());
        Field &field = *ds->Fields()[fi];
        if (field.AsString() == value.toString())
            return true;
        field.setAsString(value.toString());
    } catch (const SelvarError &error) {
        report(error);
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[section].title;
    if (role == Qt::FontRole) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() < m_columns.size() && !m_columns[index.column()].readOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

void DataSetModel::setCurrentRow(int row)
{
    ClientDataSet *ds = dataSet();
    if (!ds || !ds->Active() || ds->isCurrentRow(row))
        return;
    try {
        ds->setRecNo(row + 1);
    } catch (const SelvarError &error) {
        report(error);
    }
}

void DataSetModel::report(const SelvarError &error) const
{
    if (m_errorHandler)
        m_errorHandler(error);
    else
        Messages::show(userMessage(error));
}

void DataSetModel::onDataChanged()
{
    ClientDataSet *ds = dataSet();
    const int rows = ds && ds->Active() ? ds->RecordCount() + (ds->state() == ClientDataSet::State::Insert ? 1 : 0) : 0;
    if (rows != m_knownRows) {
        beginResetModel();
        m_knownRows = rows;
        endResetModel();
    } else if (rows > 0 && !m_columns.isEmpty()) {
        emit dataChanged(index(0, 0), index(rows - 1, int(m_columns.size()) - 1));
    }
}

void DataSetModel::onCurrentChanged()
{
    if (ClientDataSet *ds = dataSet())
        emit currentRowChanged(ds->RecNo() - 1);
}
