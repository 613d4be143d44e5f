#pragma once

#include "SqlConnection.h"

#include <QSqlQuery>
#include <QStringList>

// "CODIGO|QDE" of each row of `table`, in code order, an empty QDE for NULL.
// Read on an attachment of its own each time: after a server restart the
// window's own attachment may be the one the server lost.
inline QStringList storedQuantities(const QString &database, const QString &table)
{
    SqlConnection connection(QStringLiteral("Conferencia"), QStringLiteral("Conferencia"));
    connection.setDataBase(database);
    const SqlConnection::Use use(connection);
    QSqlQuery query = connection.exec(QStringLiteral("select CODIGO, cast(QDE as integer) from %1 order by CODIGO").arg(table));
    QStringList rows;
    while (query.next())
        rows << query.value(0).toString() + QLatin1Char('|') + (query.isNull(1) ? QString() : query.value(1).toString());
    return rows;
}
