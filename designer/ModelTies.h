#pragma once

#include "ReportProject.h"

// Two reports of one kind (sheet or thermal) that list the same model: the
// print takes the first of the file for it, so the other never prints that
// model. The designer and --check say so, with both names.
struct ModelTie
{
    QString model;
    QString printed; // the report that prints the model: the first in the file
    QString unused;  // the one that lists it in vain
};

QList<ModelTie> modelTies(const QList<SheetReport> &reports);

// The sentence that tells it.
QString tieWarning(const ModelTie &tie);
