#include "HistorySettings.h"

#include "Conversions.h"
#include "SelvarError.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

QString HistorySettings::retentionKey()
{
    return QStringLiteral("DIAS NO HISTORICO DE ETIQUETAS");
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
        if (line.section(QLatin1Char('='), 0, 0).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const QString value = line.section(QLatin1Char('='), 1).trimmed();
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
