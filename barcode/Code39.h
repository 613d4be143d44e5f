#pragma once

#include <QString>

// "*", the 17-module pattern of each character of the text that Code 39 has
// (digits, upper-case letters, - . space * $ / + %), "*". Others are dropped.
QString ModulosCode39(const QString &texto);
