#pragma once

#include "Decimal.h"

#include <QList>
#include <QString>

class ClientDataSet;

// One product of a label job as it went to the label stock.
struct PrintedItem
{
    int order = 0; // its place among the job's products, from 1
    QString codigo;
    QString componente;
    QString codigoEan;
    Decimal preco{0, 2}; // as printed: an empty price prints 0,00
    qint64 labels = 0;
};

// What one print put on the label stock, product by product, in label order
// after the positions skipped for "Etiq. Inicial". A thermal hand-over that
// stops part way has put out only the first positions; `part` says which
// products' labels those were.
struct PrintedJob
{
    QString station;
    QString user;
    QString modelCode;
    QString modelDescription;
    qint64 skipped = 0;
    QList<PrintedItem> items; // products with at least one label

    // The job the list asks for: each product of TABREV1 with its rounded quantity.
    static PrintedJob fromList(ClientDataSet &list, qint64 skipped);

    qint64 labels() const;
    qint64 positions() const { return skipped + labels(); }

    // The labels among `count` positions from position `from` (0 = the first
    // position on the stock, skipped ones included); same job, fewer labels.
    PrintedJob part(qint64 from, qint64 count) const;
};
