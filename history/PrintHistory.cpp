#include "PrintHistory.h"

#include "HistoryStore.h"
#include "SelvarError.h"
#include "TextFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcHistory, "selvar.history", QtWarningMsg)

namespace {

QString messageOf(const std::exception &error)
{
    const auto *selvar = dynamic_cast<const SelvarError *>(&error);
    return selvar ? selvar->message() : QString::fromLocal8Bit(error.what());
}

QJsonObject toJson(const PrintedJob &job, qint64 positionsDone, qint64 jobId, const QList<int> &filePositions)
{
    QJsonArray files;
    for (int positions : filePositions)
        files.append(positions);
    QJsonArray items;
    for (const PrintedItem &item : job.items)
        items.append(QJsonObject{{"ordem", item.order}, {"codigo", item.codigo}, {"componente", item.componente},
                                 {"ean", item.codigoEan}, {"centavos", QString::number(item.preco.rescaled(2).units())},
                                 {"etiquetas", QString::number(item.labels)}});
    return QJsonObject{{"historico", QString::number(jobId)}, {"feitas", QString::number(positionsDone)},
                       {"puladas", QString::number(job.skipped)}, {"estacao", job.station}, {"usuario", job.user},
                       {"modelo", job.modelCode}, {"descricao", job.modelDescription}, {"itens", items},
                       {"arquivos", files}};
}

PrintedJob fromJson(const QJsonObject &o)
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

PrintHistory::PrintHistory(HistoryStore &store, std::function<QString()> restFile)
    : m_store(store), m_restFile(std::move(restFile))
{
}

QString PrintHistory::failureNote()
{
    return QStringLiteral(" — o histórico de etiquetas não pôde ser gravado");
}

QString PrintHistory::write(Going &going, qint64 positions, const QString &output)
{
    const PrintedJob part = going.job.part(going.positionsDone, positions);
    try {
        m_store.record(part, output, &going.jobId);
        // Counted only once stored: a part the store refused is written again with the next one.
        going.positionsDone += positions;
        return QString();
    } catch (const std::exception &error) {
        qCWarning(lcHistory).noquote() << "history not written:" << messageOf(error);
        return failureNote();
    }
}

QString PrintHistory::wholeJobOut(const QString &output)
{
    if (!m_current)
        return QString();
    Going going{*std::move(m_current), 0, 0, {}};
    m_current.reset();
    return write(going, going.job.positions(), output);
}

void PrintHistory::thermalQueued(const QList<int> &positionsPerFile)
{
    if (!m_current)
        return;
    // While a job goes out the record on disk is that job's own.
    if (m_line.isEmpty())
        dropRest();
    m_line.enqueue(Going{*std::move(m_current), 0, 0, positionsPerFile});
    m_current.reset();
}

void PrintHistory::thermalStarted()
{
    if (!m_line.isEmpty())
        keepRest(m_line.head());
}

QString PrintHistory::thermalEnded(int firstFileNumber, const QList<int> &positionsPerFile, bool restLeft)
{
    std::optional<Going> going;
    if (firstFileNumber > 1)
        going = rest();
    else if (!m_line.isEmpty())
        going = m_line.dequeue();
    // A hand-over this history did not see begin (a rest left by a program
    // that could not keep its record): its products are unknown.
    if (!going)
        return QString();
    qint64 outTo = 0;
    for (int positions : going->filePositions.mid(0, firstFileNumber - 1))
        outTo += positions;
    for (int positions : positionsPerFile)
        outTo += positions;
    const qint64 positions = outTo - going->positionsDone;
    const QString note = positions > 0 ? write(*going, positions, HistoryStore::thermalOutput()) : QString();
    if (restLeft)
        keepRest(*going);
    else
        dropRest();
    return note;
}

void PrintHistory::keepRest(const Going &going)
{
    m_rest = going;
    const QString path = m_restFile();
    if (path.isEmpty())
        return;
    const QString error =
        TextFile::writeWhole(path, QJsonDocument(toJson(going.job, going.positionsDone, going.jobId, going.filePositions)).toJson());
    if (!error.isEmpty())
        qCWarning(lcHistory).noquote() << "rest of the job not kept in" << path << ":" << error;
}

void PrintHistory::dropRest()
{
    m_rest.reset();
    const QString path = m_restFile();
    if (!path.isEmpty() && QFile::exists(path))
        QFile::remove(path);
}

std::optional<PrintHistory::Going> PrintHistory::rest()
{
    if (m_rest)
        return m_rest;
    QFile file(m_restFile());
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
    if (o.isEmpty())
        return std::nullopt;
    QList<int> files;
    for (const QJsonValue &positions : o.value("arquivos").toArray())
        files << positions.toInt();
    return Going{fromJson(o), o.value("feitas").toString().toLongLong(), o.value("historico").toString().toLongLong(), files};
}
