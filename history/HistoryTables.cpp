#include "HistoryTables.h"

#include "SelvarError.h"
#include "SqlConnection.h"

#include <QSqlQuery>

#include <algorithm>

namespace {

bool exists(SqlConnection &connection)
{
    QSqlQuery query = connection.exec(QStringLiteral(
        "select count(*) from RDB$RELATIONS where RDB$RELATION_NAME in ('SELVAR_HISTORICO', 'SELVAR_HISTORICO_ITEM')"));
    return query.next() && query.value(0).toInt() == 2;
}

// The widths of the list's text columns in this suite's database; a column
// not found keeps the width the suite usually gives it.
struct ItemWidths
{
    int codigo = 13;
    int componente = 70;
    int codigoEan = 13;
};

ItemWidths listWidths(SqlConnection &connection)
{
    ItemWidths widths;
    QSqlQuery query = connection.exec(QStringLiteral(
        "select trim(rf.RDB$FIELD_NAME), f.RDB$CHARACTER_LENGTH from RDB$RELATION_FIELDS rf "
        "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
        "where rf.RDB$RELATION_NAME = 'TABREV1' and rf.RDB$FIELD_NAME in ('CODIGO', 'COMPONENTE', 'CODIGOEAN')"));
    while (query.next()) {
        const QString name = query.value(0).toString();
        const int length = query.value(1).toInt();
        // Never narrower than usual: a history made here may outlive a narrower list.
        int &width = name == QLatin1String("CODIGO") ? widths.codigo
                     : name == QLatin1String("COMPONENTE") ? widths.componente
                                                           : widths.codigoEan;
        width = std::max(width, length);
    }
    return widths;
}

QStringList definitionsFor(const ItemWidths &widths)
{
    return {
        QStringLiteral("create table SELVAR_HISTORICO (ID integer not null, DATAHORA timestamp not null, "
                       "ESTACAO varchar(3), USUARIO varchar(60), MODELO varchar(2), DESCRICAO varchar(60), "
                       "SAIDA varchar(10), ETIQUETAS integer, PRODUTOS integer, "
                       "constraint PK_SELVAR_HISTORICO primary key (ID))"),
        QStringLiteral("create index IX_SELVAR_HISTORICO_DATAHORA on SELVAR_HISTORICO (DATAHORA)"),
        // No foreign key to the job: checking it costs a print of a thousand
        // products more than writing its rows, and only the job's removal,
        // which takes its products along, ever deletes a job.
        // The products keep the list's own widths: Firebird takes no "type of
        // column" in a table's definition, so they are read from the schema.
        QStringLiteral("create table SELVAR_HISTORICO_ITEM (HISTORICO integer not null, ORDEM integer not null, "
                       "CODIGO varchar(%1), COMPONENTE varchar(%2), CODIGOEAN varchar(%3), PRECO1 numeric(15,2), "
                       "ETIQUETAS integer, constraint PK_SELVAR_HISTORICO_ITEM primary key (HISTORICO, ORDEM))")
            .arg(widths.codigo)
            .arg(widths.componente)
            .arg(widths.codigoEan),
        // The last label of a product is found from its code, newest job first.
        QStringLiteral("create descending index IX_SELVAR_HISTORICO_ITEM_CODIGO on SELVAR_HISTORICO_ITEM (CODIGO, HISTORICO)"),
        QStringLiteral("create sequence GEN_SELVAR_HISTORICO"),
    };
}

} // namespace

void HistoryTables::ensure(SqlConnection &connection)
{
    connection.acquire();
    struct Releaser { SqlConnection &c; ~Releaser() { c.release(); } } releaser{connection};
    if (exists(connection))
        return;
    for (const QString &statement : definitionsFor(listWidths(connection))) {
        try {
            connection.ExecuteDirect(statement);
        } catch (const SelvarError &) {
            // Made by another station meanwhile, or left by an earlier try; checked below.
        }
    }
    if (!exists(connection))
        throw SelvarError(QStringLiteral("Não foi possível criar as tabelas do histórico de etiquetas no banco de dados."));
}
