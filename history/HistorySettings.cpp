#include "HistorySettings.h"

#include "Conversions.h"
#include "StationIni.h"

QString HistorySettings::retentionKey()
{
    return QStringLiteral("DIAS NO HISTORICO DE ETIQUETAS");
}

int HistorySettings::retentionDays(const QString &nativeWorkFolder, QString *problem)
{
    const std::optional<QString> value = StationIni::value(nativeWorkFolder, retentionKey(), problem);
    if (!value)
        return kDefaultRetentionDays;
    int days = 0;
    if (Conversions::tryStrToInt(*value, &days) && days >= 0)
        return days;
    if (problem)
        *problem = QStringLiteral("%1: \"%2\" não é um número de dias; o histórico guarda %3 dias.")
                       .arg(StationIni::path(nativeWorkFolder), *value)
                       .arg(kDefaultRetentionDays);
    return kDefaultRetentionDays;
}
