#pragma once

#include "BackgroundTask.h"
#include "LabelRecord.h"

#include <QList>
#include <QString>

#include <functional>

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
    QString database;            // the suite's main database (DataBase text) when it answered; empty else
};

// Reads at most `productCount` products and the station; never throws.
SuiteData readSuiteData(int productCount);

// A server that does not take a connection within this is taken for gone
// (Firebird's own client would wait minutes).
constexpr int SuiteConnectTimeoutMs = 3000;

// Whether a Firebird server ("host" or "host/port") takes a connection in time.
bool suiteServerAnswers(const QString &server);

// Reads on a thread of its own, so that a server that does not answer never
// holds up the window, and hands the result to `done` on the owner's thread.
BackgroundTask *startSuiteDataRead(QObject *owner, int productCount, std::function<void(const SuiteData &)> done);
