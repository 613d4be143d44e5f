#pragma once

#include <QString>

// The suite lives in the fixed Windows folder "C:\BOTICON\". Programs compose
// their documented texts with that folder and backslashes; only when a file
// is touched is the text mapped to a native path here.
namespace SuitePaths {

// BOTICON_ROOT when set, else C:\BOTICON\ on Windows and /opt/boticon/ elsewhere; ends with a separator.
QString suiteRoot();

// "c:\boticon\rpt\Selvar.rav" -> <suiteRoot>/rpt/Selvar.rav. The suite prefix is matched in any
// letter case; existing folders and files are found without regard to letter case. A path outside
// the suite folder is only converted from backslashes.
QString toNative(const QString &windowsPath);

// Finds an existing file or folder without regard to letter case, component by component;
// returns the path unchanged (as given) where nothing matches.
QString resolveCaseInsensitive(const QString &nativePath);

// The folder of the running executable as the Windows-style text the program composes with:
// SELVAR_EXE_FOLDER when set, else the application's folder (the suite folder when the program
// runs from the bin/ folder it was installed into), with a final separator.
QString exeFolderText();

} // namespace SuitePaths
