#include "InUseStamp.h"

#include "BrLocale.h"
#include "Conversions.h"
#include "SuitePaths.h"
#include "TextFile.h"

#include <QFileInfo>

namespace InUseStamp {

namespace {
const qint64 FreshForMs = 40 * 1000;
const int LineLimit = 60;
} // namespace

QString path()
{
    return SuitePaths::toNative(QStringLiteral("C:\\BOTICON\\Em_Uso.txt"));
}

void write(const QDateTime &now)
{
    TextFile::writeLines(path(), {BrLocale::shortDateLongTime(now)});
}

bool isStale(const QDateTime &stamp, const QDateTime &now)
{
    return stamp.msecsTo(now) > FreshForMs;
}

bool needsRewrite(const QDateTime &now)
{
    const QString file = path();
    if (!QFileInfo::exists(file))
        return true;
    const QDateTime stamp = Conversions::strToDateTime(TextFile::readFirstLine(file, LineLimit));
    return isStale(stamp, now);
}

void remove()
{
    TextFile::remove(path());
}

} // namespace InUseStamp
