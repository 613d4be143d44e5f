#pragma once

#include "LabelRecord.h"

#include <QList>
#include <QString>

#include <functional>

class QObject;

// What the designer takes from the suite's database, found as the label
// program finds it (BOTICON.INI beside the executable names the server, then
// the suite's main database): the first products of the list (TABREV1, in the
// list's order, with the columns and display formats a print uses) and the
// station of the user who runs the designer (ESTACOES).
struct SuiteData
{
    QList<LabelRecord> products; // empty when the list could not be read or is empty
    QString stationFolder;       // native path of InterfacNN; empty when the user has no station
    QString stationPrinter;      // the station's ROTULO1
    QString problem;             // why something is missing, in Portuguese; empty when nothing is
};

// Reads at most `productCount` products and the station; never throws.
SuiteData readSuiteData(int productCount);

// Reads on a thread of its own, so that a server that does not answer never
// holds up the window, and hands the result to `done` on `context`'s thread
// (not at all when `context` is gone by then).
void readSuiteDataLater(QObject *context, int productCount, std::function<void(const SuiteData &)> done);
