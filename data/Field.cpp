#include "Field.h"

#include "BrLocale.h"
#include "ClientDataSet.h"
#include "Conversions.h"
#include "SelvarError.h"

#include <QLocale>
#include <cmath>
#include <limits>

QVariant Field::Value() const
{
    QVariant v = m_dataSet->currentValue(m_index);
    if (v.typeId() == qMetaTypeId<UnheldValue>())
        outOfRange(v.value<UnheldValue>().text);
    return v;
}

bool Field::IsNull() const
{
    const QVariant v = m_dataSet->currentValue(m_index);
    return !v.isValid() || v.isNull();
}

QString Field::AsString() const
{
    return textOf(Value());
}

QString Field::textOf(const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == qMetaTypeId<UnheldValue>())
        return v.value<UnheldValue>().text;
    switch (m_def.type) {
    case FieldType::Decimal:
        return v.value<Decimal>().toShortString();
    case FieldType::Double:
        return plainDoubleText(v.toDouble()).replace(QLatin1Char('.'), QLatin1Char(','));
    case FieldType::Timestamp:
        return BrLocale::shortDateLongTime(v.toDateTime());
    case FieldType::Blob:
        return QString::fromLatin1(v.toByteArray());
    default:
        return v.toString();
    }
}

QString Field::DisplayText() const
{
    return displayTextOf(Value());
}

QString Field::displayTextOf(const QVariant &v) const
{
    if (m_def.type == FieldType::Decimal && !m_def.displayFormat.isEmpty() && v.typeId() == qMetaTypeId<Decimal>())
        return BrLocale::formatDecimalText(v.value<Decimal>().toPlainString(), m_def.displayFormat);
    return textOf(v);
}

int Field::AsInteger() const
{
    const QVariant v = Value();
    if (IsNull())
        return 0;
    switch (m_def.type) {
    case FieldType::Integer:
        return v.toInt();
    case FieldType::Decimal:
        return integerOf(v.value<Decimal>().rescaled(0).units(), AsString());
    case FieldType::Double: {
        const double d = std::round(v.toDouble());
        return integerOf(std::isfinite(d) && std::abs(d) < 1e18 ? qint64(d) : std::numeric_limits<qint64>::max(), AsString());
    }
    default:
        return Conversions::strToInt(v.toString());
    }
}

int Field::integerOf(qint64 value, const QString &text) const
{
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return int(value);
}

Decimal Field::AsDecimal() const
{
    const int scale = m_def.type == FieldType::Decimal ? m_def.scale : 8;
    if (IsNull())
        return Decimal(0, scale);
    const QVariant v = Value();
    Decimal d(0, scale);
    switch (m_def.type) {
    case FieldType::Decimal:
        return v.value<Decimal>();
    case FieldType::Integer:
        return decimalOf(Decimal::fromInteger(v.toLongLong(), 0, &d), d, AsString());
    case FieldType::Double:
        return decimalOf(Decimal::fromDouble(v.toDouble(), scale, &d), d, AsString());
    default:
        return decimalOf(Decimal::fromText(AsString(), scale, &d), d, AsString());
    }
}

double Field::AsFloat() const
{
    if (IsNull())
        return 0.0;
    if (m_def.type == FieldType::Decimal)
        return Value().value<Decimal>().toDouble();
    if (m_def.type == FieldType::Text)
        return AsDecimal().toDouble();
    return Value().toDouble();
}

QDateTime Field::AsDateTime() const
{
    return IsNull() ? QDateTime() : Value().toDateTime();
}

void throwOutOfRange(const FieldDef &def, const QString &text)
{
    const int scale = def.type == FieldType::Decimal ? def.scale : 0;
    throw ConvertError(QStringLiteral("O valor %1 está fora do alcance da coluna %2, que vai de %3 a %4.")
                           .arg(text, def.name, Decimal(std::numeric_limits<qint64>::min(), scale).toShortString(),
                                Decimal::largest(scale).toShortString()));
}

void Field::outOfRange(const QString &text) const
{
    throwOutOfRange(m_def, text);
}

// The value read, or the column's error: a text that is no number is the
// platform's conversion error, a number too large names the column.
Decimal Field::decimalOf(Decimal::Read read, const Decimal &value, const QString &text) const
{
    if (read == Decimal::Read::NotANumber)
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    if (read == Decimal::Read::OutOfRange)
        outOfRange(text);
    return value;
}

QVariant Field::normalized(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    const int type = value.typeId();
    switch (m_def.type) {
    case FieldType::Text: {
        QString text = type == qMetaTypeId<Decimal>() ? value.value<Decimal>().toShortString() : value.toString();
        if (m_def.size > 0 && text.size() > m_def.size)
            text.truncate(m_def.size);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case FieldType::Integer:
        if (type == QMetaType::QString) {
            const QString text = value.toString();
            return text.trimmed().isEmpty() ? QVariant() : QVariant(Conversions::strToInt(text));
        }
        if (type == qMetaTypeId<Decimal>())
            return integerOf(value.value<Decimal>().rescaled(0).units(), value.value<Decimal>().toShortString());
        return value.toInt();
    case FieldType::Decimal: {
        Decimal d(0, m_def.scale);
        if (type == qMetaTypeId<Decimal>()) {
            const Decimal given = value.value<Decimal>();
            if (!given.rescaledTo(m_def.scale, &d))
                outOfRange(given.toShortString());
            return QVariant::fromValue(d);
        }
        if (type == QMetaType::Int || type == QMetaType::LongLong)
            return QVariant::fromValue(decimalOf(Decimal::fromInteger(value.toLongLong(), m_def.scale, &d), d, value.toString()));
        if (type == QMetaType::Double)
            return QVariant::fromValue(decimalOf(Decimal::fromDouble(value.toDouble(), m_def.scale, &d), d,
                                                 plainDoubleText(value.toDouble())));
        const QString text = value.toString();
        if (text.trimmed().isEmpty())
            return QVariant();
        // Typed text takes the plain forms only ("2,5", "1000000"), as a user writes a number.
        return QVariant::fromValue(decimalOf(Decimal::read(text, m_def.scale, &d), d, text));
    }
    case FieldType::Double:
        if (type == QMetaType::QString) {
            const QString text = value.toString();
            if (text.trimmed().isEmpty())
                return QVariant();
            bool ok = false;
            const double d = QLocale::c().toDouble(QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed(), &ok);
            if (!ok)
                throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
            return d;
        }
        if (type == qMetaTypeId<Decimal>())
            return value.value<Decimal>().toDouble();
        return value.toDouble();
    case FieldType::Timestamp:
        if (type == QMetaType::QString)
            return Conversions::strToDateTime(value.toString());
        return value.toDateTime();
    case FieldType::Blob:
        return value.toByteArray();
    }
    return value;
}

void Field::setValue(const QVariant &value)
{
    m_dataSet->assignValue(m_index, normalized(value));
}

void Field::setAsString(const QString &text)
{
    setValue(QVariant(text));
}

void Field::setAsInteger(int value)
{
    setValue(QVariant(value));
}

void Field::setAsDecimal(const Decimal &value)
{
    setValue(QVariant::fromValue(value));
}

void Field::Clear()
{
    m_dataSet->assignValue(m_index, QVariant());
}
