#include "HistoryStore.h"

#include "DatabaseErrors.h"
#include "HistoryTables.h"
#include "LostConnection.h"
#include "SelvarError.h"

namespace {

// Decimals travel as the integer of their cents, turned back into the exact
// number by the database (the driver would pass them through a double). The
// other parameters take the types of the columns they fill, so the widths are
// the database's: a suite with wider codes or names keeps them whole.
const QString kItemRow = QStringLiteral(
    "select cast(? as type of column SELVAR_HISTORICO_ITEM.HISTORICO), cast(? as type of column SELVAR_HISTORICO_ITEM.ORDEM), "
    "cast(? as type of column SELVAR_HISTORICO_ITEM.CODIGO), cast(? as type of column SELVAR_HISTORICO_ITEM.COMPONENTE), "
    "cast(? as type of column SELVAR_HISTORICO_ITEM.CODIGOEAN), cast(? as bigint) * 0.01, "
    "cast(? as type of column SELVAR_HISTORICO_ITEM.ETIQUETAS) from RDB$DATABASE");

// A print of a thousand products is a thousand rows: written many to a
// statement, they cost a fraction of one round trip each.
constexpr int kItemsPerStatement = 25;

QString insertItems(int rows)
{
    // Each history worker keeps its own: several may write at once.
    thread_local QHash<int, QString> statements;
    QString &statement = statements[rows];
    if (statement.isEmpty()) {
        QStringList selects;
        for (int i = 0; i < rows; ++i)
            selects << kItemRow;
        statement = QStringLiteral("insert into SELVAR_HISTORICO_ITEM (HISTORICO, ORDEM, CODIGO, COMPONENTE, CODIGOEAN, "
                                   "PRECO1, ETIQUETAS) ")
                    + selects.join(QStringLiteral(" union all "));
    }
    return statement;
}
const QString kAddToItem = QStringLiteral(
    "merge into SELVAR_HISTORICO_ITEM I using (select cast(? as type of column SELVAR_HISTORICO_ITEM.HISTORICO) H, "
    "cast(? as type of column SELVAR_HISTORICO_ITEM.ORDEM) O, cast(? as type of column SELVAR_HISTORICO_ITEM.CODIGO) C, "
    "cast(? as type of column SELVAR_HISTORICO_ITEM.COMPONENTE) N, cast(? as type of column SELVAR_HISTORICO_ITEM.CODIGOEAN) E, "
    "cast(? as bigint) * 0.01 P, cast(? as type of column SELVAR_HISTORICO_ITEM.ETIQUETAS) Q from RDB$DATABASE) S "
    "on I.HISTORICO = S.H and I.ORDEM = S.O "
    "when matched then update set ETIQUETAS = I.ETIQUETAS + S.Q "
    "when not matched then insert (HISTORICO, ORDEM, CODIGO, COMPONENTE, CODIGOEAN, PRECO1, ETIQUETAS) "
    "values (S.H, S.O, S.C, S.N, S.E, S.P, S.Q)");

QVariantList itemParams(qint64 jobId, const PrintedItem &item)
{
    return {jobId, item.order, item.codigo, item.componente, item.codigoEan, item.preco.rescaled(2).units(), item.labels};
}

Decimal priceOf(const QVariant &text)
{
    Decimal price(0, 2);
    if (!text.isNull())
        Decimal::fromText(text.toString(), 2, &price);
    return price;
}

} // namespace

HistoryStore::HistoryStore(std::function<QString()> database)
    : m_database(std::move(database)),
      m_connection(QStringLiteral("SQLConnectionHistorico"), QStringLiteral("BoticonHistorico"))
{
}

HistoryStore::~HistoryStore()
{
    if (m_held)
        m_connection.release();
}

// The connection stays open once used: a record at the end of every print
// would otherwise pay for an attachment each time.
SqlConnection &HistoryStore::ready()
{
    const QString database = m_database();
    if (database.isEmpty())
        throw SelvarError(QStringLiteral("O banco de dados não está definido."));
    if (database != m_connection.DataBase()) {
        if (m_held)
            m_connection.release();
        m_held = false;
        m_tablesChecked = false;
        m_connection.setDataBase(database);
    }
    if (!m_held) {
        m_connection.acquire();
        m_held = true;
    }
    if (!m_tablesChecked) {
        HistoryTables::ensure(m_connection);
        m_tablesChecked = true;
    }
    return m_connection;
}

// The connection is kept between prints, so a server restarted meanwhile is
// met here first. Lost at the commit, the work may be in the database or not,
// and done again it could count a print twice: it fails as CommitUnknown, and
// the caller reads what is there before it writes again.
template <typename Work> void HistoryStore::inTransaction(Work work)
{
    LostConnection::retried(
        LostConnection::Commit::Unknown,
        [&](int) {
            SqlConnection &connection = ready();
            try {
                connection.BeginTransaction();
                work(connection);
                connection.CommitTransaction();
            } catch (...) {
                connection.RollbackTransaction();
                throw;
            }
        },
        [](const DatabaseError &) {});
}

namespace {

qint64 nextJobId(SqlConnection &connection)
{
    QSqlQuery next = connection.exec(QStringLiteral("select next value for GEN_SELVAR_HISTORICO from RDB$DATABASE"));
    if (!next.next())
        throw SelvarError(QStringLiteral("O gerador GEN_SELVAR_HISTORICO não respondeu."));
    return next.value(0).toLongLong();
}

bool hasJob(SqlConnection &connection, qint64 id)
{
    QSqlQuery query = connection.exec(QStringLiteral("select count(*) from SELVAR_HISTORICO where ID = ?"), {id});
    if (!query.next())
        throw SelvarError(QStringLiteral("O histórico de etiquetas não respondeu."));
    return query.value(0).toLongLong() > 0;
}

} // namespace

qint64 HistoryStore::reserveJobId()
{
    qint64 id = 0;
    inTransaction([&](SqlConnection &connection) { id = nextJobId(connection); });
    return id;
}

qint64 HistoryStore::labelsRecorded(qint64 jobId)
{
    qint64 labels = 0;
    inTransaction([&](SqlConnection &connection) {
        QSqlQuery query = connection.exec(QStringLiteral("select coalesce(sum(ETIQUETAS), 0) from SELVAR_HISTORICO where ID = ?"),
                                          {jobId});
        if (!query.next())
            throw SelvarError(QStringLiteral("O histórico de etiquetas não respondeu."));
        labels = query.value(0).toLongLong();
    });
    return labels;
}

void HistoryStore::record(const PrintedJob &part, const QString &output, qint64 *jobId)
{
    if (part.labels() <= 0)
        return;
    qint64 id = *jobId;
    inTransaction([&](SqlConnection &connection) {
        if (id == 0)
            id = nextJobId(connection);
        if (!hasJob(connection, id)) {
            connection.execWrite(QStringLiteral("insert into SELVAR_HISTORICO (ID, DATAHORA, ESTACAO, USUARIO, MODELO, "
                                                "DESCRICAO, SAIDA, ETIQUETAS, PRODUTOS) "
                                                "values (?, current_timestamp, ?, ?, ?, ?, ?, ?, ?)"),
                                 {id, part.station.left(3), part.user.left(60), part.modelCode.left(2),
                                  part.modelDescription.left(60), output, part.labels(), int(part.items.size())});
            for (qsizetype from = 0; from < part.items.size(); from += kItemsPerStatement) {
                const qsizetype rows = qMin<qsizetype>(kItemsPerStatement, part.items.size() - from);
                QVariantList params;
                for (qsizetype i = from; i < from + rows; ++i)
                    params += itemParams(id, part.items[i]);
                connection.execWrite(insertItems(int(rows)), params);
            }
            return;
        }
        for (const PrintedItem &item : part.items)
            connection.execWrite(kAddToItem, itemParams(id, item));
        connection.execWrite(QStringLiteral("update SELVAR_HISTORICO set ETIQUETAS = ETIQUETAS + ?, PRODUTOS = "
                                            "(select count(*) from SELVAR_HISTORICO_ITEM where HISTORICO = ?) where ID = ?"),
                             {part.labels(), id, id});
    });
    *jobId = id;
}

QHash<QString, HistoryStore::LastLabel> HistoryStore::lastLabels(const QString &listTable)
{
    // One statement for the whole list, led by the list: each product finds
    // its newest job through the index on (CODIGO, HISTORICO), so the cost
    // follows the list's size, not the history's.
    SqlConnection &connection = ready();
    QSqlQuery query = connection.exec(QStringLiteral("select T.CODIGO, I.HISTORICO, cast(I.PRECO1 as varchar(32)), I.ETIQUETAS "
                                                     "from %1 T left join SELVAR_HISTORICO_ITEM I on I.CODIGO = T.CODIGO "
                                                     "and I.HISTORICO = (select max(J.HISTORICO) from SELVAR_HISTORICO_ITEM J "
                                                     "where J.CODIGO = T.CODIGO)")
                                          .arg(listTable));
    QHash<QString, LastLabel> last;
    while (query.next()) {
        if (query.isNull(1))
            continue;
        // A product twice in one job counts once.
        const QString code = query.value(0).toString();
        if (!last.contains(code))
            last.insert(code, LastLabel{priceOf(query.value(2)), query.value(3).toLongLong()});
    }
    connection.checkFetched(query);
    return last;
}

QList<HistoryStore::JobRow> HistoryStore::jobs(const Filter &filter)
{
    QString where;
    QVariantList params;
    auto add = [&](const QString &condition, const QVariantList &values) {
        where += (where.isEmpty() ? QStringLiteral(" where ") : QStringLiteral(" and ")) + condition;
        params += values;
    };
    const QString product = filter.product.trimmed();
    if (!product.isEmpty())
        add(QStringLiteral("exists (select 1 from SELVAR_HISTORICO_ITEM I where I.HISTORICO = H.ID and "
                           "(I.COMPONENTE containing ? or I.CODIGO = ? or I.CODIGOEAN = ?))"),
            {product, product, product});
    if (!filter.station.trimmed().isEmpty())
        add(QStringLiteral("H.ESTACAO = ?"), {filter.station.trimmed()});
    if (filter.from.isValid())
        add(QStringLiteral("H.DATAHORA >= ?"), {QDateTime(filter.from, QTime(0, 0))});
    if (filter.to.isValid())
        add(QStringLiteral("H.DATAHORA < ?"), {QDateTime(filter.to.addDays(1), QTime(0, 0))});
    SqlConnection &connection = ready();
    QSqlQuery query = connection.exec(QStringLiteral("select first %1 H.ID, H.DATAHORA, H.ESTACAO, H.USUARIO, H.MODELO, "
                                                     "H.DESCRICAO, H.SAIDA, H.ETIQUETAS, H.PRODUTOS "
                                                     "from SELVAR_HISTORICO H%2 order by H.ID desc")
                                          .arg(qMax(1, filter.limit))
                                          .arg(where),
                                      params);
    QList<JobRow> rows;
    while (query.next()) {
        rows.append(JobRow{query.value(0).toLongLong(), query.value(1).toDateTime(), query.value(2).toString(),
                           query.value(3).toString(), query.value(4).toString(), query.value(5).toString(),
                           query.value(6).toString(), query.value(7).toLongLong(), query.value(8).toInt()});
    }
    connection.checkFetched(query);
    return rows;
}

QList<PrintedItem> HistoryStore::items(qint64 jobId)
{
    SqlConnection &connection = ready();
    QSqlQuery query = connection.exec(QStringLiteral("select ORDEM, CODIGO, COMPONENTE, CODIGOEAN, cast(PRECO1 as varchar(32)), "
                                                     "ETIQUETAS from SELVAR_HISTORICO_ITEM where HISTORICO = ? order by ORDEM"),
                                      {jobId});
    QList<PrintedItem> items;
    while (query.next()) {
        items.append(PrintedItem{query.value(0).toInt(), query.value(1).toString(), query.value(2).toString(),
                                 query.value(3).toString(), priceOf(query.value(4)), query.value(5).toLongLong()});
    }
    connection.checkFetched(query);
    return items;
}

int HistoryStore::removeOlderThan(int days, int batch)
{
    int removed = 0;
    inTransaction([&](SqlConnection &connection) {
        removed = 0;
        QList<qint64> ids;
        QSqlQuery old = connection.exec(QStringLiteral("select first %1 ID from SELVAR_HISTORICO where DATAHORA < "
                                                       "dateadd(day, -cast(? as integer), current_timestamp) order by ID")
                                            .arg(qMax(1, batch)),
                                        {days});
        while (old.next())
            ids << old.value(0).toLongLong();
        for (qint64 id : ids) {
            connection.execWrite(QStringLiteral("delete from SELVAR_HISTORICO_ITEM where HISTORICO = ?"), {id});
            removed += connection.execWrite(QStringLiteral("delete from SELVAR_HISTORICO where ID = ?"), {id},
                                            SqlConnection::Count::Rows);
        }
    });
    return removed;
}
