#include "BrLocale.h"

#include <QRegularExpression>

namespace BrLocale {

QString shortDateLongTime(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QDateTime parseDateTime(const QString &text)
{
    for (const char *format : {"dd/MM/yyyy HH:mm:ss", "d/M/yyyy H:mm:ss", "dd/MM/yyyy H:mm:ss", "dd/MM/yyyy"}) {
        const QDateTime parsed = QDateTime::fromString(text, QString::fromLatin1(format));
        if (parsed.isValid())
            return parsed;
    }
    return {};
}

QString formatDecimalText(const QString &plainText, const QString &pattern)
{
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : int(pattern.size() - point - 1);
    const bool thousands = pattern.contains(QLatin1Char(','));

    QString text = plainText.trimmed();
    bool negative = text.startsWith(QLatin1Char('-'));
    if (negative || text.startsWith(QLatin1Char('+')))
        text = text.mid(1);
    QString whole = text.section(QLatin1Char('.'), 0, 0);
    QString frac = text.section(QLatin1Char('.'), 1, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");

    // Round the digit string half away from zero, carrying by hand: no floating point.
    QString digits = whole + frac.leftJustified(decimals, QLatin1Char('0'), true);
    const bool roundUp = frac.size() > decimals && frac[decimals] >= QLatin1Char('5');
    if (roundUp) {
        qsizetype i = digits.size() - 1;
        while (i >= 0 && digits[i] == QLatin1Char('9'))
            digits[i--] = QLatin1Char('0');
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits[i].unicode() + 1);
    }
    QString intPart = digits.left(digits.size() - decimals);
    const QString fracPart = digits.right(decimals);
    while (intPart.size() > 1 && intPart.startsWith(QLatin1Char('0')))
        intPart.remove(0, 1);
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    if (thousands)
        for (qsizetype i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, QLatin1Char('.'));
    if (negative && (intPart + fracPart).contains(QRegularExpression(QStringLiteral("[1-9]"))))
        intPart.prepend(QLatin1Char('-'));
    return decimals > 0 ? intPart + QLatin1Char(',') + fracPart : intPart;
}

} // namespace BrLocale
