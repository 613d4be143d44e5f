#include "HistoryRetention.h"

#include "HistoryStore.h"
#include "HistoryWork.h"

#include <QPointer>

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHistory)

namespace {

constexpr int kBetweenBatchesMs = 250;
constexpr int kWhileBusyMs = 10 * 1000;
constexpr int kBetweenPassesMs = 6 * 60 * 60 * 1000;

} // namespace

HistoryRetention::HistoryRetention(HistoryWork &work, std::function<QString()> database, std::function<int()> days,
                                   std::function<bool()> busy, QObject *parent)
    : QObject(parent), m_work(work), m_database(std::move(database)), m_days(std::move(days)), m_busy(std::move(busy))
{
    setObjectName(QStringLiteral("HistoryRetention"));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &HistoryRetention::batch);
}

void HistoryRetention::start(int firstDelayMs)
{
    m_timer.start(firstDelayMs);
}

void HistoryRetention::batch()
{
    if (m_busy && m_busy()) {
        m_timer.start(kWhileBusyMs);
        return;
    }
    const int days = m_days();
    if (days <= 0) {
        m_timer.start(kBetweenPassesMs);
        emit passEnded();
        return;
    }
    auto removed = std::make_shared<int>(0);
    m_work.run(
        m_database(), [days, removed](HistoryWork::Context &context) { *removed = context.history().removeOlderThan(days, kBatchJobs); },
        [self = QPointer<HistoryRetention>(this), removed](const HistoryWork::Outcome &outcome) {
            if (outcome.failed)
                qCWarning(lcHistory).noquote() << "old history jobs not removed:" << outcome.error;
            if (self)
                self->batchDone(outcome.failed || outcome.cancelled ? 0 : *removed);
        },
        HistoryWork::Kind::Housekeeping);
}

void HistoryRetention::batchDone(int removed)
{
    m_removed += removed;
    if (removed >= kBatchJobs) {
        m_timer.start(kBetweenBatchesMs);
        return;
    }
    m_timer.start(kBetweenPassesMs);
    emit passEnded();
}
