#include "Decimal.h"

#include <cmath>

namespace {

qint64 pow10(int n)
{
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

} // namespace

// One pass over the text, without building pieces of it: the driver hands every
// NUMERIC of every row read over as text.
bool Decimal::parse(const QString &text, int scale, Decimal *out)
{
    const QStringView t = QStringView(text).trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    qint64 units = 0;
    int wholeDigits = 0;  // without leading zeros
    bool wholeSeen = false, point = false, fracSeen = false, roundUp = false;
    int fracDigits = 0;   // kept, at most the scale
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (point)
                return false;
            point = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        const int digit = c.unicode() - '0';
        if (!point) {
            wholeSeen = true;
            if (wholeDigits == 0 && digit == 0)
                continue;
            if (++wholeDigits + scale > 18)
                return false;
            units = units * 10 + digit;
        } else {
            fracSeen = true;
            if (fracDigits < scale) {
                units = units * 10 + digit;
                ++fracDigits;
            } else if (fracDigits == scale) {
                // Digits past the scale are rounded half away from zero, as the database does.
                roundUp = digit >= 5;
                ++fracDigits;
            }
        }
    }
    if (!wholeSeen && !fracSeen)
        return false;
    if (qMax(wholeDigits, wholeSeen ? 1 : 0) + scale > 18)
        return false;
    for (int k = qMin(fracDigits, scale); k < scale; ++k)
        units *= 10;
    if (roundUp)
        ++units;
    *out = Decimal(negative ? -units : units, scale);
    return true;
}

Decimal Decimal::fromInt(qint64 value, int scale)
{
    return Decimal(value * pow10(scale), scale);
}

Decimal Decimal::rescaled(int scale) const
{
    if (scale >= m_scale)
        return Decimal(m_units * pow10(scale - m_scale), scale);
    const qint64 div = pow10(m_scale - scale);
    qint64 q = m_units / div;
    const qint64 r = m_units % div;
    if (2 * std::llabs(r) >= div)
        q += m_units < 0 ? -1 : 1;
    return Decimal(q, scale);
}

qint64 Decimal::roundHalfEven() const
{
    const qint64 div = pow10(m_scale);
    qint64 q = m_units / div;
    const qint64 r = std::llabs(m_units % div);
    if (2 * r > div || (2 * r == div && (q % 2) != 0))
        q += m_units < 0 ? -1 : 1;
    return q;
}

QString Decimal::toPlainString() const
{
    const qint64 abs = std::llabs(m_units);
    const qint64 div = pow10(m_scale);
    QString s = QString::number(abs / div);
    if (m_scale > 0)
        s += QLatin1Char('.') + QString::number(abs % div).rightJustified(m_scale, QLatin1Char('0'));
    return m_units < 0 ? QLatin1Char('-') + s : s;
}

QString Decimal::toShortString() const
{
    QString s = toPlainString();
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s.replace(QLatin1Char('.'), QLatin1Char(','));
}

double Decimal::toDouble() const
{
    return double(m_units) / double(pow10(m_scale));
}

bool Decimal::operator==(const Decimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    return rescaled(scale).m_units == other.rescaled(scale).m_units;
}
