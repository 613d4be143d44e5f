#include "ListStatements.h"

#include "ColumnLists.h"

namespace ListStatements {

QString tabRev1OrderedBy(const QString &orderBy)
{
    return QStringLiteral("Select ") + TabRevColumns + QStringLiteral(" from TABREV1 order by ") + orderBy;
}

QString resaleComponents()
{
    return QStringLiteral("Select ") + ComponenColumns
           + QStringLiteral(" from COMPONEN where GRUPO = 'REV' order by COMPONENTE, CODIGO");
}

} // namespace ListStatements
