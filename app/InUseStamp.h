#pragma once

#include <QDateTime>
#include <QString>

// "C:\BOTICON\Em_Uso.txt": one line with the moment a running copy of the program
// last said it was alive. A copy that finds a fresh stamp leaves the writing to
// the copy that keeps it fresh.
namespace InUseStamp {

QString path(); // native path of the stamp file

void write(const QDateTime &now);

// A stamp more than 40 seconds older than now is stale; exactly 40 is still fresh.
bool isStale(const QDateTime &stamp, const QDateTime &now);

// True when the stamp is missing or stale. A stamp that does not read as a date
// and time throws the conversion error.
bool needsRewrite(const QDateTime &now);

void remove();

} // namespace InUseStamp
