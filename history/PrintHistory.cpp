#include "PrintHistory.h"

#include "HistoryStore.h"
#include "HistoryWork.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTimer>

Q_LOGGING_CATEGORY(lcHistory, "selvar.history", QtWarningMsg)

namespace {

QByteArray toRecord(const PrintedJob &job, qint64 jobId)
{
    QJsonArray items;
    for (const PrintedItem &item : job.items)
        items.append(QJsonObject{{"ordem", item.order}, {"codigo", item.codigo}, {"componente", item.componente},
                                 {"ean", item.codigoEan}, {"centavos", QString::number(item.preco.rescaled(2).units())},
                                 {"etiquetas", QString::number(item.labels)}});
    return QJsonDocument(QJsonObject{{"historico", QString::number(jobId)}, {"puladas", QString::number(job.skipped)},
                                     {"estacao", job.station}, {"usuario", job.user}, {"modelo", job.modelCode},
                                     {"descricao", job.modelDescription}, {"itens", items}})
        .toJson(QJsonDocument::Compact);
}

PrintedJob fromRecord(const QJsonObject &o)
{
    PrintedJob job;
    job.skipped = o.value("puladas").toString().toLongLong();
    job.station = o.value("estacao").toString();
    job.user = o.value("usuario").toString();
    job.modelCode = o.value("modelo").toString();
    job.modelDescription = o.value("descricao").toString();
    for (const QJsonValue &value : o.value("itens").toArray()) {
        const QJsonObject i = value.toObject();
        job.items.append(PrintedItem{i.value("ordem").toInt(), i.value("codigo").toString(), i.value("componente").toString(),
                                     i.value("ean").toString(), Decimal(i.value("centavos").toString().toLongLong(), 2),
                                     i.value("etiquetas").toString().toLongLong()});
    }
    return job;
}

} // namespace

PrintHistory::PrintHistory(HistoryStore &store, HistoryWork &work, std::function<QString()> database)
    : m_store(store), m_work(work), m_database(std::move(database))
{
}

QString PrintHistory::failureNote()
{
    return QStringLiteral(" — o histórico de etiquetas não pôde ser gravado");
}

namespace {

// The note of a write that did not end well; the database's own words go to
// the log only.
QString noteOf(const HistoryWork::Outcome &outcome, const QString &written)
{
    if (outcome.failed || outcome.cancelled) {
        qCWarning(lcHistory).noquote() << "history not written:" << outcome.error;
        return PrintHistory::failureNote();
    }
    return written;
}

} // namespace

void PrintHistory::recordWhole(HistoryStore &store, const PrintedJob &job, const QString &output, qint64 *jobId)
{
    // The number first: a write run again after a connection lost at its
    // commit finds the job there and does not write it twice.
    if (*jobId == 0)
        *jobId = store.reserveJobId();
    if (store.labelsRecorded(*jobId) == 0)
        store.record(job.part(0, job.positions()), output, jobId);
}

void PrintHistory::wholeJobOut(const QString &output, Noted noted)
{
    if (!m_current)
        return;
    auto jobId = std::make_shared<qint64>(0);
    m_work.run(
        m_database(),
        [job = *std::move(m_current), output, jobId](HistoryWork::Context &context) {
            recordWhole(context.history(), job, output, jobId.get());
        },
        [noted = std::move(noted)](const HistoryWork::Outcome &outcome) { noted(noteOf(outcome, QString())); },
        HistoryWork::Kind::Record);
    m_current.reset();
}

QByteArray PrintHistory::thermalRecord(const PrintedJob &job, qint64 jobId)
{
    return toRecord(job, jobId);
}

void PrintHistory::thermalRecord(std::function<void(const QByteArray &record)> given)
{
    if (!m_current) {
        given(QByteArray());
        return;
    }
    // The number is taken now, so that what is recorded later, by whichever
    // program, goes to this one job and can be read back to know how far it
    // got. Whichever comes first, the number or the end of the wait, answers.
    // A record of thousands of products is written on the worker too; only
    // one without a number is written here.
    struct Asked
    {
        const PrintedJob job; // read on both threads, written by neither
        std::function<void(const QByteArray &)> given;
        bool answered = false;
        void answer(const QByteArray &record)
        {
            if (!std::exchange(answered, true))
                given(record);
        }
    };
    auto asked = std::make_shared<Asked>(Asked{*std::move(m_current), std::move(given)});
    m_current.reset();
    auto numbered = std::make_shared<QByteArray>(); // written on the worker, read in its answer
    m_work.run(
        m_database(),
        [asked, numbered](HistoryWork::Context &context) { *numbered = toRecord(asked->job, context.history().reserveJobId()); },
        [asked, numbered](const HistoryWork::Outcome &outcome) {
            const bool taken = !outcome.failed && !outcome.cancelled;
            if (!taken)
                qCWarning(lcHistory).noquote() << "no history number reserved:" << outcome.error;
            else if (asked->answered)
                qCWarning(lcHistory) << "a history number came after its job had gone without one";
            asked->answer(taken ? *numbered : toRecord(asked->job, 0));
        },
        HistoryWork::Kind::Record);
    QTimer::singleShot(kNumberWaitMs, &m_work, [asked] {
        if (asked->answered)
            return;
        qCWarning(lcHistory) << "no history number after" << kNumberWaitMs << "ms: the job goes without one";
        asked->answer(toRecord(asked->job, 0));
    });
}

QString PrintHistory::recordThermal(HistoryStore &store, const QByteArray &record, const QList<int> &positionsPerFile,
                                    int filesDone)
{
    const QJsonObject o = QJsonDocument::fromJson(record).object();
    if (o.isEmpty())
        return QString(); // a job written without a history record: its products are unknown
    const PrintedJob job = fromRecord(o);
    qint64 jobId = o.value("historico").toString().toLongLong();
    if (jobId == 0) {
        // Without a number parts cannot be told apart, nor a write run again
        // from one done: the caller numbers a whole job first (thermalOut).
        qCWarning(lcHistory) << "a thermal job's history without a number was not written";
        return failureNote();
    }
    qint64 outTo = 0;
    for (int positions : positionsPerFile.mid(0, filesDone))
        outTo += positions;
    // Skipped positions come first: a job with labels recorded is past them.
    const qint64 recorded = store.labelsRecorded(jobId);
    const qint64 from = recorded > 0 ? job.skipped + recorded : 0;
    if (outTo > from)
        store.record(job.part(from, outTo - from), HistoryStore::thermalOutput(), &jobId);
    return QString();
}

namespace {

qint64 numberOf(const QByteArray &record)
{
    return QJsonDocument::fromJson(record).object().value("historico").toString().toLongLong();
}

QByteArray numbered(const QByteArray &record, qint64 jobId)
{
    QJsonObject o = QJsonDocument::fromJson(record).object();
    o.insert("historico", QString::number(jobId));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

} // namespace

void PrintHistory::thermalOut(const QByteArray &record, const QList<int> &positionsPerFile, int filesDone, Noted noted)
{
    thermalOut(record, positionsPerFile, filesDone, [](const QByteArray &) { return QString(); }, std::move(noted));
}

void PrintHistory::thermalOut(const QByteArray &record, const QList<int> &positionsPerFile, int filesDone, Keep keep,
                              Noted noted)
{
    // A whole job that went without a number (none came when it was queued)
    // takes one now, and the job's own record keeps it before anything is
    // written under it: whatever becomes of the write (a commit whose answer
    // is lost, a program killed), the next try writes to that number, finds
    // what is there and records the job once. Within this call the number
    // is taken once, also when the worker runs the task again.
    const bool numberless = numberOf(record) == 0 && filesDone >= positionsPerFile.size()
                            && !QJsonDocument::fromJson(record).object().isEmpty();
    auto note = std::make_shared<QString>();
    auto kept = std::make_shared<QByteArray>(numberless ? QByteArray() : record);
    m_work.run(
        m_database(),
        [kept, record, positionsPerFile, filesDone, note, keep = std::move(keep)](HistoryWork::Context &context) {
            if (kept->isEmpty()) {
                const QByteArray withNumber = numbered(record, context.history().reserveJobId());
                if (const QString error = keep(withNumber); !error.isEmpty()) {
                    qCWarning(lcHistory).noquote() << "the job's history number could not be kept in its record:" << error;
                    *note = failureNote();
                    return;
                }
                *kept = withNumber;
            }
            *note = recordThermal(context.history(), *kept, positionsPerFile, filesDone);
        },
        [note, noted = std::move(noted)](const HistoryWork::Outcome &outcome) { noted(noteOf(outcome, *note)); },
        HistoryWork::Kind::Record);
}
