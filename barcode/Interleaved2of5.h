#pragma once

#include <QString>

// Start, the text's digits interleaved in pairs (a "0" put in front of an odd
// count), stop. No check digit.
QString Modulos2e5I(const QString &texto);
