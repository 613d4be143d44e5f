#pragma once

#include "ClientDataSet.h"

#include <QObject>
#include <QPointer>

// Binds a client data set to screen controls: they listen here, not to the data set.
class DataSource : public QObject
{
    Q_OBJECT
public:
    DataSource(const QString &objectName, ClientDataSet *dataSet, QObject *parent = nullptr)
        : QObject(parent), m_dataSet(dataSet)
    {
        setObjectName(objectName);
        connect(dataSet, &ClientDataSet::dataChanged, this, &DataSource::dataChanged);
        connect(dataSet, &ClientDataSet::currentChanged, this, &DataSource::currentChanged);
        connect(dataSet, &ClientDataSet::stateChanged, this, &DataSource::stateChanged);
    }

    ClientDataSet *DataSet() const { return m_dataSet; }

    // Controls bound here do not start editing by themselves when false.
    bool AutoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool autoEdit) { m_autoEdit = autoEdit; }

signals:
    void dataChanged();
    void currentChanged();
    void stateChanged();

private:
    QPointer<ClientDataSet> m_dataSet;
    bool m_autoEdit = true;
};
