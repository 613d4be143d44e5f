#include "PrintHistory.h"

#include "HistoryStore.h"
#include "SelvarError.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcHistory, "selvar.history", QtWarningMsg)

QString PrintHistory::failureNote()
{
    return QStringLiteral(" — o histórico de etiquetas não pôde ser gravado");
}

QString PrintHistory::write(Going &going, qint64 positions, const QString &output)
{
    const PrintedJob part = going.job.part(going.positionsDone, positions);
    going.positionsDone += positions;
    try {
        m_store.record(part, output, &going.jobId);
        return QString();
    } catch (const std::exception &error) {
        const auto *selvar = dynamic_cast<const SelvarError *>(&error);
        qCWarning(lcHistory).noquote() << "history not written:" << (selvar ? selvar->message() : QString::fromLocal8Bit(error.what()));
        return failureNote();
    }
}

QString PrintHistory::wholeJobOut(const QString &output)
{
    if (!m_current)
        return QString();
    Going going{*std::move(m_current), 0, 0};
    m_current.reset();
    return write(going, going.job.positions(), output);
}

void PrintHistory::thermalQueued()
{
    if (!m_current)
        return;
    m_line.enqueue(Going{*std::move(m_current), 0, 0});
    m_current.reset();
}

QString PrintHistory::thermalOut(qint64 positions)
{
    if (m_line.isEmpty() || positions <= 0)
        return QString();
    return write(m_line.head(), positions, HistoryStore::thermalOutput());
}

void PrintHistory::thermalEnded()
{
    if (!m_line.isEmpty())
        m_line.dequeue();
}
