#include "ListQuantities.h"

#include "ClientDataSet.h"
#include "DataSetProvider.h"
#include "Decimal.h"
#include "SelvarError.h"
#include "SqlConnection.h"
#include "SuiteJob.h"

#include <algorithm>

namespace {

QString counted(qint64 count, const QString &one, const QString &many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

// The row values a comparison needs, read without moving the list's cursor.
struct ListRow
{
    QString code;
    std::optional<qint64> quantity; // none: empty
    Decimal price;
};

QList<ListRow> rowsOf(ClientDataSet &list)
{
    if (!list.Active())
        list.Open();
    const int codigo = list.FieldByName(QStringLiteral("CODIGO")).Index();
    const int qde = list.FieldByName(QStringLiteral("QDE")).Index();
    const int preco = list.FieldByName(QStringLiteral("PRECO1")).Index();
    QList<ListRow> rows;
    const int count = list.RecordCount();
    for (int row = 0; row < count; ++row) {
        ListRow r{list.valueAt(row, codigo).toString(), std::nullopt, Decimal(0, 2)};
        const QVariant quantity = list.valueAt(row, qde);
        if (!quantity.isNull())
            r.quantity = quantity.value<Decimal>().roundHalfEven();
        const QVariant price = list.valueAt(row, preco);
        if (!price.isNull())
            r.price = price.value<Decimal>();
        rows.append(r);
    }
    return rows;
}

} // namespace

QStringList ListQuantities::codes(ClientDataSet &list)
{
    QStringList codes;
    for (const ListRow &row : rowsOf(list))
        codes << row.code;
    return codes;
}

QString ListQuantities::PriceChanges::text() const
{
    QString line = changed == 0
        ? QStringLiteral("Nenhum produto com preço diferente da última etiqueta")
        : QStringLiteral("%1 com preço diferente da última etiqueta (%2)")
              .arg(counted(changed, QStringLiteral("produto"), QStringLiteral("produtos")),
                   counted(labels, QStringLiteral("etiqueta"), QStringLiteral("etiquetas")));
    if (neverPrinted > 0)
        line += QStringLiteral("; %1").arg(counted(neverPrinted, QStringLiteral("produto nunca impresso"),
                                                   QStringLiteral("produtos nunca impressos")));
    return line;
}

ListQuantities::PriceChanges ListQuantities::priceChanges(ClientDataSet &list,
                                                          const QHash<QString, HistoryStore::LastLabel> &last)
{
    PriceChanges changes;
    for (const ListRow &row : rowsOf(list)) {
        const auto printed = last.constFind(row.code);
        if (printed == last.constEnd()) {
            ++changes.neverPrinted;
            continue;
        }
        if (printed->price == row.price)
            continue;
        ++changes.changed;
        if (row.quantity) {
            changes.labels += qMax<qint64>(*row.quantity, 0);
        } else {
            changes.fill.insert(row.code, printed->labels);
            changes.labels += printed->labels;
        }
    }
    return changes;
}

QString ListQuantities::Repeat::text(qint64 jobId) const
{
    QString line = QStringLiteral("Trabalho %1 na lista: %2 em %3, aos preços de hoje")
                       .arg(jobId)
                       .arg(counted(labels, QStringLiteral("etiqueta"), QStringLiteral("etiquetas")),
                            counted(products, QStringLiteral("produto"), QStringLiteral("produtos")));
    if (missing > 0)
        line += QStringLiteral("; %1").arg(counted(missing, QStringLiteral("produto não está mais na lista"),
                                                   QStringLiteral("produtos não estão mais na lista")));
    return line;
}

ListQuantities::Repeat ListQuantities::repeat(ClientDataSet &list, const QList<PrintedItem> &items)
{
    QHash<QString, qint64> wanted;
    for (const PrintedItem &item : items)
        wanted[item.codigo] += item.labels;
    Repeat result;
    int found = 0;
    for (const ListRow &row : rowsOf(list)) {
        const auto labels = wanted.constFind(row.code);
        if (labels != wanted.constEnd()) {
            ++found;
            result.quantities.insert(row.code, *labels);
            result.labels += *labels;
            ++result.products;
        } else if (row.quantity) {
            ++result.othersTyped;
            result.quantities.insert(row.code, std::nullopt);
        }
    }
    result.missing = int(wanted.size()) - found;
    return result;
}

void ListQuantities::write(ClientDataSet &list, const QHash<QString, std::optional<qint64>> &quantities, SuiteJob &job)
{
    if (quantities.isEmpty())
        return;
    const int recNo = list.RecNo();
    const FieldDefs &defs = list.fieldDefs();
    const auto qde = std::find_if(defs.begin(), defs.end(), [](const FieldDef &def) { return def.name == QLatin1String("QDE"); });
    if (qde == defs.end())
        throw SelvarError(QStringLiteral("Field 'QDE' not found"));
    // One update per product, and the list read back once at the end: a post
    // per row would read the whole list again before positioning on the next.
    SqlConnection &connection = *list.Provider()->connection();
    const QString update = QStringLiteral("update %1 set QDE = %2 where CODIGO = ?")
                               .arg(list.Provider()->tableName(), parameterMark(*qde));
    job.Begin();
    try {
        for (auto it = quantities.constBegin(); it != quantities.constEnd(); ++it) {
            const QVariant value = *it ? QVariant::fromValue(Decimal(**it * 1000, 3)) : QVariant();
            connection.execWrite(update, {toParameter(*qde, value), it.key()});
        }
        job.Commit();
    } catch (...) {
        job.RollbackAndRethrow(QStringLiteral("As quantidades da lista ficaram como estavam."));
    }
    list.Refresh();
    if (recNo > 0)
        list.setRecNo(recNo);
}
