#pragma once

#include <QFile>
#include <QStringList>

// What thermal command files put on the labels, one entry per label: its first
// name line and its barcode data, quoted as in the file ("\"Produto 1\"
// \"7890000000001\""); a skipped position reads "\"\" \"\"".
inline QStringList printedLabels(const QString &commandFile)
{
    QFile file(commandFile);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<missing %1>").arg(commandFile)};
    QStringList labels;
    QString name;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith('A') && line.contains(",0,0,2,1,1,N,"))
            name = QString::fromLatin1(line.mid(line.indexOf('"')).trimmed());
        else if (line.startsWith('B'))
            labels << name + QLatin1Char(' ') + QString::fromLatin1(line.mid(line.indexOf('"')).trimmed());
    }
    return labels;
}

// The labels of the stations' shared list ("Produto 1" to "Produto 3", `each`
// labels apiece) after `skipped` positions.
inline QStringList listLabels(int skipped, int each)
{
    QStringList labels;
    for (int i = 0; i < skipped; ++i)
        labels << QStringLiteral("\"\" \"\"");
    for (int p = 1; p <= 3; ++p)
        for (int n = 0; n < each; ++n)
            labels << QStringLiteral("\"Produto %1\" \"789000000000%1\"").arg(p);
    return labels;
}
