#include "PrivateServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

const char kServer[] = "/usr/sbin/firebird";
const char kSecurityDatabase[] = "/var/lib/firebird/3.0/system/security3.fdb";

QString firebirdRoot()
{
    for (const QString &lib : QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString root = QStringLiteral("/usr/lib/%1/firebird/3.0").arg(lib);
        if (QFile::exists(root + QStringLiteral("/plugins")))
            return root;
    }
    return QFile::exists(QStringLiteral("/usr/lib/firebird/3.0/plugins")) ? QStringLiteral("/usr/lib/firebird/3.0") : QString();
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

PrivateServer::PrivateServer() = default;

PrivateServer::~PrivateServer()
{
    kill();
}

// The server's root folder mirrors the installed one: its configuration files
// copied (the port and the security database changed), the rest linked, and
// the character sets copied, since the engine loads no module from outside
// its root.
bool PrivateServer::prepare(QString *why)
{
    const QString installed = firebirdRoot();
    if (!QFile::exists(QString::fromLatin1(kServer)) || installed.isEmpty()) {
        *why = QStringLiteral("no Firebird server installed here");
        return false;
    }
    const QDir dir(m_dir.path());
    const QString root = dir.filePath(QStringLiteral("root"));
    dir.mkpath(QStringLiteral("root/intl"));
    dir.mkpath(QStringLiteral("lock"));
    dir.mkpath(QStringLiteral("db"));
    for (const QFileInfo &entry : QDir(installed).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = QDir(root).filePath(entry.fileName());
        if (entry.fileName().endsWith(QLatin1String(".conf")))
            QFile::copy(entry.canonicalFilePath(), target);
        else if (entry.fileName() != QLatin1String("intl"))
            QFile::link(entry.absoluteFilePath(), target);
    }
    for (const QFileInfo &entry : QDir(installed + QStringLiteral("/intl")).entryInfoList(QDir::Files))
        QFile::copy(entry.canonicalFilePath(), QDir(root).filePath(QStringLiteral("intl/") + entry.fileName()));
    const QString security = dir.filePath(QStringLiteral("security3.fdb"));
    if (!QFile::copy(QString::fromLatin1(kSecurityDatabase), security)) {
        *why = QStringLiteral("cannot copy %1").arg(QString::fromLatin1(kSecurityDatabase));
        return false;
    }
    m_port = freePort();
    QFile conf(QDir(root).filePath(QStringLiteral("firebird.conf")));
    if (!conf.open(QIODevice::Append)) {
        *why = QStringLiteral("no firebird.conf to copy");
        return false;
    }
    conf.write(QStringLiteral("\nRemoteServicePort = %1\nSecurityDatabase = %2\n").arg(m_port).arg(security).toLocal8Bit());
    return true;
}

bool PrivateServer::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD"), QDir(m_dir.path()).filePath(QStringLiteral("root")));
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), QDir(m_dir.path()).filePath(QStringLiteral("lock")));
    m_server.setProcessEnvironment(environment);
    m_server.setProcessChannelMode(QProcess::ForwardedChannels);
    m_server.start(QString::fromLatin1(kServer), {});
    if (!m_server.waitForStarted(10000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 15000 && m_server.state() == QProcess::Running) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(100);
    }
    return false;
}

void PrivateServer::kill()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.kill();
    m_server.waitForFinished(10000);
}

QString PrivateServer::databaseText(const QString &name) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(m_port).arg(QDir(m_dir.path()).filePath(QStringLiteral("db/") + name));
}
