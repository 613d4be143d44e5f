#pragma once

#include <QString>
#include <QStringList>

// Local text files of the suite: Windows-1252, lines ended by CR LF.
// Paths are native paths (see SuitePaths for the mapping of "C:\BOTICON\...").
namespace TextFile {

// Lines up to their line breaks (CR LF, LF or CR); throws InOutError when the file cannot be read.
QStringList readLines(const QString &path);

// The first line, at most maxChars characters; empty for an empty file.
QString readFirstLine(const QString &path, int maxChars);

// The bytes writeLines writes: each line in Windows-1252 followed by CR LF.
QByteArray encodeLines(const QStringList &lines);

// Rewrites the file with each line followed by CR LF; throws InOutError on failure.
void writeLines(const QString &path, const QStringList &lines);

// Writes the whole file aside, under a name of this program's own, and puts it
// in place only once every byte is on the disk itself, so nobody ever reads
// half of it. Returns why it failed ("No space left on device"), or an empty
// text; on failure the file, if it was there, is untouched.
QString writeWhole(const QString &path, const QByteArray &bytes);

// Adds the bytes at the end of an existing file and returns only once they are
// on the disk itself; returns why it failed, or an empty text.
QString appendDurably(const QString &path, const QByteArray &bytes);

// Deletes the file; a missing file is no error. Throws InOutError when it exists and cannot be removed.
void remove(const QString &path);

} // namespace TextFile
