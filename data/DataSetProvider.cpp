#include "DataSetProvider.h"

#include "Decimal.h"
#include "Field.h"
#include "SelvarError.h"
#include "SqlConnection.h"
#include "SqlDataSet.h"

#include <QRegularExpression>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

DataSetProvider::DataSetProvider(const QString &objectName, SqlDataSet *dataSet, UpdateMode mode, QObject *parent)
    : QObject(parent), m_dataSet(dataSet), m_mode(mode)
{
    setObjectName(objectName);
}

SqlConnection *DataSetProvider::connection() const
{
    return m_dataSet->SQLConnection();
}

// Looked up again only when the statement changes: every posted row asks for it.
QString DataSetProvider::tableName() const
{
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s+([A-Za-z0-9_$]+)"), QRegularExpression::CaseInsensitiveOption);
    const QString &command = m_dataSet->CommandText();
    if (command != m_tableNameOf) {
        const auto match = from.match(command);
        m_tableName = match.hasMatch() ? match.captured(1).toUpper() : QString();
        m_tableNameOf = command;
    }
    return m_tableName;
}

namespace {

QVariant fromDriver(const FieldDef &def, const QVariant &raw)
{
    if (!raw.isValid() || raw.isNull())
        return QVariant();
    switch (def.type) {
    case FieldType::Text: {
        QString text = raw.toString();
        if (text.isEmpty())
            return QVariant();
        return raw.typeId() == QMetaType::QString ? raw : QVariant(std::move(text));
    }
    case FieldType::Integer:
        return raw.toInt();
    case FieldType::Decimal: {
        // HighPrecision hands the decimal over as text, which the driver computes
        // through a double ("99999999999.99901" for 99999999999.999). A column of
        // at most 15 digits survives that, so rounding to the column's scale gives
        // back the stored digits exactly.
        Decimal d;
        if (!Decimal::parse(raw.toString(), def.scale, &d))
            throw SelvarError(QStringLiteral("'%1' is not a valid BCD value").arg(raw.toString()));
        return QVariant::fromValue(d);
    }
    case FieldType::Double:
        return raw.toDouble();
    case FieldType::Timestamp:
        return raw.toDateTime();
    case FieldType::Blob:
        return raw.toByteArray();
    }
    return raw;
}

} // namespace

std::vector<QVector<QVariant>> DataSetProvider::fetch(const FieldDefs &defs) const
{
    QSqlQuery query = connection()->exec(m_dataSet->CommandText(), m_dataSet->Params());
    const QSqlRecord record = query.record();
    QVector<int> columnOf(defs.size());
    for (int i = 0; i < defs.size(); ++i) {
        columnOf[i] = record.indexOf(defs[i].name);
        if (columnOf[i] < 0)
            throw SelvarError(QStringLiteral("Field '%1' not found").arg(defs[i].name));
    }
    std::vector<QVector<QVariant>> rows;
    while (query.next()) {
        QVector<QVariant> row;
        row.reserve(defs.size());
        for (int i = 0; i < defs.size(); ++i)
            row.append(fromDriver(defs[i], query.value(columnOf[i])));
        rows.push_back(std::move(row));
    }
    return rows;
}

QVariant toParameter(const FieldDef &def, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        switch (def.type) {
        case FieldType::Integer: return QVariant(QMetaType::fromType<int>());
        case FieldType::Double: return QVariant(QMetaType::fromType<double>());
        case FieldType::Timestamp: return QVariant(QMetaType::fromType<QDateTime>());
        case FieldType::Blob: return QVariant(QMetaType::fromType<QByteArray>());
        default: return QVariant(QMetaType::fromType<QString>());
        }
    }
    // The driver takes a NUMERIC parameter through a double whatever it is handed;
    // the exact units divided by the scale give the very double the decimal text
    // would (both are correctly rounded, and 15 digits fit a double), at less cost.
    if (def.type == FieldType::Decimal)
        return value.value<Decimal>().toDouble();
    return value;
}

DataSetProvider::Statement DataSetProvider::insertStatement(const FieldDefs &defs, const QVector<QVariant> &values,
                                                            const QVector<bool> &assigned) const
{
    Statement st;
    st.params.reserve(defs.size());
    for (int i = 0; i < defs.size(); ++i)
        if (assigned[i])
            st.params << toParameter(defs[i], values[i]);
    // A run of appends assigns the same columns row after row: the text is made once.
    const QString table = tableName();
    if (assigned != m_insertColumns || table != m_insertTable) {
        QString columns, marks;
        for (int i = 0; i < defs.size(); ++i) {
            if (!assigned[i])
                continue;
            if (!columns.isEmpty()) {
                columns += QLatin1String(", ");
                marks += QLatin1String(", ");
            }
            columns += defs[i].name;
            marks += QLatin1Char('?');
        }
        m_insertSql = QLatin1String("insert into ") + table + QLatin1String(" (") + columns
                      + QLatin1String(") values (") + marks + QLatin1Char(')');
        m_insertColumns = assigned;
        m_insertTable = table;
    }
    st.sql = m_insertSql;
    return st;
}

void DataSetProvider::appendWhere(Statement &st, const FieldDefs &defs, const QVector<QVariant> &original) const
{
    QStringList conditions;
    for (int i = 0; i < defs.size(); ++i) {
        if (m_mode == UpdateMode::WhereKeyOnly && !defs[i].key)
            continue;
        if (!original[i].isValid() || original[i].isNull()) {
            conditions << defs[i].name + QStringLiteral(" is null");
        } else {
            conditions << defs[i].name + QStringLiteral(" = ?");
            st.params << toParameter(defs[i], original[i]);
        }
    }
    st.sql += QStringLiteral(" where ") + conditions.join(QStringLiteral(" and "));
}

DataSetProvider::Statement DataSetProvider::updateStatement(const FieldDefs &defs, const QVector<QVariant> &original,
                                                            const QVector<QVariant> &values) const
{
    Statement st;
    QStringList sets;
    for (int i = 0; i < defs.size(); ++i) {
        if (values[i] == original[i])
            continue;
        sets << defs[i].name + QStringLiteral(" = ?");
        st.params << toParameter(defs[i], values[i]);
    }
    st.sql = QStringLiteral("update %1 set %2").arg(tableName(), sets.join(QStringLiteral(", ")));
    appendWhere(st, defs, original);
    return st;
}

DataSetProvider::Statement DataSetProvider::deleteStatement(const FieldDefs &defs, const QVector<QVariant> &original) const
{
    Statement st;
    st.sql = QStringLiteral("delete from %1").arg(tableName());
    appendWhere(st, defs, original);
    return st;
}
