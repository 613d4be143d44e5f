#pragma once

#include <QByteArray>

class ClientDataSet;

// What a label job put in TABREV2, row by row and in its order, kept short: a
// job this station committed and could not read back is known again by it
// when read later, and a job another station printed meanwhile is not, however
// alike in size. Two jobs are alike only when every row holds the same code,
// name, EAN and price, blank positions included.
class WrittenJob
{
public:
    // The row of `job` being appended, as its fields hold it before the post.
    void addRow(ClientDataSet &job);
    // Every row `job` holds, as read.
    static WrittenJob of(ClientDataSet &job);

    qint64 rows() const { return m_rows; }
    bool operator==(const WrittenJob &other) const { return m_rows == other.m_rows && digest() == other.digest(); }
    bool operator!=(const WrittenJob &other) const { return !(*this == other); }

private:
    void add(const QByteArray &row);
    QByteArray digest() const;

    qint64 m_rows = 0;
    QByteArray m_digest;  // the rows before m_pending, chained
    QByteArray m_pending; // rows not yet in the digest: hashed a block at a time
};
