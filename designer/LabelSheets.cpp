#include "LabelSheets.h"

#include "ProjectStatement.h"

#include <QFile>

QPageSize::PageSizeId paperId(const QString &paper)
{
    if (paper.compare(QLatin1String("A5"), Qt::CaseInsensitive) == 0)
        return QPageSize::A5;
    if (paper.compare(QLatin1String("Carta"), Qt::CaseInsensitive) == 0 || paper.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0)
        return QPageSize::Letter;
    return QPageSize::A4;
}

QList<LabelSheet> parseLabelSheets(const QString &text)
{
    QList<LabelSheet> sheets;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(';'));
        if (fields.size() != 10)
            continue;
        double values[8] = {};
        bool ok = true;
        for (int i = 0; i < 8; ++i)
            ok = ok && parseProjectNumber(fields[i + 2].trimmed(), &values[i]);
        if (!ok)
            continue;
        LabelSheet sheet;
        sheet.name = fields[0].trimmed();
        sheet.paper = fields[1].trimmed();
        sheet.pageSize = paperId(sheet.paper);
        sheet.grid.columns = int(values[0]);
        sheet.grid.rows = int(values[1]);
        sheet.grid.cellWidth = values[2];
        sheet.grid.cellHeight = values[3];
        sheet.grid.left = values[4];
        sheet.grid.top = values[5];
        sheet.grid.pitchX = values[6];
        sheet.grid.pitchY = values[7];
        sheets.append(sheet);
    }
    return sheets;
}

QList<LabelSheet> labelSheets()
{
    QFile file(QStringLiteral(":/designer/label-sheets.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseLabelSheets(QString::fromUtf8(file.readAll()));
}
