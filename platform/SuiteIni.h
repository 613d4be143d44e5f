#pragma once

#include <QList>
#include <QString>

#include <optional>

// The suite's INI file, "BOTICON.INI" in the executable's folder: one setting a
// line, a 48-character key padded with dots and ended by a colon, a separator
// column, then the value from column 50 to 109. Every program of the suite finds
// its database through it.
namespace SuiteIni {

// The suite cuts the executable's folder text at 60 characters.
inline constexpr int FolderLimit = 60;

inline const QString ServerKey = QStringLiteral("IP DO SERVIDOR CENTRAL.........................:");
inline const QString ColorKey = QStringLiteral("COR DE FUNDO DAS TELAS.........................:");

// The executable's folder as the programs compose with it, cut as the suite cuts it.
QString exeFolder();
// The native path of BOTICON.INI in that folder.
QString path(const QString &exeFolder);

struct Setting
{
    QString key;   // the first 48 characters, dots and colon included
    QString value; // trimmed
};
// Every line of the file, in order.
QList<Setting> settings(const QString &iniPath);

// The central server's address ("" = the embedded engine); nothing when the file is missing.
std::optional<QString> serverAddress(const QString &exeFolder);

// The suite's main database as a connection's DataBase text: "server:C:\boticon\dados\boticon.bd".
QString mainDatabase(const QString &serverAddress);

} // namespace SuiteIni

// Removes leading, then trailing blanks; only the space character counts.
QString TrimSpaces(const QString &text);
