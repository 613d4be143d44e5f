#pragma once

#include "ThermalJournal.h"

#include <QString>
#include <QStringList>

#include <optional>

// The first lines of the job records this program has read or written, by
// path: a record's first line is written once, whole, under a name no other
// record takes, and never changes after, so what was read of it stays true
// while the file is there. Shared by every thread that reads records.
namespace ThermalJournalCache {

struct Entry
{
    qint64 headerBytes = 0;       // the first line with its line end
    ThermalJournal::Record header; // the job, before any mark is applied
};

std::optional<Entry> find(const QString &journal);
void keep(const QString &journal, Entry entry);
void forget(const QString &journal);
// Forgets the records of `folder` that are not among `journals` (removed by
// someone else, or by a program before this one).
void keepOnly(const QString &folder, const QStringList &journals);

} // namespace ThermalJournalCache
