#pragma once

#include "PrintJob.h"
#include "PrintedJob.h"

#include <QDir>

// A counter's thermal job as the tests that print without the window make it:
// `files` command files of 3 labels, product "TAG Pk" in file k, each label
// named "TAG Pk #n" in its file, so a printer file shows what it got.
namespace StationJobs {

inline PrintedJob printed(const QString &tag, int files)
{
    PrintedJob job;
    job.station = QStringLiteral("01");
    job.user = QStringLiteral("Joana");
    job.modelCode = QStringLiteral("01");
    job.modelDescription = QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas");
    for (int k = 1; k <= files; ++k)
        job.items.append(PrintedItem{k, QStringLiteral("%1%2").arg(tag).arg(k), QStringLiteral("%1 P%2").arg(tag).arg(k),
                                     QString(), Decimal(100 * k, 2), 3});
    return job;
}

// The batch file ImprEtiq.bat and the printer file impressora.prn of `folder`.
inline PrintJob commandFiles(const QString &folder, const QString &tag, int files)
{
    const QDir dir(folder);
    PrintJob job{dir.filePath(QStringLiteral("ImprEtiq.bat")), dir.filePath(QStringLiteral("impressora.prn")), {}};
    for (int k = 1; k <= files; ++k) {
        QByteArray bytes = "N\r\n";
        for (int label = 1; label <= 3; ++label)
            bytes += QStringLiteral("A0,0,0,2,1,1,N,\"%1 P%2 #%3\"\r\n").arg(tag).arg(k).arg(label).toLatin1();
        bytes += "P1\r\n";
        job.files.append({dir.filePath(QStringLiteral("Etiq%1.txt").arg(k, 3, 10, QLatin1Char('0'))), bytes, 3});
    }
    return job;
}

} // namespace StationJobs
