#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What `selvar-label-preview --check` says about command files a test wrote:
// every command or parameter the printer language does not take, one line
// each ("Etiq001.txt, linha 3: ..."); empty when the printer takes them all.
// The files are checked together, in order, as one job.
QString printerCheck(const QList<QByteArray> &files, int dpi = 203);
