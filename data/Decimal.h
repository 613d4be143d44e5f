#pragma once

#include <QString>
#include <QtGlobal>

// An exact fixed-point number: the price and quantity columns are decimals, and a
// pharmacy's prices must come back to the last digit, so no binary floating point.
class Decimal
{
public:
    Decimal() = default;
    Decimal(qint64 units, int scale) : m_units(units), m_scale(scale) {}

    // Parses "1234.5", "-0,25", "3" (point or comma); false for anything else or too many digits.
    static bool parse(const QString &text, int scale, Decimal *out);
    static Decimal fromInt(qint64 value, int scale);

    qint64 units() const { return m_units; }
    int scale() const { return m_scale; }

    Decimal rescaled(int scale) const; // rounds half away from zero when digits are dropped
    qint64 roundHalfEven() const;      // nearest integer, ties to the even one (2.5 -> 2, 3.5 -> 4)

    QString toPlainString() const;     // "1234.50" with all the scale's digits
    QString toShortString() const;     // "1234,5": decimal comma, trailing zeros dropped
    double toDouble() const;

    bool operator==(const Decimal &other) const;
    bool operator!=(const Decimal &other) const { return !(*this == other); }

private:
    qint64 m_units = 0;
    int m_scale = 0;
};
