#include "UserName.h"

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
