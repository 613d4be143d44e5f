#pragma once

#include <QString>

#include <optional>

// The station's Selvar settings: "Selvar.ini" in the station's work folder
// (C:\Boticon\InterfacXX), lines "NAME=VALUE", names in any letter case.
namespace StationIni {

// The value of `name`, trimmed; nothing when the file or the name is missing,
// or when the file cannot be read (`problem`, when given, then says why).
std::optional<QString> value(const QString &nativeWorkFolder, const QString &name, QString *problem = nullptr);

QString path(const QString &nativeWorkFolder);

} // namespace StationIni
