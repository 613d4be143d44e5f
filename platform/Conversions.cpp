#include "Conversions.h"

#include "BrLocale.h"
#include "SelvarError.h"

namespace Conversions {

bool tryStrToInt(const QString &text, int *value)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const QString body = text.mid(i);
    if (body.isEmpty())
        return false;
    qsizetype digitsFrom = (body[0] == QLatin1Char('-') || body[0] == QLatin1Char('+')) ? 1 : 0;
    if (digitsFrom == body.size())
        return false;
    for (qsizetype k = digitsFrom; k < body.size(); ++k)
        if (!body[k].isDigit() || body[k].unicode() > '9')
            return false;
    bool ok = false;
    const int parsed = body.toInt(&ok);
    if (ok && value)
        *value = parsed;
    return ok;
}

int strToInt(const QString &text)
{
    int value = 0;
    if (!tryStrToInt(text, &value))
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QDateTime strToDateTime(const QString &text)
{
    const QDateTime parsed = BrLocale::parseDateTime(text.trimmed());
    if (!parsed.isValid())
        throw ConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    return parsed;
}

} // namespace Conversions
