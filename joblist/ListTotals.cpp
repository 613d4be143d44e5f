#include "ListTotals.h"

#include "ClientDataSet.h"
#include "Decimal.h"
#include "Field.h"
#include "LabelQuantity.h"
#include "SqlConnection.h"

#include <QSqlQuery>

ListTotals ListTotals::of(ClientDataSet &list)
{
    ListTotals totals;
    if (!list.Active())
        return totals;
    const int quantity = list.FieldByName(QStringLiteral("QDE")).Index();
    const int rows = list.RecordCount();
    for (int row = 0; row < rows; ++row)
        totals.add(list.valueAt(row, quantity));
    return totals;
}

ListTotals ListTotals::of(const ClientDataSet::ReadyRows &rows, int quantityColumn)
{
    ListTotals totals;
    for (std::size_t row = 0; row < rows.size(); ++row)
        totals.add(rows.at(row).value(quantityColumn));
    return totals;
}

ListTotals ListTotals::stored(SqlConnection &connection)
{
    ListTotals totals;
    connection.acquire();
    struct Releaser { SqlConnection &c; ~Releaser() { c.release(); } } releaser{connection};
    // As text, exact: the driver would hand the number over through a double.
    QSqlQuery query = connection.exec(QStringLiteral("select cast(QDE as varchar(32)) from TABREV1 where QDE > 0"));
    while (query.next()) {
        Decimal quantity;
        if (Decimal::fromText(query.value(0).toString(), 3, &quantity) == Decimal::Read::Ok)
            totals.add(LabelQuantity::labels(quantity));
    }
    return totals;
}

void ListTotals::add(const QVariant &quantity)
{
    add(LabelQuantity::labels(quantity));
}

void ListTotals::add(qint64 count)
{
    if (count > 0) {
        labels += count;
        ++products;
    }
}

QString ListTotals::text() const
{
    return QStringLiteral("%1 %2 em %3 %4")
        .arg(labels)
        .arg(labels == 1 ? QStringLiteral("etiqueta") : QStringLiteral("etiquetas"))
        .arg(products)
        .arg(products == 1 ? QStringLiteral("produto") : QStringLiteral("produtos"));
}
