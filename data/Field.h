#pragma once

#include "Decimal.h"
#include "FieldDef.h"

#include <QDateTime>
#include <QVariant>

class ClientDataSet;

Q_DECLARE_METATYPE(Decimal)

// A value the database holds that its column here cannot (a decimal beyond the
// 64 bits of its scale), kept as the database wrote it: only an operation that
// reads the column fails, and the message names the column.
struct UnheldValue
{
    QString text;
    bool operator==(const UnheldValue &other) const { return text == other.text; }
};
Q_DECLARE_METATYPE(UnheldValue)

// "The value ... is out of the range of column X, which goes from ... to ...".
[[noreturn]] void throwOutOfRange(const FieldDef &def, const QString &text);

// A declared column of a client data set, read and written on its current row.
// Texts longer than the column are cut when assigned; an empty text is a null,
// so a required text column left empty is refused at Post.
class Field
{
public:
    Field(ClientDataSet *dataSet, int index, const FieldDef &def) : m_dataSet(dataSet), m_index(index), m_def(def) {}

    const QString &FieldName() const { return m_def.name; }
    const FieldDef &def() const { return m_def; }
    int Index() const { return m_index; }

    QVariant Value() const;
    bool IsNull() const;
    QString AsString() const;       // decimals with a decimal comma, no trailing zeros
    QString DisplayText() const;    // with the display format, e.g. "0.00" -> "3,50"
    QString textOf(const QVariant &value) const;        // AsString of any stored value of this column (an unheld one as the database wrote it)
    QString displayTextOf(const QVariant &value) const; // DisplayText of any stored value of this column
    int AsInteger() const;          // "'x' is not a valid integer value" for a text or number that is not one
    Decimal AsDecimal() const;      // exact; a null reads as zero
    double AsFloat() const;
    QDateTime AsDateTime() const;

    void setValue(const QVariant &value); // converted to the column's type
    void setAsString(const QString &text); // "'x' is not a valid ..." for text that does not convert
    void setAsInteger(int value);
    void setAsDecimal(const Decimal &value);
    void Clear();

    // The stored representation for a value of this column; throws ConvertError when it does not fit.
    QVariant normalized(const QVariant &value) const;

    [[noreturn]] void outOfRange(const QString &text) const;

private:
    Decimal decimalOf(Decimal::Read read, const Decimal &value, const QString &text) const;
    int integerOf(qint64 value, const QString &text) const;

    ClientDataSet *m_dataSet;
    int m_index;
    FieldDef m_def;
};
