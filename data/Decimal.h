#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <limits>

// An exact fixed-point number: the price and quantity columns are decimals, and a
// pharmacy's prices must come back to the last digit, so no binary floating point.
// It holds what Firebird holds for a NUMERIC: a 64-bit integer of units at a scale
// (a decimal(15,8) goes up to 92233720368.54775807), and nothing beyond.
class Decimal
{
public:
    enum class Read { Ok, NotANumber, OutOfRange };

    Decimal() = default;
    Decimal(qint64 units, int scale) : m_units(units), m_scale(scale) {}

    // Parses "1234.5", "-0,25", "3" (point or comma); false for anything else or a
    // value beyond the 64-bit units of the scale.
    static bool parse(const QString &text, int scale, Decimal *out);
    static Read read(QStringView text, int scale, Decimal *out);
    // The same, also taking the exponent forms a driver or a double writes ("1e+06", "5E-5").
    static Read fromText(QStringView text, int scale, Decimal *out);
    static Read fromDouble(double value, int scale, Decimal *out);
    static Read fromInteger(qint64 value, int scale, Decimal *out);
    static Decimal largest(int scale) { return Decimal(std::numeric_limits<qint64>::max(), scale); }

    qint64 units() const { return m_units; }
    int scale() const { return m_scale; }

    // Rounds half away from zero when digits are dropped; false when more digits do not fit.
    bool rescaledTo(int scale, Decimal *out) const;
    Decimal rescaled(int scale) const; // to a scale not above this one's (or one the value fits)
    qint64 roundHalfEven() const;      // nearest integer, ties to the even one (2.5 -> 2, 3.5 -> 4)

    QString toPlainString() const;     // "1234.50" with all the scale's digits
    QString toShortString() const;     // "1234,5": decimal comma, trailing zeros dropped
    double toDouble() const;

    bool operator==(const Decimal &other) const { return compare(other) == 0; }
    bool operator!=(const Decimal &other) const { return compare(other) != 0; }
    bool operator<(const Decimal &other) const { return compare(other) < 0; }

private:
    int compare(const Decimal &other) const;

    qint64 m_units = 0;
    int m_scale = 0;
};

// A number text written out without an exponent ("1.5e+06" -> "1500000",
// "-5e-05" -> "-0.00005"); a text without one comes back as it is, one that is
// not a number comes back empty.
QString plainNumberText(QStringView text);

// A double as text with 15 significant digits, never with an exponent.
QString plainDoubleText(double value);
