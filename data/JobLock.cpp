#include "JobLock.h"

#include "FirebirdClient.h"

namespace {

using FirebirdClient::Status;

// Read committed, so the row is always seen as last committed; NO WAIT, so a
// row another transaction holds is refused at once instead of waited for.
const char lockTransaction[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                                isc_tpb_nowait};
const char schemaTransaction[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                                  isc_tpb_wait};

// Changing the row takes its lock; "update or insert" also mends a table whose
// row was deleted.
const char lockStatement[] = "update or insert into SELVAR_TRAVA (ID, INICIO) values (1, current_timestamp) matching (ID)";

} // namespace

struct JobLock::Handles
{
    isc_db_handle attachment = 0;
    isc_tr_handle transaction = 0;
};

JobLock::JobLock() : m(std::make_unique<Handles>()) {}

JobLock::~JobLock()
{
    release();
}

bool JobLock::held() const
{
    return m->transaction != 0;
}

const char *JobLock::tableDefinition()
{
    return "create table SELVAR_TRAVA (ID integer not null, ESTACAO varchar(3), TRABALHO varchar(20), "
           "INICIO timestamp, constraint PK_SELVAR_TRAVA primary key (ID))";
}

bool JobLock::acquire(const QString &database, bool embedded)
{
    open(database, embedded);
    if (tryTake())
        return true;
    release();
    return false;
}

void JobLock::open(const QString &database, bool embedded)
{
    release();
    Status status;
    const QByteArray name = database.toLocal8Bit();
    const QByteArray dpb = FirebirdClient::attachParameters(embedded);
    isc_attach_database(&status, 0, name.constData(), &m->attachment, short(dpb.size()), dpb.constData());
    status.check();
}

bool JobLock::tryTake()
{
    if (m->transaction)
        return true;
    Status status;
    try {
        for (int attempt = 0;; ++attempt) {
            isc_start_transaction(&status, &m->transaction, 1, &m->attachment, short(sizeof lockTransaction),
                                  lockTransaction);
            status.check();
            isc_dsql_execute_immediate(&status, &m->attachment, &m->transaction, 0, lockStatement, SQL_DIALECT_V6, nullptr);
            if (!status.failed())
                return true;
            Status ignored;
            isc_rollback_transaction(&ignored, &m->transaction);
            m->transaction = 0;
            // A row locked by another transaction, or (for a table whose row is
            // missing) inserted by one and not yet committed.
            if (status.has(isc_lock_conflict) || status.has(isc_update_conflict) || status.has(isc_deadlock)
                || status.has(isc_unique_key_violation))
                return false;
            // A database of the suite that never met this program: the table is ours to add.
            if (attempt == 0 && status.has(isc_dsql_relation_err)) {
                createTable();
                continue;
            }
            status.raise();
        }
    } catch (...) {
        release();
        throw;
    }
}

// Two stations may both find the table missing; the one that loses the race
// fails to create it and simply uses the other's.
void JobLock::createTable()
{
    Status status;
    isc_tr_handle transaction = 0;
    isc_start_transaction(&status, &transaction, 1, &m->attachment, short(sizeof schemaTransaction), schemaTransaction);
    status.check();
    isc_dsql_execute_immediate(&status, &m->attachment, &transaction, 0, tableDefinition(), SQL_DIALECT_V6, nullptr);
    Status ignored;
    if (status.failed()) {
        isc_rollback_transaction(&ignored, &transaction);
        return;
    }
    isc_commit_transaction(&ignored, &transaction);
    // Its two rows, so that taking the lock is always an update.
    isc_start_transaction(&status, &transaction, 1, &m->attachment, short(sizeof schemaTransaction), schemaTransaction);
    status.check();
    isc_dsql_execute_immediate(&status, &m->attachment, &transaction, 0,
                               "insert into SELVAR_TRAVA (ID) select 1 from RDB$DATABASE union all select 2 from RDB$DATABASE",
                               SQL_DIALECT_V6, nullptr);
    if (status.failed())
        isc_rollback_transaction(&ignored, &transaction);
    else
        isc_commit_transaction(&ignored, &transaction);
}

// Nothing was written under the lock: rolling back frees the row. When the
// connection is gone the server has done so already.
void JobLock::release()
{
    Status ignored;
    if (m->transaction) {
        isc_rollback_transaction(&ignored, &m->transaction);
        m->transaction = 0;
    }
    if (m->attachment) {
        isc_detach_database(&ignored, &m->attachment);
        m->attachment = 0;
    }
}
