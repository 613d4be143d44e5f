#pragma once

#include "FieldDef.h"
#include "HistoryWork.h"
#include "ListQuantities.h"

class TDM;

// A task that writes quantities the history worked out into the list, under
// the suite-wide lock, in one transaction of the history worker's own.
struct HistoryListWrite
{
    QString table;
    FieldDef qde;
    QString station;

    explicit HistoryListWrite(TDM &dm);
    void operator()(HistoryWork::Context &context, const QList<ListQuantities::Change> &changes) const;
};
