#include "PendingFiles.h"

#include "SelvarError.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace PendingFiles {

namespace {

const QLatin1Char kSeparator(';');

} // namespace

QString recordPath(const QString &batchFile)
{
    return QFileInfo(batchFile).dir().filePath(QStringLiteral("EnvioPendente.txt"));
}

namespace {

// How far the hand-over got: the index, in the record, of the first file not
// yet handed over. Kept apart, so that a job of thousands of files rewrites a
// few bytes per file and not its whole list.
QString progressPath(const QString &batchFile)
{
    return QFileInfo(batchFile).dir().filePath(QStringLiteral("EnvioProximo.txt"));
}

} // namespace

// The record, written when the hand-over starts: line 1 the batch file; 2 the
// printer path; 3 the number of its first file and the job's file count; then
// one line per file: its labels and its path.
QString record(const PrintJob &job, int next)
{
    if (next >= job.files.size()) {
        discard(job.batchFile);
        return {};
    }
    if (next == 0) {
        QStringList lines{job.batchFile, job.printerPath,
                          QString::number(job.firstFileNumber) + kSeparator + QString::number(job.fileCount())};
        for (const CommandFile &file : job.files)
            lines << QString::number(file.labels) + kSeparator + file.path;
        const QString error = TextFile::writeWhole(recordPath(job.batchFile), TextFile::encodeLines(lines));
        if (!error.isEmpty())
            return error;
    }
    return TextFile::writeWhole(progressPath(job.batchFile), QByteArray::number(next));
}

void discard(const QString &batchFile)
{
    QFile::remove(recordPath(batchFile));
    QFile::remove(progressPath(batchFile));
}

std::optional<PrintJob> load(const QString &batchFile)
{
    const QString path = recordPath(batchFile);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QStringList lines;
    try {
        lines = TextFile::readLines(path);
    } catch (const SelvarError &) {
        return std::nullopt;
    }
    if (lines.size() < 4 || lines[0] != batchFile)
        return std::nullopt;
    bool ok = true;
    int next = 0;
    QFile progress(progressPath(batchFile));
    if (progress.open(QIODevice::ReadOnly))
        next = progress.readAll().trimmed().toInt(&ok);
    if (!ok || next < 0)
        return std::nullopt;
    PrintJob job{lines[0], lines[1], {}};
    job.firstFileNumber = lines[2].section(kSeparator, 0, 0).toInt(&ok) + next;
    if (!ok || job.firstFileNumber < 1)
        return std::nullopt;
    for (qsizetype i = 3 + next; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        CommandFile file;
        file.labels = lines[i].section(kSeparator, 0, 0).toInt(&ok);
        file.path = lines[i].section(kSeparator, 1);
        QFile bytes(file.path);
        if (!ok || !bytes.open(QIODevice::ReadOnly))
            return std::nullopt;
        file.bytes = bytes.readAll();
        job.files.append(file);
    }
    if (job.files.isEmpty())
        return std::nullopt;
    return job;
}

} // namespace PendingFiles
