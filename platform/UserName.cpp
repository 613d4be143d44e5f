#include "UserName.h"

#include "Cp1252.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

QString currentUserName()
{
    const QString overridden = qEnvironmentVariable("SELVAR_USER");
    if (!overridden.isEmpty())
        return overridden;
#ifdef Q_OS_WIN
    char buffer[50];
    DWORD size = sizeof buffer;
    if (GetUserNameA(buffer, &size))
        return QString::fromLocal8Bit(buffer);
    return QString();
#else
    if (const passwd *pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
#endif
}

QString userNameKey(const QString &name)
{
    QString key = name;
    for (QChar &c : key) {
        // Firebird's upper() in WIN1252 capitalises every letter whose capital
        // the code page holds: a to z, the accented ones, š, œ, ž and ÿ.
        const QChar upper = c.toUpper();
        if (upper != c && fromCp1252(toCp1252(QString(upper))) == QString(upper))
            c = upper;
    }
    // The database compares texts as if the shorter were padded with blanks.
    qsizetype end = key.size();
    while (end > 0 && key[end - 1] == QLatin1Char(' '))
        --end;
    key.truncate(end);
    return key;
}
