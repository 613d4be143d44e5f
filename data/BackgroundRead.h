#pragma once

#include "ClientDataSet.h"
#include "FieldDef.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

template <typename Worker> class WorkerThread;

// Reads a table whole on a thread of its own, through an attachment of its
// own, so that the window's thread never waits for the rows: it asks, goes on
// answering the clerk, and gets the rows by a queued signal. A newer read
// makes the one under way give up.
class BackgroundRead : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QString database;       // the connection's DataBase text ("srv:path" or ":path")
        QString statement;      // the select, as a data set's command text
        FieldDefs defs;         // the fields each row holds, in order
        bool stamped = false;   // the table's versions tell whether anything changed
        QString versionColumn;  // the column that numbers a row's version
        QString stampInHand;    // the stamp of the rows in hand; equal: nothing to read
        // What the window would otherwise work out from every row (the list's
        // totals), worked out here once the rows are in.
        std::function<QVariant(const ClientDataSet::ReadyRows &)> summary;
    };
    struct Result
    {
        quint64 id = 0;
        bool unchanged = false;  // the rows in hand are what a read would give
        ClientDataSet::ReadyRows rows; // made ready here: putting them in place is a swap
        QVariant summary;        // the request's summary of the rows read; none when unchanged
        QString stamp;           // taken before the rows; empty when not stamped
        bool stampRefused = false; // the engine has no version column: read whole each time
        bool reconnected = false;  // the attachment was lost and made again for this read
        bool failed = false;
        bool connectionLost = false; // failed because the server could not be reached
        QString error;           // what failed, when failed
    };

    explicit BackgroundRead(QObject *parent = nullptr);
    ~BackgroundRead() override;

    // Starts a read and returns its number; the answer comes by finished().
    // Every read asked before it and not yet done gives up.
    quint64 read(const Request &request);
    // The read under way, if any, gives up and says nothing.
    void cancel();
    // Lets rows go on the reading thread: freeing a large list costs the
    // window's thread as much as reading it would.
    void dispose(ClientDataSet::ReadyRows &&rows);
    // Makes each read wait for the hook before it begins to fetch: a test slows
    // the read down on purpose to type during it. Runs on the reading thread.
    void setBeforeFetch(std::function<void()> hook);

signals:
    void finished(const std::shared_ptr<BackgroundRead::Result> &result);

private:
    class Worker;
    std::shared_ptr<std::atomic<quint64>> m_wanted; // the newest read asked for; older ones give up
    std::unique_ptr<WorkerThread<Worker>> m_thread;
    quint64 m_lastId = 0;
};
