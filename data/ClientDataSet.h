#pragma once

#include "Field.h"
#include "DataSetProvider.h"
#include "FieldDef.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class DataSetProvider;
class SqlConnection;

// An in-memory copy of the rows its provider reads, with a cursor, an edit
// state and a change log. Posts and deletes go to the log; ApplyUpdates sends
// the log to the database. Refresh re-reads the rows lazily: the data set is
// marked stale and read again the next time it is positioned, counted or
// walked, so a long run of posts costs one statement each, not one re-read each.
class ClientDataSet : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Event = std::function<void(ClientDataSet &)>;
    struct Row;

    // Rows read on another thread and made ready there, so that putting them
    // in place on the window's thread is a swap, not a walk over every row.
    // The rows they replace come back the same way, to be let go elsewhere.
    class ReadyRows
    {
    public:
        ReadyRows();
        explicit ReadyRows(std::vector<QVector<QVariant>> &&values);
        ReadyRows(ReadyRows &&other) noexcept;
        ReadyRows &operator=(ReadyRows &&other) noexcept;
        ~ReadyRows();

        std::size_t size() const { return m_rows.size(); }
        bool empty() const { return m_rows.empty(); }
        const QVector<QVariant> &at(std::size_t row) const;

    private:
        friend class ClientDataSet;
        std::vector<std::unique_ptr<Row>> m_rows;
    };

    ClientDataSet(const QString &objectName, DataSetProvider *provider, const FieldDefs &defs, QObject *parent = nullptr);
    ~ClientDataSet() override;

    DataSetProvider *Provider() const { return m_provider; }
    const FieldDefs &fieldDefs() const { return m_defs; }
    const std::vector<std::unique_ptr<Field>> &Fields() const { return m_fields; }

    void Open();
    void Close(); // drops the rows and any pending change
    // Close and Open in one step, with the statement as it now stands. The rows
    // read replace the held ones only once every one has arrived: a select that
    // fails (a lost connection) leaves the rows, the cursor and an edit as they
    // were, instead of an empty data set. Bound controls hear of it once.
    // keepGoing is asked now and then while rows arrive; when it says no, the
    // read is abandoned, nothing changes and Reopen returns false.
    // Where the provider stamps its table and the stamp says nothing changed
    // since the rows in hand were read, they are what a read would give: they
    // stay, and only the cursor goes back to the first row.
    bool Reopen(const std::function<bool()> &keepGoing = {});
    // The rows of a read made on another attachment, put in place as Reopen
    // puts its own (opening the data set if it is closed, with no round trip:
    // its connection is attached by the first statement it needs). unchanged: the
    // stamp said the rows in hand are what the read would give; they stay and
    // the cursor goes to the first row. Returns the rows replaced (none when
    // unchanged), so that the caller may free them off the window's thread.
    ReadyRows installRead(ReadyRows &&rows, QString stamp, bool unchanged);
    // The stamp the rows in hand were read under, while they are still what
    // the database gave (nothing edited or pending since); else empty.
    QString currentStamp() const;
    bool Active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof();
    bool Bof();
    int RecordCount();
    int RecNo(); // 1-based; 0 when empty
    void setRecNo(int recNo);
    bool IsEmpty() { return RecordCount() == 0; }

    Field &FieldByName(const QString &name); // any letter case; "Field '%s' not found"
    Field *FindField(const QString &name);

    void Append();
    void Insert();
    void Edit();
    void Post();   // "Field '%s' must have a value" for an empty required column
    void Cancel();
    void Delete();
    bool Modified() const { return m_modified; }

    // Positioning on the index fields (IndexFieldNames, else the key columns).
    void setIndexFieldNames(const QString &names) { m_indexFieldNames = names; }
    const QString &IndexFieldNames() const { return m_indexFieldNames; }
    bool FindKey(const QVariantList &values);
    void FindNearest(const QVariantList &values);

    int ChangeCount() const { return int(m_pending.size()); }
    // The changes not yet applied, in the order they were made, as the
    // statements that apply them, for another attachment to send. counted:
    // an update, which stores nothing when it finds no row.
    struct PendingWrite
    {
        DataSetProvider::Statement statement;
        bool counted = false;
    };
    QVector<PendingWrite> pendingWrites() const;
    // The first `count` of them were stored elsewhere: no longer pending.
    void pendingWritten(int count);
    int ApplyUpdates(int maxErrors); // returns how many changes the database refused
    void Refresh();                  // "Must apply updates before refreshing data" while changes are pending
    void CancelUpdates();

    // While disabled no change is signalled to bound controls (grid, barcode).
    void DisableControls() { ++m_controlsDisabled; }
    void EnableControls();
    bool ControlsDisabled() const { return m_controlsDisabled > 0; }
    // Goes up with every change of the rows or of a value in them, signalled
    // or not: what was worked out from the rows holds while it stays.
    quint64 revision() const { return m_revision; }

    // Events, one handler each.
    Event BeforeInsert, AfterInsert, BeforePost, AfterPost, AfterDelete, AfterOpen;

    // For Field and the grid model.
    QVariant currentValue(int index) const;
    void assignValue(int index, const QVariant &value);
    QVariant valueAt(int row, int index); // 0-based row, after any pending re-read
    bool isCurrentRow(int row) const;

signals:
    void dataChanged();    // rows read again, added, removed, or a value changed
    void currentChanged(); // the cursor moved
    void stateChanged();   // browse, edit, insert, inactive

private:
    enum class RowStatus { Clean, Inserted, Modified, Deleted };

    void checkActive() const;
    void checkBrowse();
    void ensureFresh();
    void reload();
    void holdConnection();
    ReadyRows install(ReadyRows &&ready);
    ReadyRows settleRead(ReadyRows &&ready, QString stamp, bool unchanged);
    void startInsert(bool append);
    void setState(State state);
    void emitData();
    void emitCurrent();
    void markPending(Row *row);
    bool applyRow(Row *row);
    DataSetProvider::Statement statementFor(const Row *row) const;
    QVector<int> indexColumns() const;

    DataSetProvider *m_provider;
    QPointer<SqlConnection> m_connection; // held while open; outlives no one
    FieldDefs m_defs;
    std::vector<std::unique_ptr<Field>> m_fields;

    std::vector<std::unique_ptr<Row>> m_rows;
    std::vector<std::unique_ptr<Row>> m_deleted; // deleted rows whose delete is not yet applied
    std::vector<Row *> m_pending;               // rows with a change not yet applied, in change order
    int m_cursor = -1;
    bool m_eof = true;
    bool m_bof = true;
    bool m_stale = false;
    QString m_readStamp; // the provider's stamp taken just before the rows in hand were read

    State m_state = State::Inactive;
    QVector<QVariant> m_buffer;
    QVector<bool> m_assigned;
    int m_insertAt = -1;
    bool m_modified = false;

    QString m_indexFieldNames;
    int m_controlsDisabled = 0;
    bool m_changedWhileDisabled = false;
    quint64 m_revision = 0;
};
