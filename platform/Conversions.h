#pragma once

#include <QDateTime>
#include <QString>

// The platform's text conversions, raising its conversion errors with their usual texts.
namespace Conversions {

// Decimal integer with optional sign and leading blanks; otherwise "'%s' is not a valid integer value".
int strToInt(const QString &text);
bool tryStrToInt(const QString &text, int *value);

// Date and time in the Brazilian short date and long time ("08/12/2025 13:07:45");
// otherwise "'%s' is not a valid date and time".
QDateTime strToDateTime(const QString &text);

} // namespace Conversions
