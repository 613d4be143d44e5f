#include "PrintedJob.h"

#include "ClientDataSet.h"
#include "LabelQuantity.h"

#include <algorithm>

PrintedJob PrintedJob::fromList(ClientDataSet &list, qint64 skipped)
{
    PrintedJob job;
    job.skipped = skipped;
    if (!list.Active())
        list.Open();
    const int codigo = list.FieldByName(QStringLiteral("CODIGO")).Index();
    const int componente = list.FieldByName(QStringLiteral("COMPONENTE")).Index();
    const int qde = list.FieldByName(QStringLiteral("QDE")).Index();
    const int ean = list.FieldByName(QStringLiteral("CODIGOEAN")).Index();
    const int preco = list.FieldByName(QStringLiteral("PRECO1")).Index();
    const int rows = list.RecordCount();
    for (int row = 0; row < rows; ++row) {
        const qint64 labels = LabelQuantity::labels(list.valueAt(row, qde));
        if (labels == 0)
            continue;
        PrintedItem item;
        item.order = int(job.items.size()) + 1;
        item.codigo = list.valueAt(row, codigo).toString();
        item.componente = list.valueAt(row, componente).toString();
        item.codigoEan = list.valueAt(row, ean).toString();
        const QVariant price = list.valueAt(row, preco);
        if (!price.isNull())
            item.preco = price.value<Decimal>().rescaled(2);
        item.labels = labels;
        job.items.append(item);
    }
    return job;
}

qint64 PrintedJob::labels() const
{
    qint64 total = 0;
    for (const PrintedItem &item : items)
        total += item.labels;
    return total;
}

PrintedJob PrintedJob::part(qint64 from, qint64 count) const
{
    PrintedJob slice = *this;
    slice.items.clear();
    const qint64 end = from + std::max<qint64>(count, 0);
    qint64 start = skipped;
    for (const PrintedItem &item : items) {
        const qint64 first = std::max(start, from);
        const qint64 last = std::min(start + item.labels, end);
        if (last > first) {
            PrintedItem piece = item;
            piece.labels = last - first;
            slice.items.append(piece);
        }
        start += item.labels;
    }
    return slice;
}
