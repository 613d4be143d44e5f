#pragma once

#include "HistoryStore.h"

#include <QHash>
#include <QString>
#include <optional>

class ClientDataSet;
class SqlConnection;
class SuiteJob;
struct FieldDef;

// Quantities the history puts into the product list: the labels of products
// whose price changed since their last label ("Preços alterados"), or a
// printed job's again ("Repetir"). They are written as typed ones are, all in
// one transaction of a job that holds the suite-wide lock, so another station
// building the list meanwhile never sees half of them.
//
// The comparison works on rows taken from the list shown, so that it can run
// away from the window's thread; each write names the quantity the clerk saw,
// and a row whose quantity changed since (typed meanwhile, here or at another
// station) is left as it is.
namespace ListQuantities {

// A product of the list as shown.
struct Row
{
    QString code;
    std::optional<Decimal> stored; // "Qtde." as it is; none: empty
    std::optional<qint64> quantity; // the same rounded to whole labels
    Decimal price{0, 2};           // PRECO1; empty is 0,00
};
// The list's rows, in its order, read without moving its cursor.
QList<Row> rows(ClientDataSet &list);

// One quantity to write: `to` (none: empty) where "Qtde." still holds `seen`.
struct Change
{
    QString code;
    std::optional<qint64> to;
    std::optional<Decimal> seen;
};

struct PriceChanges
{
    QList<Change> fill;    // labels for products whose quantity was empty
    int changed = 0;       // products whose price differs from their last label
    qint64 labels = 0;     // what the list asks for those products once filled
    int neverPrinted = 0;  // products of the list no label was ever printed for

    // "12 produtos com preço diferente da última etiqueta (34 etiquetas)",
    // followed by the products never printed, when there are any.
    QString text() const;
};

// Compares each product's price in the list with the price on its last
// label. A quantity already in the list is kept.
PriceChanges priceChanges(const QList<Row> &rows, const QHash<QString, HistoryStore::LastLabel> &last);

// A printed job's quantities for the list: its labels for each of its
// products, and an empty quantity for every other product. `missing` counts
// the job's products the list no longer holds; `othersTyped` the other
// products whose typed quantity would be cleared.
struct Repeat
{
    QList<Change> changes;
    qint64 labels = 0;
    int products = 0;
    int missing = 0;
    int othersTyped = 0;

    QString text(qint64 jobId) const;
};
Repeat repeat(const QList<Row> &rows, const QList<PrintedItem> &items);

// Writes the changes into the table's "Qtde." (the column `qde`), inside
// `job`, and commits; `beforeCommit` runs last before the commit (it may
// throw to give up). Anything that fails rolls all of them back and throws,
// its text ending in "As quantidades da lista ficaram como estavam.".
void write(SqlConnection &connection, const QString &table, const FieldDef &qde, const QList<Change> &changes,
           SuiteJob &job, const std::function<void()> &beforeCommit = {});

} // namespace ListQuantities
