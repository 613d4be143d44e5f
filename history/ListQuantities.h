#pragma once

#include "HistoryStore.h"

#include <QHash>
#include <QString>
#include <optional>

class ClientDataSet;
class SuiteJob;

// Quantities the history puts into the product list: the labels of products
// whose price changed since their last label ("Preços alterados"), or a
// printed job's again ("Repetir"). They are written as typed ones are, all in
// one transaction of a job that holds the suite-wide lock, so another station
// building the list meanwhile never sees half of them.
namespace ListQuantities {

struct PriceChanges
{
    QHash<QString, qint64> fill; // code -> labels, for products whose quantity was empty
    int changed = 0;             // products whose price differs from their last label
    qint64 labels = 0;           // what the list asks for those products once filled
    int neverPrinted = 0;        // products of the list no label was ever printed for

    // "12 produtos com preço diferente da última etiqueta (34 etiquetas)",
    // followed by the products never printed, when there are any.
    QString text() const;
};

// The list's codes, in its order.
QStringList codes(ClientDataSet &list);

// Compares each product's price in the list (PRECO1; empty is 0,00) with the
// price on its last label. A quantity already in the list is kept.
PriceChanges priceChanges(ClientDataSet &list, const QHash<QString, HistoryStore::LastLabel> &last);

// A printed job's quantities for the list: its labels for each of its
// products, and an empty quantity for every other product. `missing` counts
// the job's products the list no longer holds; `othersTyped` the other
// products whose typed quantity would be cleared.
struct Repeat
{
    QHash<QString, std::optional<qint64>> quantities;
    qint64 labels = 0;
    int products = 0;
    int missing = 0;
    int othersTyped = 0;

    QString text(qint64 jobId) const;
};
Repeat repeat(ClientDataSet &list, const QList<PrintedItem> &items);

// Writes code -> quantity (none: empty) into the list's rows, inside `job`,
// and commits. Anything that fails rolls all of them back, reads the list
// again as stored and throws, its text ending in "As quantidades da lista
// ficaram como estavam.".
void write(ClientDataSet &list, const QHash<QString, std::optional<qint64>> &quantities, SuiteJob &job);

} // namespace ListQuantities
