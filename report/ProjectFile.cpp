#include "ProjectFile.h"

#include "Cp1252.h"
#include "ProjectError.h"
#include "ProjectParser.h"
#include "SuitePaths.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

QString decodeProjectText(const QByteArray &bytes)
{
    // What Notepad saves as "Unicode": UTF-16 with its byte order mark, either order.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        return utf16.decode(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return fromCp1252(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

ReportProject loadReportProject(const QString &projectFile)
{
    const QString native = SuitePaths::toNative(projectFile);
    if (!QFileInfo(native).isFile())
        throw SelvarError(QStringLiteral("The following reporting project does not exist:\r\"%1\"").arg(projectFile));
    QFile file(native);
    if (!file.open(QIODevice::ReadOnly))
        throw ProjectError::inFile(projectFile, QStringLiteral("não foi possível ler o arquivo (%1)").arg(file.errorString()));
    ReportProject project = parseReportProject(decodeProjectText(file.readAll()), projectFile);
    // Images are found beside the file on disk, wherever the program names it.
    for (SheetReport &report : project.reports)
        report.folder = QFileInfo(native).absolutePath();
    return project;
}
