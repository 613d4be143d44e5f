#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the single-byte code page of every text the suite stores.
// Characters outside it become '?', as the Windows conversion does.
QByteArray toCp1252(const QString &text);
QString fromCp1252(const QByteArray &bytes);
