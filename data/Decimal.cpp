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

bool Decimal::parse(const QString &text, int scale, Decimal *out)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t.remove(0, 1);
    }
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    if (point != t.lastIndexOf(QLatin1Char('.')))
        return false;
    QString whole = point < 0 ? t : t.left(point);
    QString frac = point < 0 ? QString() : t.mid(point + 1);
    if (whole.isEmpty() && frac.isEmpty())
        return false;
    for (const QString &part : {whole, frac})
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole.size() + scale > 18)
        return false;
    // Digits past the scale are rounded half away from zero, as the database does.
    bool roundUp = frac.size() > scale && frac[scale] >= QLatin1Char('5');
    frac = frac.left(scale).leftJustified(scale, QLatin1Char('0'));
    qint64 units = (whole + frac).isEmpty() ? 0 : (whole + frac).toLongLong();
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
