#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

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
