#include "PrivateCups.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

namespace {

QString sbin(const QString &program)
{
    return QStandardPaths::findExecutable(program, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
}

bool writeFile(const QString &path, const QByteArray &text, QFile::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return false;
    file.close();
    return permissions == QFile::Permissions() || file.setPermissions(permissions);
}

} // namespace

PrivateCups::~PrivateCups()
{
    if (m_scheduler.state() != QProcess::NotRunning) {
        m_scheduler.terminate();
        if (!m_scheduler.waitForFinished(10000))
            m_scheduler.kill();
    }
    if (m_hadServer)
        qputenv("CUPS_SERVER", m_previousServer);
    else if (!m_socket.isEmpty())
        qunsetenv("CUPS_SERVER");
}

QString PrivateCups::missing()
{
    for (const char *program : {"cupsd", "lpadmin", "lpstat", "cupsdisable", "cupsreject"})
        if (sbin(QLatin1String(program)).isEmpty())
            return QStringLiteral("%1 is not installed (scripts/install-deps installs cups-daemon and cups-client)").arg(QLatin1String(program));
    if (!QFile::exists(QStringLiteral("/usr/lib/cups/daemon/cups-exec")))
        return QStringLiteral("CUPS's cups-exec is missing (scripts/install-deps installs cups-daemon)");
    return {};
}

bool PrivateCups::start(QString *error)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    for (const char *sub : {"etc", "spool", "cache", "state", "tmp", "log", "bin/backend", "bin/filter", "saida"})
        QDir(m_dir.path()).mkpath(QLatin1String(sub));
    // The backend runs as the scheduler's own user: it must reach its script
    // and write where the job goes.
    const auto readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                          | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(m_dir.path(), readable);
    for (const char *open : {"tmp", "saida"})
        QFile::setPermissions(path(QLatin1String(open)), QFile::Permissions(0x7777));
    QFile::link(QStringLiteral("/usr/lib/cups/daemon"), path(QStringLiteral("bin/daemon")));
    m_socket = path(QStringLiteral("cups.sock"));
    const bool written =
        writeFile(path(QStringLiteral("bin/backend/arquivo")),
                  "#!/bin/sh\n"
                  "[ $# -eq 0 ] && { echo 'direct arquivo \"Unknown\" \"Arquivo\"'; exit 0; }\n"
                  "out=${DEVICE_URI#arquivo:}\n"
                  "if [ -n \"$6\" ]; then cat \"$6\" > \"$out\"; else cat > \"$out\"; fi\n"
                  "echo \"$4\" > \"$out.copias\"\n",
                  readable)
        && writeFile(path(QStringLiteral("etc/cupsd.conf")),
                     QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n")
                         .arg(m_socket)
                         .toUtf8())
        && writeFile(path(QStringLiteral("etc/cups-files.conf")),
                     QStringLiteral("ServerRoot %1/etc\nServerBin %1/bin\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                    "StateDir %1/state\nTempDir %1/tmp\nErrorLog %1/log/error_log\n"
                                    "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n")
                         .arg(m_dir.path())
                         .toUtf8());
    if (!written) {
        *error = QStringLiteral("could not write the scheduler's files");
        return false;
    }
    m_scheduler.start(sbin(QStringLiteral("cupsd")), {QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("etc/cupsd.conf")),
                                                      QStringLiteral("-s"), path(QStringLiteral("etc/cups-files.conf"))});
    if (!m_scheduler.waitForStarted()) {
        *error = m_scheduler.errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(m_socket) && clock.elapsed() < 10000)
        QThread::msleep(50);
    if (!QFile::exists(m_socket)) {
        *error = QStringLiteral("the scheduler did not open its socket");
        return false;
    }
    m_hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
    m_previousServer = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", m_socket.toLocal8Bit());
    return true;
}

bool PrivateCups::addPrinter(const QString &name, const QString &outputFile, QString *error)
{
    return run(QStringLiteral("lpadmin"), {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                                           QStringLiteral("arquivo:") + outputFile, QStringLiteral("-m"), QStringLiteral("raw")},
               error);
}

bool PrivateCups::run(const QString &program, const QStringList &arguments, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(sbin(program), QStringList{QStringLiteral("-h"), m_socket} + arguments);
    const bool ok = process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll()) + process.errorString();
    return ok;
}
