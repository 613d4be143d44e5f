#include "ClientDataSet.h"

#include "Cp1252.h"
#include "DataSetProvider.h"
#include "DatabaseErrors.h"
#include "SelvarError.h"
#include "SqlConnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <utility>

struct ClientDataSet::Row
{
    QVector<QVariant> values;
    QVector<QVariant> original; // as last read or applied
    QVector<bool> assigned;     // columns given a value since the row was inserted
    RowStatus status = RowStatus::Clean;
    bool pending = false;
};

ClientDataSet::ReadyRows::ReadyRows() = default;
ClientDataSet::ReadyRows::ReadyRows(ReadyRows &&other) noexcept = default;
ClientDataSet::ReadyRows &ClientDataSet::ReadyRows::operator=(ReadyRows &&other) noexcept = default;
ClientDataSet::ReadyRows::~ReadyRows() = default;

ClientDataSet::ReadyRows::ReadyRows(std::vector<QVector<QVariant>> &&values)
{
    m_rows.reserve(values.size());
    for (auto &read : values) {
        auto row = std::make_unique<Row>();
        row->original = read; // shared with values until one of them changes
        row->values = std::move(read);
        m_rows.push_back(std::move(row));
    }
    values.clear();
}

const QVector<QVariant> &ClientDataSet::ReadyRows::at(std::size_t row) const
{
    return m_rows.at(row)->values;
}

ClientDataSet::ClientDataSet(const QString &objectName, DataSetProvider *provider, const FieldDefs &defs, QObject *parent)
    : QObject(parent), m_provider(provider), m_defs(defs)
{
    setObjectName(objectName);
    for (int i = 0; i < defs.size(); ++i)
        m_fields.push_back(std::make_unique<Field>(this, i, defs[i]));
}

// The owner may destroy the provider and the connection first; the pointer
// guards the release.
ClientDataSet::~ClientDataSet()
{
    if (Active() && m_connection)
        m_connection->release();
}

void ClientDataSet::checkActive() const
{
    if (!Active())
        throw SelvarError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
}

void ClientDataSet::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (!m_controlsDisabled)
        emit stateChanged();
}

void ClientDataSet::emitData()
{
    ++m_revision;
    if (m_controlsDisabled)
        m_changedWhileDisabled = true;
    else
        emit dataChanged();
}

void ClientDataSet::emitCurrent()
{
    if (m_controlsDisabled)
        m_changedWhileDisabled = true;
    else
        emit currentChanged();
}

void ClientDataSet::EnableControls()
{
    if (m_controlsDisabled > 0 && --m_controlsDisabled == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        emit stateChanged();
        emit dataChanged();
        emit currentChanged();
    }
}

// ---- opening and reading -------------------------------------------------

void ClientDataSet::Open()
{
    if (Active())
        return;
    try {
        m_state = State::Browse;
        reload();
    } catch (...) {
        m_state = State::Inactive;
        if (m_connection)
            m_connection->release();
        m_connection = nullptr;
        throw;
    }
    m_cursor = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    if (!m_controlsDisabled)
        emit stateChanged();
    emitData();
    emitCurrent();
    if (AfterOpen)
        AfterOpen(*this);
}

void ClientDataSet::reload()
{
    holdConnection();
    QString stamp = m_provider->stamp();
    install(ReadyRows(m_provider->fetch(m_defs)));
    m_readStamp = std::move(stamp);
}

ClientDataSet::ReadyRows ClientDataSet::install(ReadyRows &&ready)
{
    ReadyRows replaced;
    replaced.m_rows = std::exchange(m_rows, std::move(ready.m_rows));
    ready.m_rows.clear();
    // Deleted rows not yet applied go with the rest: the read dropped their change.
    for (auto &row : m_deleted)
        replaced.m_rows.push_back(std::move(row));
    m_deleted.clear();
    m_pending.clear();
    m_stale = false;
    return replaced;
}

bool ClientDataSet::Reopen(const std::function<bool()> &keepGoing)
{
    if (!Active()) {
        Open();
        return true;
    }
    std::vector<QVector<QVariant>> fetched;
    QString stamp;
    bool unchanged = false;
    {
        // keepGoing may let the window run a handler that closes this data set;
        // the connection stays open under the read until it ends.
        const SqlConnection::Use use(*m_provider->connection());
        // Taken before the rows, so that a change committed meanwhile shows in the next stamp.
        stamp = m_provider->stamp();
        unchanged = !stamp.isEmpty() && stamp == m_readStamp && !m_stale && m_pending.empty() && m_state == State::Browse;
        if (!unchanged && (!m_provider->fetch(m_defs, &fetched, keepGoing) || !Active()))
            return false;
    }
    settleRead(ReadyRows(std::move(fetched)), std::move(stamp), unchanged);
    return true;
}

// The connection is held from the first statement the set needs, not from
// here: rows read on a worker are put in place without a round trip to the
// database, which a window waiting on a server far away or gone would feel.
void ClientDataSet::holdConnection()
{
    if (m_connection)
        return;
    SqlConnection *connection = m_provider->connection();
    connection->acquire();
    m_connection = connection;
}

ClientDataSet::ReadyRows ClientDataSet::installRead(ReadyRows &&rows, QString stamp, bool unchanged)
{
    if (!Active()) {
        m_state = State::Browse;
        unchanged = false;
        if (!m_controlsDisabled)
            emit stateChanged();
    }
    return settleRead(std::move(rows), std::move(stamp), unchanged);
}

QString ClientDataSet::currentStamp() const
{
    return Active() && !m_stale && m_pending.empty() && m_state == State::Browse ? m_readStamp : QString();
}

ClientDataSet::ReadyRows ClientDataSet::settleRead(ReadyRows &&ready, QString stamp, bool unchanged)
{
    const bool wasBrowsing = m_state == State::Browse;
    ReadyRows replaced;
    if (!unchanged) {
        m_readStamp = std::move(stamp);
        // What Close drops: the edit and every change not yet applied.
        m_buffer.clear();
        m_modified = false;
        m_state = State::Browse;
        replaced = install(std::move(ready));
    }
    m_cursor = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    if (!wasBrowsing && !m_controlsDisabled)
        emit stateChanged();
    if (!unchanged)
        emitData();
    emitCurrent();
    if (AfterOpen)
        AfterOpen(*this);
    return replaced;
}

void ClientDataSet::Close()
{
    if (!Active())
        return;
    m_rows.clear();
    m_deleted.clear();
    m_pending.clear();
    m_cursor = -1;
    m_eof = m_bof = true;
    m_stale = false;
    m_readStamp.clear();
    m_modified = false;
    m_buffer.clear();
    m_state = State::Inactive;
    if (m_connection)
        m_connection->release();
    m_connection = nullptr;
    if (!m_controlsDisabled)
        emit stateChanged();
    emitData();
}

void ClientDataSet::ensureFresh()
{
    // A change the database refused stays in the log with its row, as after a
    // re-read that failed; reading again now would drop it and leave the cursor
    // on another row, so the re-read waits until the log is empty.
    if (!m_stale || !m_pending.empty())
        return;
    const int keep = m_cursor;
    reload();
    m_cursor = m_rows.empty() ? -1 : std::clamp(keep, 0, int(m_rows.size()) - 1);
    emitData();
}

// Navigation first ends any edit, as a data grid expects: the row is posted.
void ClientDataSet::checkBrowse()
{
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        Post();
    ensureFresh();
}

void ClientDataSet::First()
{
    checkBrowse();
    m_cursor = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    emitCurrent();
}

void ClientDataSet::Last()
{
    checkBrowse();
    m_cursor = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.empty();
    emitCurrent();
}

void ClientDataSet::Next()
{
    checkBrowse();
    m_bof = false;
    if (m_cursor + 1 < int(m_rows.size())) {
        ++m_cursor;
        emitCurrent();
    } else {
        m_eof = true;
    }
}

void ClientDataSet::Prior()
{
    checkBrowse();
    m_eof = false;
    if (m_cursor > 0) {
        --m_cursor;
        emitCurrent();
    } else {
        m_bof = true;
    }
}

bool ClientDataSet::Eof()
{
    if (!Active())
        return true;
    ensureFresh();
    return m_eof || m_rows.empty();
}

bool ClientDataSet::Bof()
{
    if (!Active())
        return true;
    ensureFresh();
    return m_bof || m_rows.empty();
}

int ClientDataSet::RecordCount()
{
    if (!Active())
        return 0;
    ensureFresh();
    return int(m_rows.size());
}

int ClientDataSet::RecNo()
{
    if (!Active())
        return 0;
    ensureFresh();
    return m_cursor + 1;
}

void ClientDataSet::setRecNo(int recNo)
{
    checkBrowse();
    if (recNo < 1 || recNo > int(m_rows.size()))
        return;
    m_cursor = recNo - 1;
    m_eof = m_bof = false;
    emitCurrent();
}

// ---- fields -----------------------------------------------------------------

Field *ClientDataSet::FindField(const QString &name)
{
    // Names of another length never match; the letter-case comparison is the slow part.
    for (auto &field : m_fields)
        if (field->FieldName().size() == name.size() && field->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

Field &ClientDataSet::FieldByName(const QString &name)
{
    if (Field *field = FindField(name))
        return *field;
    throw SelvarError(QStringLiteral("Field '%1' not found").arg(name));
}

QVariant ClientDataSet::currentValue(int index) const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.value(index);
    if (m_cursor < 0 || m_cursor >= int(m_rows.size()))
        return QVariant();
    return m_rows[m_cursor]->values.value(index);
}

QVariant ClientDataSet::valueAt(int row, int index)
{
    ensureFresh();
    if ((m_state == State::Edit || m_state == State::Insert) && isCurrentRow(row))
        return m_buffer.value(index);
    if (row < 0 || row >= int(m_rows.size()))
        return QVariant();
    return m_rows[row]->values.value(index);
}

bool ClientDataSet::isCurrentRow(int row) const
{
    return row == m_cursor;
}

void ClientDataSet::assignValue(int index, const QVariant &value)
{
    checkActive();
    if (m_state == State::Browse)
        Edit();
    m_buffer[index] = value;
    m_assigned[index] = true;
    m_modified = true;
    emitData();
}

// ---- editing ----------------------------------------------------------------

// A new row does not need the pending re-read: it goes into the rows we hold,
// and the re-read that follows its post brings in everything else. Forcing the
// re-read here would make a run of appends quadratic.
void ClientDataSet::startInsert(bool append)
{
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        Post();
    if (BeforeInsert)
        BeforeInsert(*this);
    m_insertAt = append || m_cursor < 0 ? int(m_rows.size()) : m_cursor;
    m_buffer = QVector<QVariant>(m_defs.size());
    m_assigned = QVector<bool>(m_defs.size(), false);
    m_modified = false;
    setState(State::Insert);
    m_eof = m_bof = false;
    emitData();
    if (AfterInsert)
        AfterInsert(*this);
}

void ClientDataSet::Append()
{
    startInsert(true);
}

void ClientDataSet::Insert()
{
    startInsert(false);
}

void ClientDataSet::Edit()
{
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    ensureFresh();
    if (m_cursor < 0)
        return startInsert(true);
    const Row &row = *m_rows[m_cursor];
    m_buffer = row.values;
    m_assigned = row.assigned.isEmpty() ? QVector<bool>(m_defs.size(), false) : row.assigned;
    m_modified = false;
    setState(State::Edit);
}

void ClientDataSet::Cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    if (m_cursor >= int(m_rows.size()))
        m_cursor = int(m_rows.size()) - 1;
    emitData();
}

void ClientDataSet::markPending(Row *row)
{
    if (!row->pending) {
        row->pending = true;
        m_pending.push_back(row);
    }
}

void ClientDataSet::Post()
{
    checkActive();
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (BeforePost)
        BeforePost(*this);
    for (int i = 0; i < m_defs.size(); ++i)
        if (m_defs[i].required && (!m_buffer[i].isValid() || m_buffer[i].isNull()))
            throw SelvarError(QStringLiteral("Field '%1' must have a value").arg(m_defs[i].name));

    if (m_state == State::Insert) {
        auto row = std::make_unique<Row>();
        // No original values until the database has the row: nothing locates it before.
        row->values = std::move(m_buffer);
        row->assigned = m_assigned;
        row->status = RowStatus::Inserted;
        markPending(row.get());
        m_rows.insert(m_rows.begin() + m_insertAt, std::move(row));
        m_cursor = m_insertAt;
    } else {
        Row *row = m_rows[m_cursor].get();
        if (row->values != m_buffer) {
            row->values = std::move(m_buffer);
            if (row->status == RowStatus::Inserted)
                row->assigned = m_assigned;
            else
                row->status = RowStatus::Modified;
            markPending(row);
        }
    }
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    emitData();
    emitCurrent();
    if (AfterPost)
        AfterPost(*this);
}

void ClientDataSet::Delete()
{
    checkActive();
    if (m_state == State::Insert) {
        Cancel();
        return;
    }
    Cancel();
    ensureFresh();
    if (m_cursor < 0)
        return;
    std::unique_ptr<Row> row = std::move(m_rows[m_cursor]);
    m_rows.erase(m_rows.begin() + m_cursor);
    if (row->status == RowStatus::Inserted) {
        // Never reached the database: forgetting it is the whole delete.
        m_pending.erase(std::remove(m_pending.begin(), m_pending.end(), row.get()), m_pending.end());
    } else {
        row->status = RowStatus::Deleted;
        markPending(row.get());
        m_deleted.push_back(std::move(row));
    }
    if (m_cursor >= int(m_rows.size()))
        m_cursor = int(m_rows.size()) - 1;
    m_eof = m_rows.empty();
    emitData();
    emitCurrent();
    if (AfterDelete)
        AfterDelete(*this);
}

// ---- positioning --------------------------------------------------------------

QVector<int> ClientDataSet::indexColumns() const
{
    QVector<int> columns;
    if (!m_indexFieldNames.isEmpty()) {
        for (const QString &name : m_indexFieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            Field *field = const_cast<ClientDataSet *>(this)->FindField(name.trimmed());
            if (!field)
                throw SelvarError(QStringLiteral("Field '%1' not found").arg(name.trimmed()));
            columns << field->Index();
        }
    } else {
        for (int i = 0; i < m_defs.size(); ++i)
            if (m_defs[i].key)
                columns << i;
    }
    return columns;
}

namespace {

// Texts compare as the database's WIN1252 collation does: byte by byte.
int compareValues(const QVariant &a, const QVariant &b)
{
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull)
        return aNull == bNull ? 0 : (aNull ? -1 : 1);
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString) {
        const QByteArray x = toCp1252(a.toString()), y = toCp1252(b.toString());
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    const auto order = QVariant::compare(a, b);
    return order == QPartialOrdering::Less ? -1 : (order == QPartialOrdering::Greater ? 1 : 0);
}

// Whether a value equals the wanted one as compareValues finds it, without
// converting every text: texts of one length whose characters differ only
// where both are ASCII differ in WIN1252 too.
bool sameValue(const QVariant &value, const QVariant &wanted, const QByteArray &wantedBytes)
{
    if (value.typeId() != QMetaType::QString || wanted.typeId() != QMetaType::QString || value.isNull() || wanted.isNull())
        return compareValues(value, wanted) == 0;
    const QString &text = *static_cast<const QString *>(value.constData());
    const QString &target = *static_cast<const QString *>(wanted.constData());
    if (text.size() != target.size()) // one byte for each character
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == target[i])
            continue;
        if (text[i].unicode() < 0x80 && target[i].unicode() < 0x80)
            return false;
        return toCp1252(text) == wantedBytes;
    }
    return true;
}

// A row's index values made ready for many comparisons: texts become their
// WIN1252 bytes once, instead of once per comparison.
using SortKey = QVector<QVariant>;

SortKey sortKey(const QVector<QVariant> &values, const QVector<int> &columns)
{
    SortKey key;
    key.reserve(columns.size());
    for (int column : columns) {
        const QVariant &v = values[column];
        key << (v.typeId() == QMetaType::QString ? QVariant(toCp1252(v.toString())) : v);
    }
    return key;
}

// Compares the first `count` values of two keys; bytes compare as the collation does.
int compareKeys(const SortKey &a, const SortKey &b, qsizetype count)
{
    for (qsizetype k = 0; k < count; ++k) {
        const QVariant &x = a[k], &y = b[k];
        int order;
        if (x.typeId() == QMetaType::QByteArray && y.typeId() == QMetaType::QByteArray && !x.isNull() && !y.isNull()) {
            const QByteArray &p = *static_cast<const QByteArray *>(x.constData());
            const QByteArray &q = *static_cast<const QByteArray *>(y.constData());
            order = p < q ? -1 : (q < p ? 1 : 0);
        } else {
            order = compareValues(x, y);
        }
        if (order != 0)
            return order;
    }
    return 0;
}

} // namespace

bool ClientDataSet::FindKey(const QVariantList &values)
{
    checkBrowse();
    const QVector<int> columns = indexColumns();
    // The values made ready once, not once for every row.
    const qsizetype count = std::min(columns.size(), values.size());
    QVector<QVariant> wanted;
    QVector<QByteArray> wantedBytes;
    for (qsizetype k = 0; k < count; ++k) {
        wanted << m_fields[columns[k]]->normalized(values[k]);
        wantedBytes << (wanted[k].typeId() == QMetaType::QString ? toCp1252(wanted[k].toString()) : QByteArray());
    }
    for (int r = 0; r < int(m_rows.size()); ++r) {
        bool equal = true;
        for (qsizetype k = 0; k < count && equal; ++k)
            equal = sameValue(m_rows[r]->values[columns[k]], wanted[k], wantedBytes[k]);
        if (equal) {
            m_cursor = r;
            m_eof = m_bof = false;
            emitCurrent();
            return true;
        }
    }
    return false;
}

void ClientDataSet::FindNearest(const QVariantList &values)
{
    checkBrowse();
    if (m_rows.empty())
        return;
    // The index decides, not the order the rows were read in: the row wanted is
    // the first in index order that is not less than the values, else the last
    // in index order. Rows equal in the index keep their read order.
    const QVector<int> columns = indexColumns();
    QVector<QVariant> wanted(m_defs.size());
    QVector<int> valueColumns;
    for (int k = 0; k < columns.size() && k < values.size(); ++k) {
        wanted[columns[k]] = values[k];
        valueColumns << columns[k];
    }
    const SortKey target = sortKey(wanted, valueColumns);
    const qsizetype all = columns.size();
    int found = -1; // the smallest row not less than the values
    int last = 0;   // the greatest row
    SortKey foundKey, lastKey = sortKey(m_rows[0]->values, columns);
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const SortKey key = sortKey(m_rows[r]->values, columns);
        if (compareKeys(key, lastKey, all) >= 0) {
            last = r;
            lastKey = key;
        }
        if (compareKeys(key, target, target.size()) >= 0 && (found < 0 || compareKeys(key, foundKey, all) < 0)) {
            found = r;
            foundKey = key;
        }
    }
    m_cursor = found >= 0 ? found : last;
    m_eof = m_bof = false;
    emitCurrent();
}

// ---- write-through ------------------------------------------------------------

DataSetProvider::Statement ClientDataSet::statementFor(const Row *row) const
{
    switch (row->status) {
    case RowStatus::Inserted:
        return m_provider->insertStatement(m_defs, row->values, row->assigned);
    case RowStatus::Modified:
        return m_provider->updateStatement(m_defs, row->original, row->values);
    case RowStatus::Deleted:
        return m_provider->deleteStatement(m_defs, row->original);
    case RowStatus::Clean:
        break;
    }
    return {};
}

QVector<ClientDataSet::PendingWrite> ClientDataSet::pendingWrites() const
{
    QVector<PendingWrite> writes;
    for (const Row *row : m_pending)
        writes.append({statementFor(row), row->status == RowStatus::Modified});
    return writes;
}

void ClientDataSet::pendingWritten(int count)
{
    // As an apply that the database accepted leaves them: the values are the rows' own now.
    count = std::min<int>(count, int(m_pending.size()));
    for (int i = 0; i < count; ++i) {
        Row *row = m_pending[std::size_t(i)];
        row->pending = false;
        row->status = RowStatus::Clean;
        row->original = row->values;
        row->assigned.clear();
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + count);
    m_deleted.erase(std::remove_if(m_deleted.begin(), m_deleted.end(), [](const auto &row) { return !row->pending; }),
                    m_deleted.end());
}

bool ClientDataSet::applyRow(Row *row)
{
    if (row->status == RowStatus::Clean)
        return true;
    const DataSetProvider::Statement statement = statementFor(row);
    // An update that finds no row (another workstation removed it, or changed it
    // where every old value locates the row) stored nothing: it is refused like
    // any other, so the value typed into it stays pending and the user is told,
    // instead of vanishing.
    const auto count = row->status == RowStatus::Modified ? SqlConnection::Count::Rows : SqlConnection::Count::Skip;
    try {
        return m_provider->connection()->execWrite(statement.sql, statement.params, count) != 0;
    } catch (const DatabaseError &error) {
        if (isConnectionFailure(error))
            throw;
        return false;
    }
}

int ClientDataSet::ApplyUpdates(int maxErrors)
{
    checkActive();
    if (m_state == State::Edit || m_state == State::Insert)
        Post();
    if (m_pending.empty())
        return 0;
    // Each statement commits on its own, so every change is tried and each one
    // the database accepts is kept whatever happens to the others.
    const SqlConnection::Use use(*m_provider->connection());
    std::vector<Row *> refused;
    // A lost connection ends the whole apply: that change and every one not yet
    // tried stay pending with those refused, for when the database is back.
    auto settle = [&](std::size_t next) {
        refused.insert(refused.end(), m_pending.begin() + qsizetype(next), m_pending.end());
        m_pending = std::move(refused);
        m_deleted.erase(std::remove_if(m_deleted.begin(), m_deleted.end(), [](const auto &row) { return !row->pending; }),
                        m_deleted.end());
    };
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        Row *row = m_pending[i];
        const bool stop = maxErrors >= 0 && int(refused.size()) > maxErrors;
        bool applied = false;
        try {
            applied = !stop && applyRow(row);
        } catch (const DatabaseError &) {
            settle(i);
            throw;
        }
        if (!applied) {
            refused.push_back(row);
            continue;
        }
        row->pending = false;
        row->status = RowStatus::Clean;
        row->original = row->values;
        row->assigned.clear();
    }
    settle(m_pending.size());
    return int(m_pending.size());
}

void ClientDataSet::Refresh()
{
    checkActive();
    if (!m_pending.empty())
        throw SelvarError(QStringLiteral("Must apply updates before refreshing data"));
    m_stale = true;
}

void ClientDataSet::CancelUpdates()
{
    checkActive();
    Cancel();
    if (!m_pending.empty())
        m_stale = true;
    m_pending.clear();
    ensureFresh();
}
