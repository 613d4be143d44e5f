#include "LabelNumbers.h"

namespace LabelNumbers {

namespace {

const QChar kSkippedMark = QLatin1Char('-');

} // namespace

QString labelNumber(qint64 number)
{
    return QString::number(number).rightJustified(6, QLatin1Char('0'));
}

QString skippedPositionCode(qint64 position)
{
    return kSkippedMark + labelNumber(position);
}

bool isSkippedPosition(const QString &codigo)
{
    return codigo.startsWith(kSkippedMark);
}

QString readBackOrder()
{
    return QStringLiteral("iif(CODIGO starting with '%1', 0, 1), char_length(CODIGO), CODIGO").arg(kSkippedMark);
}

} // namespace LabelNumbers
