#include "SqlQuery.h"

#include "Conversions.h"
#include "Decimal.h"
#include "SelvarError.h"
#include "SqlConnection.h"

#include <QSqlField>
#include <QSqlQuery>
#include <cmath>
#include <limits>

SqlQuery::SqlQuery(const QString &objectName, SqlConnection *connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    setObjectName(objectName);
}

SqlQuery::~SqlQuery()
{
    Close();
}

void SqlQuery::Open()
{
    if (m_active)
        return;
    m_connection->acquire();
    try {
        m_connection->onLiveAttachment([this] {
            QSqlQuery query = m_connection->exec(m_sql);
            m_hasRow = query.next();
            if (!m_hasRow)
                m_connection->checkFetched(query);
            m_record = query.record();
        });
    } catch (...) {
        m_connection->release();
        throw;
    }
    m_active = true;
}

void SqlQuery::Close()
{
    if (!m_active)
        return;
    m_active = false;
    m_hasRow = false;
    m_record = QSqlRecord();
    if (m_connection)
        m_connection->release();
}

QVariant SqlQuery::value(const QString &column) const
{
    const int index = m_record.indexOf(column);
    if (index < 0)
        throw SelvarError(QStringLiteral("Field '%1' not found").arg(column));
    return m_hasRow ? m_record.value(index) : QVariant();
}

int SqlQuery::AsInteger(const QString &column) const
{
    const QVariant v = value(column);
    if (!v.isValid() || v.isNull())
        return 0;
    // A NUMERIC comes as the driver's text of a double ("1e+06"): read as the
    // number it is, an integer if it has no fraction.
    if (m_record.field(column).metaType().id() == QMetaType::Double) {
        Decimal d;
        if (Decimal::fromText(v.toString(), 8, &d) == Decimal::Read::Ok && d.rescaled(0) == d
            && std::abs(d.toDouble()) <= std::numeric_limits<int>::max())
            return int(d.rescaled(0).units());
    }
    return Conversions::strToInt(v.toString().trimmed());
}
