#include "Decimal.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr quint64 kLargestUnits = quint64(std::numeric_limits<qint64>::max());

qint64 pow10(int n)
{
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// Appends a digit to a magnitude that must stay within the limit.
bool pushDigit(quint64 &units, int digit, quint64 limit)
{
    if (units > (limit - quint64(digit)) / 10)
        return false;
    units = units * 10 + quint64(digit);
    return true;
}

quint64 magnitude(qint64 units)
{
    return units < 0 ? 0 - quint64(units) : quint64(units);
}

qint64 signedUnits(quint64 magnitude, bool negative)
{
    return negative ? qint64(0 - magnitude) : qint64(magnitude);
}

} // namespace

bool Decimal::parse(const QString &text, int scale, Decimal *out)
{
    return read(text, scale, out) == Read::Ok;
}

// One pass over the text, without building pieces of it: every decimal of every
// row read comes through here.
Decimal::Read Decimal::read(QStringView text, int scale, Decimal *out)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    // The most negative value has one unit more than the most positive.
    const quint64 limit = kLargestUnits + (negative ? 1 : 0);
    quint64 units = 0;
    bool digits = false, point = false, tooLarge = false, roundUp = false;
    int fracDigits = 0; // kept, at most the scale
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (point)
                return Read::NotANumber;
            point = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Read::NotANumber;
        const int digit = c.unicode() - '0';
        digits = true;
        if (!point || fracDigits < scale) {
            fracDigits += point ? 1 : 0;
            tooLarge = tooLarge || !pushDigit(units, digit, limit);
        } else if (fracDigits == scale) {
            // Digits past the scale are rounded half away from zero, as the database does.
            roundUp = digit >= 5;
            ++fracDigits;
        }
    }
    if (!digits)
        return Read::NotANumber;
    for (int k = qMin(fracDigits, scale); k < scale && !tooLarge; ++k)
        tooLarge = !pushDigit(units, 0, limit);
    if (roundUp && !tooLarge) {
        tooLarge = units == limit;
        ++units;
    }
    if (tooLarge)
        return Read::OutOfRange;
    *out = Decimal(signedUnits(units, negative), scale);
    return Read::Ok;
}

Decimal::Read Decimal::fromText(QStringView text, int scale, Decimal *out)
{
    const Read plain = read(text, scale, out);
    if (plain != Read::NotANumber || !(text.contains(QLatin1Char('e')) || text.contains(QLatin1Char('E'))))
        return plain;
    const QString written = plainNumberText(text);
    return written.isEmpty() ? Read::NotANumber : read(written, scale, out);
}

Decimal::Read Decimal::fromDouble(double value, int scale, Decimal *out)
{
    if (!std::isfinite(value))
        return Read::NotANumber;
    // The shortest text that reads back as the same double: 0.1 is 0.1, not 0.1000000000000000055.
    return fromText(QString::number(value, 'g', QLocale::FloatingPointShortest), scale, out);
}

Decimal::Read Decimal::fromInteger(qint64 value, int scale, Decimal *out)
{
    return Decimal(value, 0).rescaledTo(scale, out) ? Read::Ok : Read::OutOfRange;
}

bool Decimal::rescaledTo(int scale, Decimal *out) const
{
    if (scale == m_scale) {
        *out = *this;
        return true;
    }
    // Above the scale: the most negative value is no multiple of ten, so both signs share one bound.
    if (scale > m_scale) {
        if (m_units != 0 && (scale - m_scale > 18 || magnitude(m_units) > kLargestUnits / quint64(pow10(scale - m_scale))))
            return false;
        *out = Decimal(m_units == 0 ? 0 : m_units * pow10(scale - m_scale), scale);
        return true;
    }
    const qint64 div = pow10(m_scale - scale);
    qint64 q = m_units / div;
    const qint64 r = m_units % div;
    if (2 * std::llabs(r) >= div)
        q += m_units < 0 ? -1 : 1;
    *out = Decimal(q, scale);
    return true;
}

Decimal Decimal::rescaled(int scale) const
{
    Decimal d(0, scale);
    rescaledTo(scale, &d);
    return d;
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
    const quint64 abs = magnitude(m_units);
    const quint64 div = quint64(pow10(m_scale));
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

// Two scales compare at the finer one; a value that does not fit there is
// beyond every value that does, on the side of its sign.
int Decimal::compare(const Decimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    Decimal a, b;
    const bool aFits = rescaledTo(scale, &a), bFits = other.rescaledTo(scale, &b);
    if (!aFits)
        return m_units < 0 ? -1 : 1;
    if (!bFits)
        return other.m_units < 0 ? 1 : -1;
    return a.m_units < b.m_units ? -1 : (a.m_units > b.m_units ? 1 : 0);
}

QString plainNumberText(QStringView text)
{
    const QStringView t = text.trimmed();
    const qsizetype e = std::max(t.indexOf(QLatin1Char('e')), t.indexOf(QLatin1Char('E')));
    if (e < 0)
        return t.toString();
    bool ok = false;
    // Beyond 400 places every digit is past any scale or any 64-bit value alike.
    const int exponent = std::clamp(t.mid(e + 1).toInt(&ok), -400, 400);
    if (!ok)
        return QString();
    QStringView mantissa = t.left(e);
    const bool negative = mantissa.startsWith(QLatin1Char('-'));
    if (negative || mantissa.startsWith(QLatin1Char('+')))
        mantissa = mantissa.mid(1);
    QString digits;
    qsizetype point = -1;
    for (const QChar c : mantissa) {
        if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && point < 0)
            point = digits.size();
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
        else
            return QString();
    }
    if (digits.isEmpty())
        return QString();
    const qsizetype at = (point < 0 ? digits.size() : point) + exponent;
    QString plain;
    if (at <= 0)
        plain = QLatin1String("0.") + QString(-at, QLatin1Char('0')) + digits;
    else if (at >= digits.size())
        plain = digits + QString(at - digits.size(), QLatin1Char('0'));
    else
        plain = digits.left(at) + QLatin1Char('.') + digits.mid(at);
    while (plain.size() > 1 && plain.startsWith(QLatin1Char('0')) && plain[1] != QLatin1Char('.'))
        plain.remove(0, 1);
    return negative ? QLatin1Char('-') + plain : plain;
}

QString plainDoubleText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    return plainNumberText(QString::number(value, 'g', 15));
}
