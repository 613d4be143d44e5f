#pragma once

class QCoreApplication;

// Qt's own words (the standard buttons, the file dialog, a line edit's menu)
// in Brazilian Portuguese, from the translations Debian ships with Qt
// (qt6-translations-l10n). False when they are not installed: the program
// still runs, its own texts are Portuguese anyway.
bool installQtTranslations(QCoreApplication *application);
