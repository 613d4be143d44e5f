#include "Field.h"

#include "BrLocale.h"
#include "ClientDataSet.h"
#include "Conversions.h"
#include "SelvarError.h"

QVariant Field::Value() const
{
    return m_dataSet->currentValue(m_index);
}

bool Field::IsNull() const
{
    return !Value().isValid() || Value().isNull();
}

QString Field::AsString() const
{
    return textOf(Value());
}

QString Field::textOf(const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return QString();
    switch (m_def.type) {
    case FieldType::Decimal:
        return v.value<Decimal>().toShortString();
    case FieldType::Double:
        return QString::number(v.toDouble(), 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
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
    if (m_def.type == FieldType::Decimal && !m_def.displayFormat.isEmpty() && v.isValid() && !v.isNull())
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
        return int(v.value<Decimal>().rescaled(0).units());
    case FieldType::Double:
        return int(qRound64(v.toDouble()));
    default:
        return Conversions::strToInt(v.toString());
    }
}

Decimal Field::AsDecimal() const
{
    const int scale = m_def.type == FieldType::Decimal ? m_def.scale : 0;
    if (IsNull())
        return Decimal(0, scale);
    if (m_def.type == FieldType::Decimal)
        return Value().value<Decimal>();
    return normalizedDecimal(AsString(), m_def.type == FieldType::Double ? 8 : 0);
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

QVariant Field::normalized(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (m_def.type) {
    case FieldType::Text: {
        QString text = value.typeId() == qMetaTypeId<Decimal>() ? value.value<Decimal>().toShortString() : value.toString();
        if (m_def.size > 0 && text.size() > m_def.size)
            text.truncate(m_def.size);
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case FieldType::Integer:
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString();
            return text.trimmed().isEmpty() ? QVariant() : QVariant(Conversions::strToInt(text));
        }
        if (value.typeId() == qMetaTypeId<Decimal>())
            return int(value.value<Decimal>().rescaled(0).units());
        return value.toInt();
    case FieldType::Decimal: {
        if (value.typeId() == qMetaTypeId<Decimal>())
            return QVariant::fromValue(value.value<Decimal>().rescaled(m_def.scale));
        if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
            return QVariant::fromValue(Decimal::fromInt(value.toLongLong(), m_def.scale));
        const QString text = value.typeId() == QMetaType::Double ? QString::number(value.toDouble(), 'f', m_def.scale) : value.toString();
        if (text.trimmed().isEmpty())
            return QVariant();
        return QVariant::fromValue(normalizedDecimal(text, m_def.scale));
    }
    case FieldType::Double:
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString();
            if (text.trimmed().isEmpty())
                return QVariant();
            return normalizedDecimal(text, 8).toDouble();
        }
        if (value.typeId() == qMetaTypeId<Decimal>())
            return value.value<Decimal>().toDouble();
        return value.toDouble();
    case FieldType::Timestamp:
        if (value.typeId() == QMetaType::QString)
            return Conversions::strToDateTime(value.toString());
        return value.toDateTime();
    case FieldType::Blob:
        return value.toByteArray();
    }
    return value;
}

Decimal Field::normalizedDecimal(const QString &text, int scale)
{
    Decimal d;
    if (!Decimal::parse(text, scale, &d))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return d;
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
