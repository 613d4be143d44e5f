#pragma once

#include <QString>

// The name of the user who runs the program, letter case as the system gives it:
// SELVAR_USER when set, else the Windows user name or the login name of the effective user.
QString currentUserName();

// A user name as the database compares it: "josé " -> "JOSÉ", capitals as
// Firebird's upper() makes them in WIN1252, trailing blanks dropped.
QString userNameKey(const QString &name);
