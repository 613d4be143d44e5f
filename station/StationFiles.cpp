#include "StationFiles.h"

#include "SelvarError.h"
#include "StationRequest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// Folders from the outermost missing one down to `path`, the ones mkpath makes.
QStringList missingFolders(const QString &path)
{
    QStringList missing;
    for (QString folder = QDir::cleanPath(path); !QFileInfo::exists(folder); folder = QFileInfo(folder).path()) {
        missing.prepend(folder);
        if (folder == QFileInfo(folder).path())
            break;
    }
    return missing;
}

// The program runs as the counter's user and writes its label files into the
// work folder; made by root during the installation, the folder would refuse
// them. Returns whether the folder now belongs to the user.
bool giveToUser(const QString &folder, const QString &user)
{
#ifdef Q_OS_UNIX
    const passwd *account = getpwnam(user.toLocal8Bit().constData());
    if (geteuid() != 0 || !account)
        return false;
    bool given = chown(QFile::encodeName(folder).constData(), account->pw_uid, account->pw_gid) == 0;
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        const QByteArray file = QFile::encodeName(QDir(folder).filePath(name));
        given = chown(file.constData(), account->pw_uid, account->pw_gid) == 0 && given;
    }
    return given;
#else
    Q_UNUSED(folder);
    Q_UNUSED(user);
    return false;
#endif
}

bool canGiveToUser(const QString &user)
{
#ifdef Q_OS_UNIX
    return geteuid() == 0 && getpwnam(user.toLocal8Bit().constData()) != nullptr;
#else
    Q_UNUSED(user);
    return false;
#endif
}

// A copied resource is read-only; the installer edits these files later.
bool copySample(const QString &resource, const QString &target)
{
    if (!QFile::copy(resource, target))
        return false;
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

const QString BatchSample = QStringLiteral(":/samples/ImprEtiq.bat");

} // namespace

bool StationFiles::writeBatchFile(const QString &workFolder)
{
    return copySample(BatchSample, workFolder + QStringLiteral("/ImprEtiq.bat"));
}

StationFiles::StationFiles(const StationRequest &request)
    : m_workFolder(request.workFolder()), m_suiteFolder(request.suiteFolderText()), m_userName(request.userName)
{
    m_samples = {
        {BatchSample, m_workFolder + QStringLiteral("/ImprEtiq.bat")},
        {QStringLiteral(":/samples/Selvar.rav"), m_suiteFolder + QStringLiteral("rpt/Selvar.rav")},
    };
}

QStringList StationFiles::plan() const
{
    QStringList steps;
    steps << (QFileInfo(m_workFolder).isDir() ? QStringLiteral("pasta de trabalho %1 já existe").arg(m_workFolder)
                                              : QStringLiteral("criar a pasta de trabalho %1").arg(m_workFolder));
    for (const Sample &sample : m_samples) {
        steps << (QFileInfo::exists(sample.target) ? QStringLiteral("manter %1 (já existe)").arg(sample.target)
                                                   : QStringLiteral("gravar %1").arg(sample.target));
    }
    if (canGiveToUser(m_userName))
        steps << QStringLiteral("entregar a pasta de trabalho ao usuário %1 (o Selvar grava nela)").arg(m_userName);
    return steps;
}

void StationFiles::make()
{
    QStringList folders = missingFolders(m_workFolder);
    for (const Sample &sample : m_samples)
        folders += missingFolders(QFileInfo(sample.target).path());
    folders.removeDuplicates();
    for (const QString &folder : folders) {
        if (QFileInfo::exists(folder))
            continue;
        if (!QDir().mkdir(folder)) {
            undo();
            throw SelvarError(QStringLiteral("Não foi possível criar a pasta %1.").arg(folder));
        }
        m_madeFolders << folder;
    }
    for (const Sample &sample : m_samples) {
        if (QFileInfo::exists(sample.target))
            continue;
        if (!copySample(sample.resource, sample.target)) {
            undo();
            throw SelvarError(QStringLiteral("Não foi possível gravar %1.").arg(sample.target));
        }
        m_madeFiles << sample.target;
    }
    if (canGiveToUser(m_userName) && !giveToUser(m_workFolder, m_userName)) {
        undo();
        throw SelvarError(QStringLiteral("Não foi possível entregar a pasta %1 ao usuário %2.").arg(m_workFolder, m_userName));
    }
}

void StationFiles::undo()
{
    for (const QString &file : std::as_const(m_madeFiles))
        QFile::remove(file);
    for (auto folder = m_madeFolders.crbegin(); folder != m_madeFolders.crend(); ++folder)
        QDir().rmdir(*folder);
    m_madeFiles.clear();
    m_madeFolders.clear();
}
