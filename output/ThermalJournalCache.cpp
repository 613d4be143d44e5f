#include "ThermalJournalCache.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <mutex>

namespace ThermalJournalCache {

namespace {

std::mutex entriesMutex;

QHash<QString, Entry> &entries()
{
    static QHash<QString, Entry> known;
    return known;
}

// One spelling per file, whichever way the caller wrote its path.
QString key(const QString &journal)
{
    return QDir::cleanPath(QFileInfo(journal).absoluteFilePath());
}

} // namespace

std::optional<Entry> find(const QString &journal)
{
    const std::lock_guard<std::mutex> lock(entriesMutex);
    const auto found = entries().constFind(key(journal));
    if (found == entries().constEnd())
        return std::nullopt;
    return *found;
}

void keep(const QString &journal, Entry entry)
{
    const std::lock_guard<std::mutex> lock(entriesMutex);
    entries().insert(key(journal), std::move(entry));
}

void forget(const QString &journal)
{
    const std::lock_guard<std::mutex> lock(entriesMutex);
    entries().remove(key(journal));
}

void keepOnly(const QString &folder, const QStringList &journals)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    QSet<QString> present;
    for (const QString &journal : journals)
        present.insert(key(journal));
    const std::lock_guard<std::mutex> lock(entriesMutex);
    entries().removeIf([&](const QHash<QString, Entry>::iterator &entry) {
        return QFileInfo(entry.key()).path() == absolute && !present.contains(entry.key());
    });
}

} // namespace ThermalJournalCache
