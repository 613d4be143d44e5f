#pragma once

#include "FieldDef.h"

#include <QObject>
#include <QVariant>
#include <QVector>
#include <functional>
#include <vector>

class SqlDataSet;
class SqlConnection;

// Reads the rows of its SQL data set and turns a client data set's changes into
// statements on the table named after "from". Rows are located by the key
// columns, or by every column with its old value where the table has no key.
class DataSetProvider : public QObject
{
    Q_OBJECT
public:
    enum class UpdateMode { WhereKeyOnly, WhereAll };

    DataSetProvider(const QString &objectName, SqlDataSet *dataSet, UpdateMode mode, QObject *parent = nullptr);

    SqlDataSet *DataSet() const { return m_dataSet; }
    SqlConnection *connection() const;
    UpdateMode updateMode() const { return m_mode; }

    // Every row of the statement, each holding the declared fields in their order.
    std::vector<QVector<QVariant>> fetch(const FieldDefs &defs) const;
    // The same, asking keepGoing now and then while rows arrive; false from it
    // abandons the read (and returns false) with the rows left as they were.
    using KeepGoing = std::function<bool()>;
    bool fetch(const FieldDefs &defs, std::vector<QVector<QVariant>> *rows, const KeepGoing &keepGoing) const;

    // The table the statement reads ("select ... from TABREV1 order by ..." -> "TABREV1").
    QString tableName() const;

    // A table that several stations read whole, again and again, can tell cheaply
    // whether a read would give anything new: every committed insert, update or
    // delete changes the count of its rows or the sum or the highest of their
    // record versions (the transaction that wrote each visible row version).
    // Off unless asked for.
    void setVersionStamped(bool on) { m_versionStamped = on; }
    bool versionStamped() const { return m_versionStamped; }
    // The column that numbers a row's version. An engine without it (before
    // Firebird 3) refuses the stamp's statement: the table is then read whole
    // every time, and stampRefused() says so.
    void setVersionColumn(const QString &column) { m_versionColumn = column; }
    const QString &versionColumn() const { return m_versionColumn; }
    bool stampRefused() const { return m_stampRefused; }
    // The statement, its parameters and the table's versions as they stand now;
    // empty when the table is not stamped. Taken before a read, a stamp equal to
    // a later one means reading again would give the same rows in the same order.
    QString stamp() const;

    struct Statement
    {
        QString sql;
        QVariantList params;
    };
    Statement insertStatement(const FieldDefs &defs, const QVector<QVariant> &values, const QVector<bool> &assigned) const;
    Statement updateStatement(const FieldDefs &defs, const QVector<QVariant> &original, const QVector<QVariant> &values) const;
    Statement deleteStatement(const FieldDefs &defs, const QVector<QVariant> &original) const;

private:
    bool fetchOnce(const FieldDefs &defs, std::vector<QVector<QVariant>> *rows, const KeepGoing &keepGoing) const;
    void appendWhere(Statement &statement, const FieldDefs &defs, const QVector<QVariant> &original) const;
    const QString &exactStatement(const FieldDefs &defs) const;

    SqlDataSet *m_dataSet;
    UpdateMode m_mode;
    bool m_versionStamped = false;
    QString m_versionColumn = QStringLiteral("rdb$record_version");
    mutable bool m_stampRefused = false;
    mutable QString m_tableNameOf; // the statement m_tableName was read from
    mutable QString m_tableName;
    mutable QString m_exactOf; // the statement m_exactSql was made from
    mutable QString m_exactSql;
    mutable QVector<bool> m_insertColumns; // the assigned columns m_insertSql was made for
    mutable QString m_insertTable;
    mutable QString m_insertSql;
};

// A value as the driver takes it as a bound parameter, and the placeholder that
// takes it in a statement: a decimal travels as the integer of its units.
QVariant toParameter(const FieldDef &def, const QVariant &value);
QString parameterMark(const FieldDef &def);
