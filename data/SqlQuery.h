#pragma once

#include <QObject>
#include <QPointer>
#include <QSqlRecord>
#include <QString>

class SqlConnection;

// A plain query on a connection: set its statement, open, read a column of the
// first row, close.
class SqlQuery : public QObject
{
    Q_OBJECT
public:
    SqlQuery(const QString &objectName, SqlConnection *connection, QObject *parent = nullptr);
    ~SqlQuery() override;

    const QString &SQL() const { return m_sql; }
    void setSQL(const QString &sql) { m_sql = sql; }

    void Open();
    void Close();
    bool Active() const { return m_active; }
    bool IsEmpty() const { return !m_hasRow; }

    QVariant value(const QString &column) const; // "Field '%s' not found"
    int AsInteger(const QString &column) const;  // "'x' is not a valid integer value"

private:
    QPointer<SqlConnection> m_connection;
    QString m_sql;
    QSqlRecord m_record;
    bool m_hasRow = false;
    bool m_active = false;
};
