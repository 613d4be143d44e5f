#pragma once

#include <QString>

// The name of the user who runs the program, letter case as the system gives it:
// SELVAR_USER when set, else the Windows user name or the login name of the effective user.
QString currentUserName();
