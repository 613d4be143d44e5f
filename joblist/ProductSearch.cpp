#include "ProductSearch.h"

#include "ListStatements.h"
#include "TDM.h"

namespace ProductSearch {

QString columnName(Column column)
{
    return column == Column::Componente ? QStringLiteral("COMPONENTE") : QStringLiteral("CODIGO");
}

QString statementFor(Column column)
{
    return ListStatements::tabRev1OrderedBy(columnName(column));
}

void reload(TDM &dm, Column column, const QString &text)
{
    dm.TabRev1->Close();
    dm.SQLDS_TabRev1->setCommandText(statementFor(column));
    dm.TabRev1->Open();
    moveToNearest(dm, column, text);
}

void moveToNearest(TDM &dm, Column column, const QString &text)
{
    // The list comes ordered by the column from the database, and FindNearest
    // compares the way the database sorts (byte order of the WIN1252 text), so
    // the first row not before the text is the nearest one.
    dm.TabRev1->setIndexFieldNames(columnName(column));
    dm.TabRev1->FindNearest({text});
}

QString enter(TDM &dm, Column column, const QString &text)
{
    if (text.isEmpty())
        return column == Column::Componente ? QStringLiteral("Digite o nome de um produto.")
                                            : QStringLiteral("Digite o Código de um produto.");
    moveToNearest(dm, column, text.left(kEnterLength));
    return QString();
}

} // namespace ProductSearch
