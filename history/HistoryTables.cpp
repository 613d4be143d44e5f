#include "HistoryTables.h"

#include "SelvarError.h"
#include "SqlConnection.h"

namespace {

bool exists(SqlConnection &connection)
{
    QSqlQuery query = connection.exec(QStringLiteral(
        "select count(*) from RDB$RELATIONS where RDB$RELATION_NAME in ('SELVAR_HISTORICO', 'SELVAR_HISTORICO_ITEM')"));
    return query.next() && query.value(0).toInt() == 2;
}

} // namespace

const QStringList &HistoryTables::definitions()
{
    static const QStringList statements{
        QStringLiteral("create table SELVAR_HISTORICO (ID integer not null, DATAHORA timestamp not null, "
                       "ESTACAO varchar(3), USUARIO varchar(60), MODELO varchar(2), DESCRICAO varchar(60), "
                       "SAIDA varchar(10), ETIQUETAS integer, PRODUTOS integer, "
                       "constraint PK_SELVAR_HISTORICO primary key (ID))"),
        QStringLiteral("create index IX_SELVAR_HISTORICO_DATAHORA on SELVAR_HISTORICO (DATAHORA)"),
        // No foreign key to the job: checking it costs a print of a thousand
        // products more than writing its rows, and only the job's removal,
        // which takes its products along, ever deletes a job.
        QStringLiteral("create table SELVAR_HISTORICO_ITEM (HISTORICO integer not null, ORDEM integer not null, "
                       "CODIGO varchar(13), COMPONENTE varchar(70), CODIGOEAN varchar(13), PRECO1 numeric(15,2), "
                       "ETIQUETAS integer, constraint PK_SELVAR_HISTORICO_ITEM primary key (HISTORICO, ORDEM))"),
        // The last label of a product is found from its code, newest job first.
        QStringLiteral("create descending index IX_SELVAR_HISTORICO_ITEM_CODIGO on SELVAR_HISTORICO_ITEM (CODIGO, HISTORICO)"),
        QStringLiteral("create sequence GEN_SELVAR_HISTORICO"),
    };
    return statements;
}

void HistoryTables::ensure(SqlConnection &connection)
{
    connection.acquire();
    struct Releaser { SqlConnection &c; ~Releaser() { c.release(); } } releaser{connection};
    if (exists(connection))
        return;
    for (const QString &statement : definitions()) {
        try {
            connection.ExecuteDirect(statement);
        } catch (const SelvarError &) {
            // Made by another station meanwhile, or left by an earlier try; checked below.
        }
    }
    if (!exists(connection))
        throw SelvarError(QStringLiteral("Não foi possível criar as tabelas do histórico de etiquetas no banco de dados."));
}
