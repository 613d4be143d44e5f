#include "TextFile.h"

#include "Cp1252.h"
#include "SelvarError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Puts what was written to the open file on the disk itself, past the
// system's caches, so a machine that loses power keeps it.
bool syncToDisk(QFile &file)
{
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

// The folder's entry for a file just renamed into it is on disk too.
void syncFolder(const QString &path)
{
#ifndef Q_OS_WIN
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
#else
    Q_UNUSED(path);
#endif
}

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

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += toCp1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

void writeLines(const QString &path, const QStringList &lines)
{
    const QByteArray bytes = encodeLines(lines);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throwIoError(file, path);
    if (file.write(bytes) != bytes.size())
        throwIoError(file, path);
    file.close();
    if (file.error() != QFileDevice::NoError)
        throwIoError(file, path);
}

QString writeWhole(const QString &path, const QByteArray &bytes)
{
    // A name no other program writing the same file at the same time can have
    // (the designer's test print and the counter share a station folder).
    const QString aside = QStringLiteral("%1.%2-%3.gravando")
                              .arg(path)
                              .arg(QCoreApplication::applicationPid())
                              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    QFile file(aside);
    // Unbuffered, so a full disk shows at the write that hits it and not in a
    // flush whose failure a buffered close may not pass on.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return file.errorString();
    QString error;
    if (file.write(bytes) != bytes.size() || !file.flush())
        error = file.errorString();
    else if (!syncToDisk(file))
        error = QString::fromLocal8Bit(strerror(errno));
    file.close();
    if (error.isEmpty() && file.error() != QFileDevice::NoError)
        error = file.errorString();
    if (error.isEmpty()) {
        std::error_code code;
        std::filesystem::rename(aside.toStdU16String(), path.toStdU16String(), code);
        if (code)
            error = QString::fromStdString(code.message());
        else
            syncFolder(path);
    }
    if (!error.isEmpty())
        QFile::remove(aside);
    return error;
}

QString appendDurably(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.exists())
        return QStringLiteral("o arquivo não existe mais");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString();
    if (!syncToDisk(file))
        return QString::fromLocal8Bit(strerror(errno));
    return {};
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
