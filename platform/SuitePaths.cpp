#include "SuitePaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace SuitePaths {

QString suiteRoot()
{
    QString root = qEnvironmentVariable("BOTICON_ROOT");
    if (root.isEmpty()) {
#ifdef Q_OS_WIN
        root = QStringLiteral("C:\\BOTICON\\");
#else
        root = QStringLiteral("/opt/boticon/");
#endif
    }
    if (!root.endsWith(QLatin1Char('/')) && !root.endsWith(QLatin1Char('\\')))
        root += QLatin1Char('/');
    return root;
}

QString resolveCaseInsensitive(const QString &nativePath)
{
    if (nativePath.isEmpty() || QFileInfo::exists(nativePath))
        return nativePath;
    const bool absolute = nativePath.startsWith(QLatin1Char('/'));
    const QStringList parts = nativePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        QString next = current.isEmpty() ? part : QDir(current).filePath(part);
        if (!QFileInfo::exists(next)) {
            const QDir dir(current.isEmpty() ? QStringLiteral(".") : current);
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    next = current.isEmpty() ? entry : QDir(current).filePath(entry);
                    break;
                }
            }
        }
        current = next;
    }
    if (nativePath.endsWith(QLatin1Char('/')) && !current.endsWith(QLatin1Char('/')))
        current += QLatin1Char('/');
    return current;
}

QString toNative(const QString &windowsPath)
{
    static const QString prefix = QStringLiteral("c:\\boticon\\");
    QString rest;
    if (windowsPath.startsWith(prefix, Qt::CaseInsensitive))
        rest = windowsPath.mid(prefix.size());
    else if (windowsPath.compare(QStringLiteral("c:\\boticon"), Qt::CaseInsensitive) == 0)
        rest.clear();
    else
        return resolveCaseInsensitive(QString(windowsPath).replace(QLatin1Char('\\'), QLatin1Char('/')));
    QString root = suiteRoot();
    root.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return resolveCaseInsensitive(root + rest.replace(QLatin1Char('\\'), QLatin1Char('/')));
}

// On the suite's Windows counters every program lives in C:\BOTICON\ beside
// BOTICON.INI and the InterfacNN folders. Installed here, the program shares
// its bin/ folder with every other program of the machine, so the suite folder
// takes the place the executable's folder has there. An installation is known
// by the share/selvar/ folder beside bin/, whatever the prefix.
static bool runsFromInstalledFolder()
{
    return QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/selvar/BOTICON.INI")).isFile();
}

QString exeFolderText()
{
    QString folder = qEnvironmentVariable("SELVAR_EXE_FOLDER");
    if (folder.isEmpty())
        folder = runsFromInstalledFolder() ? QDir::toNativeSeparators(suiteRoot())
                                           : QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!folder.endsWith(QLatin1Char('\\')) && !folder.endsWith(QLatin1Char('/')))
        folder += QDir::separator();
    return folder;
}

} // namespace SuitePaths
