#include "HistoryRetention.h"

#include "HistoryStore.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHistory)

namespace {

constexpr int kBetweenBatchesMs = 250;
constexpr int kWhileBusyMs = 10 * 1000;
constexpr int kBetweenPassesMs = 6 * 60 * 60 * 1000;

} // namespace

HistoryRetention::HistoryRetention(HistoryStore &store, std::function<int()> days, std::function<bool()> busy,
                                   QObject *parent)
    : QObject(parent), m_store(store), m_days(std::move(days)), m_busy(std::move(busy))
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
    int removed = 0;
    try {
        removed = m_store.removeOlderThan(days, kBatchJobs);
    } catch (const std::exception &error) {
        qCWarning(lcHistory) << "old history jobs not removed:" << error.what();
    }
    m_removed += removed;
    if (removed >= kBatchJobs) {
        m_timer.start(kBetweenBatchesMs);
        return;
    }
    m_timer.start(kBetweenPassesMs);
    emit passEnded();
}
