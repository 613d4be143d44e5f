#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Local text files of the suite: Windows-1252, lines ended by CR LF.
// Paths are native paths (see SuitePaths for the mapping of "C:\BOTICON\...").
namespace TextFile {

// Lines up to their line breaks (CR LF, LF or CR); throws InOutError when the file cannot be read.
QStringList readLines(const QString &path);

// The first line, at most maxChars characters; empty for an empty file.
QString readFirstLine(const QString &path, int maxChars);

// Rewrites the file with each line followed by CR LF; throws InOutError on failure.
void writeLines(const QString &path, const QStringList &lines);

// Rewrites the file with exactly these bytes (a printer's command file); throws InOutError on failure.
void writeBytes(const QString &path, const QByteArray &bytes);

// Deletes the file; a missing file is no error. Throws InOutError when it exists and cannot be removed.
void remove(const QString &path);

} // namespace TextFile
