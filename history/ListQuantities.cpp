#include "ListQuantities.h"

#include "ClientDataSet.h"
#include "DataSetProvider.h"
#include "LabelQuantity.h"
#include "Decimal.h"
#include "SelvarError.h"
#include "SqlConnection.h"
#include "SuiteJob.h"

namespace {

QString counted(qint64 count, const QString &one, const QString &many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

// Quantities go many to a statement: ten thousand products are two hundred
// round trips, not ten thousand.
constexpr int kChangesPerStatement = 50;

// The code's parameter takes the column's own type: a suite whose codes are
// wider than the usual thirteen characters keeps them whole.
QString mergeStatement(const QString &table, const FieldDef &qde, int rows)
{
    const QString mark = parameterMark(qde);
    QStringList selects;
    for (int i = 0; i < rows; ++i)
        selects << QStringLiteral("select cast(? as type of column %1.CODIGO) C, %2 Q, %2 W from RDB$DATABASE").arg(table, mark);
    return QStringLiteral("merge into %1 T using (%2) S on T.CODIGO = S.C "
                          "when matched and T.QDE is not distinct from S.W then update set QDE = S.Q")
        .arg(table, selects.join(QStringLiteral(" union all ")));
}

QVariant decimalOf(const std::optional<qint64> &labels)
{
    return labels ? QVariant::fromValue(Decimal(*labels * 1000, 3)) : QVariant();
}

QVariant decimalOf(const std::optional<Decimal> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

} // namespace

QList<ListQuantities::Row> ListQuantities::rows(ClientDataSet &list)
{
    if (!list.Active())
        list.Open();
    const int codigo = list.FieldByName(QStringLiteral("CODIGO")).Index();
    const int qde = list.FieldByName(QStringLiteral("QDE")).Index();
    const int preco = list.FieldByName(QStringLiteral("PRECO1")).Index();
    QList<Row> rows;
    const int count = list.RecordCount();
    rows.reserve(count);
    for (int row = 0; row < count; ++row) {
        Row r;
        r.code = list.valueAt(row, codigo).toString();
        const QVariant quantity = list.valueAt(row, qde);
        if (!quantity.isNull()) {
            r.stored = quantity.value<Decimal>();
            r.quantity = LabelQuantity::labels(*r.stored);
        }
        const QVariant price = list.valueAt(row, preco);
        if (!price.isNull())
            r.price = price.value<Decimal>();
        rows.append(r);
    }
    return rows;
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

ListQuantities::PriceChanges ListQuantities::priceChanges(const QList<Row> &rows,
                                                          const QHash<QString, HistoryStore::LastLabel> &last)
{
    PriceChanges changes;
    for (const Row &row : rows) {
        const auto printed = last.constFind(row.code);
        if (printed == last.constEnd()) {
            ++changes.neverPrinted;
            continue;
        }
        if (printed->price == row.price)
            continue;
        ++changes.changed;
        if (row.quantity) {
            changes.labels += *row.quantity;
        } else {
            changes.fill.append(Change{row.code, printed->labels, std::nullopt});
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

ListQuantities::Repeat ListQuantities::repeat(const QList<Row> &rows, const QList<PrintedItem> &items)
{
    QHash<QString, qint64> wanted;
    for (const PrintedItem &item : items)
        wanted[item.codigo] += item.labels;
    Repeat result;
    int found = 0;
    for (const Row &row : rows) {
        const auto labels = wanted.constFind(row.code);
        if (labels != wanted.constEnd()) {
            ++found;
            result.changes.append(Change{row.code, *labels, row.stored});
            result.labels += *labels;
            ++result.products;
        } else if (row.quantity) {
            ++result.othersTyped;
            result.changes.append(Change{row.code, std::nullopt, row.stored});
        }
    }
    result.missing = int(wanted.size()) - found;
    return result;
}

void ListQuantities::write(SqlConnection &connection, const QString &table, const FieldDef &qde,
                           const QList<Change> &changes, SuiteJob &job, const std::function<void()> &beforeCommit)
{
    if (changes.isEmpty())
        return;
    job.Begin();
    try {
        for (qsizetype from = 0; from < changes.size(); from += kChangesPerStatement) {
            const qsizetype rows = qMin<qsizetype>(kChangesPerStatement, changes.size() - from);
            QVariantList params;
            params.reserve(rows * 3);
            for (qsizetype i = from; i < from + rows; ++i) {
                const Change &change = changes[i];
                params << change.code << toParameter(qde, decimalOf(change.to)) << toParameter(qde, decimalOf(change.seen));
            }
            connection.execWrite(mergeStatement(table, qde, int(rows)), params);
        }
        if (beforeCommit)
            beforeCommit();
        job.Commit();
    } catch (...) {
        job.RollbackAndRethrow(QStringLiteral("As quantidades da lista ficaram como estavam."));
    }
}
