#pragma once

#include <QString>
#include <QVector>

enum class FieldType { Text, Integer, Decimal, Double, Timestamp, Blob };

// A declared column of a client data set: the data set holds exactly these.
struct FieldDef
{
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;   // text: characters; decimal: precision
    int scale = 0;  // decimal: digits after the point
    bool required = false;
    bool key = false;
    QString displayFormat; // e.g. "0.00"

    static FieldDef text(const QString &name, int size) { return {name, FieldType::Text, size, 0, false, false, {}}; }
    static FieldDef integer(const QString &name) { return {name, FieldType::Integer, 0, 0, false, false, {}}; }
    static FieldDef decimal(const QString &name, int precision, int scale) { return {name, FieldType::Decimal, precision, scale, false, false, {}}; }
    static FieldDef floating(const QString &name) { return {name, FieldType::Double, 0, 0, false, false, {}}; }
    static FieldDef timestamp(const QString &name) { return {name, FieldType::Timestamp, 0, 0, false, false, {}}; }
    static FieldDef blob(const QString &name) { return {name, FieldType::Blob, 0, 0, false, false, {}}; }

    FieldDef asKey() const { FieldDef f = *this; f.key = true; f.required = true; return f; }
    FieldDef withDisplayFormat(const QString &format) const { FieldDef f = *this; f.displayFormat = format; return f; }
};

using FieldDefs = QVector<FieldDef>;
