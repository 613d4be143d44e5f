#include "WrittenJob.h"

#include "ClientDataSet.h"
#include "Field.h"

#include <QCryptographicHash>

namespace {

// The columns the outputs print from, CODIGO for the blank positions.
constexpr const char *kColumns[] = {"CODIGO", "COMPONENTE", "CODIGOEAN", "PRECO1"};

// One row's values in the column's own text, so that a value as posted and
// the same value as read back give the same bytes; an empty text and a null
// print alike, and count alike.
template <typename ValueOf> QByteArray rowBytes(ClientDataSet &job, ValueOf valueOf)
{
    QByteArray bytes;
    for (const char *column : kColumns) {
        const Field &field = job.FieldByName(QLatin1String(column));
        bytes += field.textOf(valueOf(field)).toUtf8();
        bytes += '\0';
    }
    return bytes;
}

} // namespace

// A block of rows is hashed at once: a job of thousands of labels pays for
// its digest once per block, not once per label.
constexpr qsizetype kBlockBytes = 64 * 1024;

void WrittenJob::add(const QByteArray &row)
{
    ++m_rows;
    m_pending += row;
    if (m_pending.size() >= kBlockBytes) {
        m_digest = digest();
        m_pending.clear();
    }
}

QByteArray WrittenJob::digest() const
{
    return m_pending.isEmpty() ? m_digest : QCryptographicHash::hash(m_digest + m_pending, QCryptographicHash::Sha1);
}

void WrittenJob::addRow(ClientDataSet &job)
{
    add(rowBytes(job, [](const Field &field) { return field.Value(); }));
}

WrittenJob WrittenJob::of(ClientDataSet &job)
{
    WrittenJob written;
    if (!job.Active())
        job.Open();
    const int rows = job.RecordCount();
    for (int row = 0; row < rows; ++row)
        written.add(rowBytes(job, [&](const Field &field) { return job.valueAt(row, field.Index()); }));
    return written;
}
