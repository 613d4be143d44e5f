#include "ColumnLists.h"

#include "TableDefs.h"

QString EtiqParColumns;
QString TabRevColumns;
QString ComponenColumns;

void setColumnLists()
{
    EtiqParColumns = TableDefs::columnList(TableDefs::etiqPar());
    TabRevColumns = TableDefs::columnList(TableDefs::tabRev());
    ComponenColumns = TableDefs::columnList(TableDefs::componen());
}
