#pragma once

#include "LabelRecord.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QThread;

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

// A server that does not take a connection within this is taken for gone
// (Firebird's own client would wait minutes).
constexpr int SuiteConnectTimeoutMs = 3000;

// Reads on a thread of its own, so that a server that does not answer never
// holds up the window, and hands the result to `done` on the owner's thread.
// The owner keeps the reader: going, it waits for the read a bounded time
// (a connect timeout and a little), and a read still under way after that is
// left to end by itself, never heard of again.
class SuiteDataReader : public QObject
{
    Q_OBJECT
public:
    SuiteDataReader(QObject *owner, int productCount, std::function<void(const SuiteData &)> done);
    ~SuiteDataReader() override;

    bool isRunning() const;
    // Waits at most `ms` for the read; true when it is over.
    bool wait(int ms);

private:
    QThread *m_thread;
};
