#pragma once

#include <QDateTime>
#include <QString>

// Brazilian formatting rules, whatever the machine's locale: dd/MM/yyyy, HH:mm:ss,
// decimal comma, thousands dot.
namespace BrLocale {

QString shortDateLongTime(const QDateTime &moment); // "08/12/2025 13:07:45"
QDateTime parseDateTime(const QString &text);       // the inverse; invalid when it does not parse

// A decimal given as its plain text ("-1234.5") formatted with a Delphi-style pattern
// such as "0.00" or "#,##0.00": fixed decimals from the pattern, rounded half away from zero,
// thousands dots when the pattern has a comma.
QString formatDecimalText(const QString &plainText, const QString &pattern);

} // namespace BrLocale
