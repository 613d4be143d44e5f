#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class ClientDataSet;
class DataSource;
class Field;

// Ties a control to one column of the data set behind a data source. It
// announces OnDataChange whenever the current row moves, a value changes or
// the link is (re)connected, and leaves reading the value to the control.
class TFieldDataLink : public QObject
{
    Q_OBJECT
public:
    explicit TFieldDataLink(QObject *parent = nullptr);

    QString FieldName() const { return m_fieldName; }
    void setFieldName(const QString &fieldName);

    DataSource *dataSource() const { return m_dataSource; }
    void setDataSource(DataSource *dataSource);

    // The bound column on the current row, or null while unbound, without a
    // column name or with the data set closed.
    Field *field() const;

signals:
    void OnDataChange();

private:
    void reconnect();
    ClientDataSet *openDataSet() const;

    QString m_fieldName;
    QPointer<DataSource> m_dataSource;
    // Whether the column was found when the link last connected. A column that
    // was missing then stays unbound, so moving through the rows afterwards
    // does not fail over and over.
    bool m_bound = false;
};
