#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// One row of a report connection, which fills one label cell. Each field keeps
// the text a label shows (with the field's display format, "3,50") and its plain
// value ("3.50" for a decimal), from which a price is formatted anew.
struct LabelValue
{
    QString display;
    QString plain;
};

class LabelRecord
{
public:
    void set(const QString &field, const LabelValue &value) { m_values.insert(field.toUpper(), value); }
    // Empty for a field the row lacks or holds no value in.
    LabelValue value(const QString &field) const { return m_values.value(field.toUpper()); }

    // A position of the sheet that was used before: the label job stores it with
    // an empty code, or with neither a product name nor an EAN, and its cell
    // stays blank whatever the report draws.
    bool isBlank() const;

private:
    QHash<QString, LabelValue> m_values;
};
