#include "ListTotals.h"

#include "ClientDataSet.h"
#include "Field.h"

ListTotals ListTotals::of(ClientDataSet &list)
{
    ListTotals totals;
    if (!list.Active())
        return totals;
    const int quantity = list.FieldByName(QStringLiteral("QDE")).Index();
    const int rows = list.RecordCount();
    for (int row = 0; row < rows; ++row) {
        const QVariant value = list.valueAt(row, quantity);
        if (value.isNull() || value.metaType() != QMetaType::fromType<Decimal>())
            continue;
        const qint64 labels = value.value<Decimal>().roundHalfEven();
        if (labels > 0) {
            totals.labels += labels;
            ++totals.products;
        }
    }
    return totals;
}

QString ListTotals::text() const
{
    return QStringLiteral("%1 %2 em %3 %4")
        .arg(labels)
        .arg(labels == 1 ? QStringLiteral("etiqueta") : QStringLiteral("etiquetas"))
        .arg(products)
        .arg(products == 1 ? QStringLiteral("produto") : QStringLiteral("produtos"));
}
