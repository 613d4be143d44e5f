#include "TextFile.h"

#include "Cp1252.h"
#include "SelvarError.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The texts of the platform's input/output errors, by the cause Qt reports.
[[noreturn]] void throwIoError(const QFile &file, const QString &path)
{
    const QFileInfo dir(QFileInfo(path).absolutePath());
    QString text;
    if (!dir.exists())
        text = QStringLiteral("I/O error 3: Path not found (%1)").arg(path);
    else if (file.error() == QFileDevice::OpenError && !QFileInfo::exists(path))
        text = QStringLiteral("I/O error 2: File not found (%1)").arg(path);
    else if (file.error() == QFileDevice::PermissionsError || file.error() == QFileDevice::OpenError)
        text = QStringLiteral("I/O error 5: File access denied (%1)").arg(path);
    else
        text = QStringLiteral("I/O error 101: Disk write error (%1)").arg(path);
    throw InOutError(text);
}

} // namespace

namespace TextFile {

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throwIoError(file, path);
    const QByteArray bytes = file.readAll();
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.append(fromCp1252(bytes.mid(start, i - start)));
            if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(fromCp1252(bytes.mid(start)));
    return lines;
}

QString readFirstLine(const QString &path, int maxChars)
{
    const QStringList lines = readLines(path);
    return lines.isEmpty() ? QString() : lines.first().left(maxChars);
}

void writeLines(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += toCp1252(line);
        bytes += "\r\n";
    }
    writeBytes(path, bytes);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throwIoError(file, path);
    if (file.write(bytes) != bytes.size())
        throwIoError(file, path);
    file.close();
    if (file.error() != QFileDevice::NoError)
        throwIoError(file, path);
}

void remove(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.remove())
        throwIoError(file, path);
}

} // namespace TextFile
