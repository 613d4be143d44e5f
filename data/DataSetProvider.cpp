#include "DataSetProvider.h"

#include "DatabaseErrors.h"
#include "Decimal.h"
#include "ExactSelect.h"
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

QString DataSetProvider::stamp() const
{
    // Parameters would have to be compared by value and type; the lists read whole have none.
    if (!m_versionStamped || m_stampRefused || !m_dataSet->Params().isEmpty())
        return QString();
    const QString table = tableName();
    if (table.isEmpty())
        return QString();
    // Transaction numbers run to 48 bits: summed whole over a long list they
    // would overflow a bigint, which the database refuses. Taken modulo 2^31 - 1
    // they are themselves for the first two billion transactions and the sum of
    // any list fits.
    const QString statement = QStringLiteral("select count(*), sum(mod(%1, 2147483647)), max(%1) from %2").arg(m_versionColumn, table);
    QString stamp;
    connection()->onLiveAttachment([&] {
        stamp.clear();
        QSqlQuery query;
        try {
            query = connection()->exec(statement, {});
        } catch (const DatabaseError &error) {
            if (isConnectionFailure(error))
                throw;
            // The engine does not know the column: no stamp, the rows are read whole.
            m_stampRefused = true;
            return;
        }
        if (!query.next()) {
            connection()->checkFetched(query);
            return;
        }
        stamp = m_dataSet->CommandText();
        for (int column = 0; column < 3; ++column)
            stamp += QLatin1Char('\n') + query.value(column).toString();
    });
    return stamp;
}

namespace {

// A decimal as the driver hands it: the database's text of it for a column the
// select reads exactly, else the driver's own (a double, or its shortest text,
// "1e+06"). A value beyond what the column holds here is kept as written, so
// that only reading that column fails, with its name.
QVariant decimalFromDriver(const FieldDef &def, const QVariant &raw)
{
    Decimal d;
    Decimal::Read read;
    switch (raw.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        read = Decimal::fromDouble(raw.toDouble(), def.scale, &d);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        read = Decimal::fromInteger(raw.toLongLong(), def.scale, &d);
        break;
    default:
        read = Decimal::fromText(raw.toString(), def.scale, &d);
    }
    if (read != Decimal::Read::Ok)
        return QVariant::fromValue(UnheldValue{raw.typeId() == QMetaType::Double ? plainDoubleText(raw.toDouble()) : raw.toString()});
    return QVariant::fromValue(d);
}

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
    case FieldType::Decimal:
        return decimalFromDriver(def, raw);
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

// Looked up again only when the statement changes: the list is read again after posts.
const QString &DataSetProvider::exactStatement(const FieldDefs &defs) const
{
    const QString &command = m_dataSet->CommandText();
    if (command != m_exactOf) {
        m_exactSql = ExactSelect::statement(command, defs);
        m_exactOf = command;
    }
    return m_exactSql;
}

std::vector<QVector<QVariant>> DataSetProvider::fetch(const FieldDefs &defs) const
{
    std::vector<QVector<QVariant>> rows;
    fetch(defs, &rows, {});
    return rows;
}

bool DataSetProvider::fetch(const FieldDefs &defs, std::vector<QVector<QVariant>> *rows, const KeepGoing &keepGoing) const
{
    // A read broken off halfway starts over on a new attachment.
    bool whole = false;
    connection()->onLiveAttachment([&] { whole = fetchOnce(defs, rows, keepGoing); });
    return whole;
}

bool DataSetProvider::fetchOnce(const FieldDefs &defs, std::vector<QVector<QVariant>> *rows, const KeepGoing &keepGoing) const
{
    QSqlQuery query = connection()->exec(exactStatement(defs), m_dataSet->Params());
    const QSqlRecord record = query.record();
    QVector<int> columnOf(defs.size());
    for (int i = 0; i < defs.size(); ++i) {
        columnOf[i] = defs[i].type == FieldType::Decimal ? record.indexOf(ExactSelect::textColumn(defs[i].name)) : -1;
        if (columnOf[i] < 0)
            columnOf[i] = record.indexOf(defs[i].name);
        if (columnOf[i] < 0)
            throw SelvarError(QStringLiteral("Field '%1' not found").arg(defs[i].name));
    }
    std::vector<QVector<QVariant>> read;
    // Asked every few hundred rows: often enough to answer a key within a few
    // milliseconds, seldom enough to cost nothing.
    constexpr std::size_t kAskEvery = 256;
    while (query.next()) {
        if (keepGoing && read.size() % kAskEvery == kAskEvery - 1 && !keepGoing())
            return false;
        QVector<QVariant> row;
        row.reserve(defs.size());
        for (int i = 0; i < defs.size(); ++i)
            row.append(fromDriver(defs[i], query.value(columnOf[i])));
        read.push_back(std::move(row));
    }
    connection()->checkFetched(query);
    *rows = std::move(read);
    return true;
}

QVariant toParameter(const FieldDef &def, const QVariant &value)
{
    if (def.type == FieldType::Decimal && value.typeId() == qMetaTypeId<UnheldValue>())
        throwOutOfRange(def, value.value<UnheldValue>().text);
    if (!value.isValid() || value.isNull()) {
        switch (def.type) {
        case FieldType::Integer: return QVariant(QMetaType::fromType<int>());
        case FieldType::Decimal: return QVariant(QMetaType::fromType<qlonglong>());
        case FieldType::Double: return QVariant(QMetaType::fromType<double>());
        case FieldType::Timestamp: return QVariant(QMetaType::fromType<QDateTime>());
        case FieldType::Blob: return QVariant(QMetaType::fromType<QByteArray>());
        default: return QVariant(QMetaType::fromType<QString>());
        }
    }
    // The units of the column's scale, which parameterMark turns back into the
    // decimal: the driver would take a NUMERIC parameter through a double.
    if (def.type == FieldType::Decimal)
        return qlonglong(value.value<Decimal>().rescaled(def.scale).units());
    return value;
}

QString parameterMark(const FieldDef &def)
{
    if (def.type != FieldType::Decimal)
        return QStringLiteral("?");
    // A bigint times an exact literal of the scale is an exact NUMERIC of that scale.
    if (def.scale <= 0)
        return QStringLiteral("cast(? as bigint)");
    return QLatin1String("(cast(? as bigint) * 0.") + QString(def.scale - 1, QLatin1Char('0')) + QLatin1String("1)");
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
            marks += parameterMark(defs[i]);
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
            conditions << defs[i].name + QStringLiteral(" = ") + parameterMark(defs[i]);
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
        sets << defs[i].name + QStringLiteral(" = ") + parameterMark(defs[i]);
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
