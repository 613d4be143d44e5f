#pragma once

#include "PrintedJob.h"
#include "SqlConnection.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <functional>

// The print history in the suite's database, on a connection of its own: what
// it writes never joins a list build's or a print's transaction, and a history
// that cannot be written never undoes one. The database is the one the data
// module works on, asked for at every use (a test or a station may point the
// data module elsewhere after start-up).
class HistoryStore
{
public:
    explicit HistoryStore(std::function<QString()> database);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // The output a job went to, as SAIDA holds it.
    static QString thermalOutput() { return QStringLiteral("TERMICA"); }
    static QString printerOutput() { return QStringLiteral("IMPRESSORA"); }
    static QString pdfOutput() { return QStringLiteral("PDF"); }

    // Writes what went out of a job, in one transaction: a new job numbered
    // from the generator when *jobId is 0 (and *jobId set); a job of that
    // number when it is not there yet (a number reserved before); else these
    // labels added to that job (the rest of a hand-over that had stopped). A
    // part without labels writes nothing. Failures throw; nothing of them is kept.
    void record(const PrintedJob &part, const QString &output, qint64 *jobId);

    // A job number from the generator, for a job whose labels are recorded
    // later, part by part, maybe by a program started again.
    qint64 reserveJobId();
    // The labels recorded so far for the job of that number; 0 when it is not there.
    qint64 labelsRecorded(qint64 jobId);

    // The most recently printed label of each product of the list table (the
    // suite's TABREV1): its price and how many labels that job printed of it.
    // Products never printed are absent.
    struct LastLabel
    {
        Decimal price;
        qint64 labels = 0;
    };
    QHash<QString, LastLabel> lastLabels(const QString &listTable);

    struct JobRow
    {
        qint64 id = 0;
        QDateTime when;
        QString station, user, modelCode, modelDescription, output;
        qint64 labels = 0;
        int products = 0;
    };
    struct Filter
    {
        QString product; // part of a product's name, or its code or EAN
        QString station;
        QDate from, to;  // either may be null
        int limit = 500;
    };
    QList<JobRow> jobs(const Filter &filter);
    QList<PrintedItem> items(qint64 jobId);

    // Removes at most `batch` jobs (with their products) printed more than
    // `days` days ago, oldest first, in one short transaction; returns how many went.
    int removeOlderThan(int days, int batch);

private:
    SqlConnection &ready();
    template <typename Work> void inTransaction(Work work);

    std::function<QString()> m_database;
    SqlConnection m_connection;
    bool m_held = false;
    bool m_tablesChecked = false;
};
