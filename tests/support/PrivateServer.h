#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include "TestSuite.h"

// A Firebird server of one test's own: its own port, configuration, lock folder
// and copy of the security database, so the test may kill it and start it again
// without touching the server other tests share.
class PrivateServer
{
public:
    PrivateServer();
    ~PrivateServer();

    // False, with the reason, when this machine has no Firebird server to run.
    bool prepare(QString *why);
    bool start(); // returns once the server takes connections
    void kill();  // SIGKILL: the server is gone without a word, as in a power cut

    // The DataBase text of a file in the server's folder: "127.0.0.1/PORT:/path".
    QString databaseText(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    int m_port = 0;
};

// In a test function: starts `server` and makes a suite database on it, named
// by `database` from then on. A machine with no server to run skips the test,
// except under CI, where that is a failure.
#define SELVAR_START_PRIVATE_SUITE(server, database, writes)                                            \
    QString database;                                                                                 \
    do {                                                                                              \
        QString why_;                                                                                 \
        if (!(server).prepare(&why_)) {                                                               \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))                                  \
                QFAIL(qPrintable(why_));                                                              \
            QSKIP(qPrintable(why_));                                                                  \
        }                                                                                             \
        QVERIFY((server).start());                                                                    \
        database = (server).databaseText(QStringLiteral("boticon.bd"));                               \
        QString error_;                                                                               \
        QVERIFY2(TestSuite::createDatabase(database, &error_, writes), qPrintable(error_));            \
    } while (false)
