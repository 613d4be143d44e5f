#include "ProjectError.h"

ProjectError ProjectError::at(const QString &fileName, int line, const QString &keyword, const QString &fault)
{
    const QString where = keyword.isEmpty() ? QStringLiteral("linha %1").arg(line)
                                            : QStringLiteral("linha %1 (%2)").arg(line).arg(keyword);
    return ProjectError(QStringLiteral("Projeto de relatório \"%1\", %2: %3").arg(fileName, where, fault));
}

ProjectError ProjectError::inFile(const QString &fileName, const QString &fault)
{
    return ProjectError(QStringLiteral("Projeto de relatório \"%1\": %2").arg(fileName, fault));
}

QString brNumber(double value)
{
    return QString::number(value, 'g', 8).replace(QLatin1Char('.'), QLatin1Char(','));
}
