#include "HistorySettings.h"

#include "Conversions.h"
#include "SelvarError.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const int kKeyLength = 48;
const int kValueColumn = 50; // 1-based, as the suite's INI file counts

} // namespace

QString HistorySettings::retentionKey()
{
    return QStringLiteral("DIAS NO HISTORICO DE ETIQUETAS").leftJustified(kKeyLength - 1, QLatin1Char('.'))
           + QLatin1Char(':');
}

int HistorySettings::retentionDays(const QString &nativeWorkFolder, QString *problem)
{
    const QString path = QDir(nativeWorkFolder).filePath(QStringLiteral("Selvar.ini"));
    if (!QFileInfo(path).isFile())
        return kDefaultRetentionDays;
    QStringList lines;
    try {
        lines = TextFile::readLines(path);
    } catch (const SelvarError &error) {
        if (problem)
            *problem = error.message();
        return kDefaultRetentionDays;
    }
    const QString key = retentionKey();
    for (const QString &line : lines) {
        if (line.left(kKeyLength) != key)
            continue;
        const QString value = line.mid(kValueColumn - 1).trimmed();
        int days = 0;
        if (Conversions::tryStrToInt(value, &days) && days >= 0)
            return days;
        if (problem)
            *problem = QStringLiteral("%1: \"%2\" não é um número de dias; o histórico guarda %3 dias.")
                           .arg(path, value)
                           .arg(kDefaultRetentionDays);
        return kDefaultRetentionDays;
    }
    return kDefaultRetentionDays;
}
