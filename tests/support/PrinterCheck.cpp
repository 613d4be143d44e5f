#include "PrinterCheck.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

QString printerCheck(const QList<QByteArray> &files, int dpi)
{
    QTemporaryDir dir;
    QStringList arguments{QStringLiteral("--check"), QStringLiteral("--dpi"), QString::number(dpi)};
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("Etiq%1.txt").arg(i + 1, 3, 10, QLatin1Char('0')));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(files[i]) != files[i].size())
            return QStringLiteral("não foi possível gravar %1").arg(path);
        arguments << path;
    }
    QProcess tool;
    tool.start(QStringLiteral(SELVAR_LABEL_PREVIEW), arguments);
    if (!tool.waitForFinished(60000))
        return QStringLiteral("selvar-label-preview --check não terminou: %1").arg(tool.errorString());
    // The findings are on standard output; standard error only says why
    // nothing could be read (exit 1).
    const QString said = QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    if (tool.exitCode() == 1 || (tool.exitCode() != 0 && said.isEmpty()))
        return QStringLiteral("selvar-label-preview --check terminou com %1: %2").arg(tool.exitCode()).arg(QString::fromUtf8(tool.readAllStandardError()));
    return said;
}
