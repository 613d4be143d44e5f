#pragma once

#include "ClientDataSet.h"

#include <QString>

class SqlConnection;

// How many labels the list will print and for how many products, counted as
// the print counts them (LabelQuantity).
struct ListTotals
{
    qint64 labels = 0;
    int products = 0;

    // Walks the open list, the row being edited with what is typed into it.
    static ListTotals of(ClientDataSet &list);
    // Rows just read, counted on the thread that read them.
    static ListTotals of(const ClientDataSet::ReadyRows &rows, int quantityColumn);

    // What TABREV1 holds in the database at this moment, for every station.
    static ListTotals stored(SqlConnection &connection);

    // "17 etiquetas em 6 produtos", "1 etiqueta em 1 produto".
    QString text() const;

private:
    void add(const QVariant &quantity);
    void add(qint64 labels);
};
