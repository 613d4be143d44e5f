#include "ThermalJournal.h"

#include "ThermalJournalCache.h"
#include "TextFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>

#include <algorithm>
#include <atomic>

namespace ThermalJournal {

namespace {

const QLatin1String kStarted("iniciado ");
const QLatin1String kDone("enviado ");
const QLatin1String kFailed("falhou ");
const QLatin1String kReplaced("substituido");
const QLatin1String kHistory("historico ");

// The command files, the first line's last member.
const QByteArray kFilesMember = QByteArrayLiteral(",\"arquivos\":");
// ... and its first, in a record of an earlier version.
const QByteArray kFilesFirst = QByteArrayLiteral("{\"arquivos\":");

// Strictly growing within the program, so two jobs queued in the same
// millisecond keep their order; across runs the clock moves on. Records are
// written off the window's thread.
qint64 nextCreated()
{
    static std::atomic<qint64> last{0};
    qint64 seen = last.load();
    qint64 next = 0;
    do
        next = std::max(seen + 1, QDateTime::currentMSecsSinceEpoch());
    while (!last.compare_exchange_weak(seen, next));
    return next;
}

QString mark(const QString &journal, QLatin1String what, int fileNumber)
{
    return TextFile::appendDurably(journal, (what + QString::number(fileNumber) + QLatin1Char('\n')).toLatin1());
}

} // namespace

QString newRecordPath(const PrintJob &job)
{
    return QFileInfo(job.batchFile).dir().filePath(
        QStringLiteral("Envio-%1.txt").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
}

// The first line is the job whole, as one JSON object whose small members
// come first: the labels of every file ("etiquetas"), then the command files
// themselves ("arquivos", nearly all of the line) last. Whoever only asks how
// far a job got reads the line's beginning and the marks after it.
QString create(PrintJob &job)
{
    QJsonArray labels;
    QJsonArray files;
    for (const CommandFile &file : std::as_const(job.files)) {
        labels.append(file.labels);
        files.append(QJsonObject{{"caminho", file.path}, {"etiquetas", file.labels},
                                 {"bytes", QString::fromLatin1(file.bytes.toBase64())}});
    }
    const qint64 created = nextCreated();
    const QJsonObject small{{"criado", QString::number(created)},
                            {"lote", job.batchFile},
                            {"impressora", job.printerPath},
                            {"historico", QString::fromLatin1(job.history.toBase64())},
                            {"etiquetas", labels}};
    QByteArray line = QJsonDocument(small).toJson(QJsonDocument::Compact);
    line.chop(1); // its closing brace: the files follow
    line += kFilesMember + QJsonDocument(files).toJson(QJsonDocument::Compact) + "}\n";
    const QString path = job.journal.isEmpty() ? newRecordPath(job) : job.journal;
    const QString error = TextFile::writeWhole(path, line);
    if (!error.isEmpty())
        return error;
    job.journal = path;
    // As a later look reads it, without reading it.
    Record record;
    record.created = created;
    record.job.journal = path;
    record.job.batchFile = job.batchFile;
    record.job.printerPath = job.printerPath;
    record.job.history = job.history;
    for (const CommandFile &file : std::as_const(job.files))
        record.job.files.append({QString(), QByteArray(), file.labels});
    ThermalJournalCache::keep(path, {line.size(), std::move(record)});
    return QString();
}

QString markStarted(const QString &journal, int fileNumber)
{
    return mark(journal, kStarted, fileNumber);
}

QString markDone(const QString &journal, int fileNumber)
{
    return mark(journal, kDone, fileNumber);
}

QString markFailed(const QString &journal, int fileNumber)
{
    return mark(journal, kFailed, fileNumber);
}

QString markReplaced(const QString &journal)
{
    return TextFile::appendDurably(journal, QByteArray(kReplaced.data(), kReplaced.size()) + '\n');
}

QString keepHistory(const QString &journal, const QByteArray &history)
{
    return TextFile::appendDurably(journal, QByteArray(kHistory.data(), kHistory.size()) + history.toBase64() + '\n');
}

void remove(const QString &journal)
{
    if (journal.isEmpty())
        return;
    QFile::remove(journal);
    ThermalJournalCache::forget(journal);
}

namespace {

// The members of the first line every record has, whichever way it was
// written; the files are not among them.
Record described(const QJsonObject &header, const QString &journal)
{
    Record record;
    record.created = header.value("criado").toString().toLongLong();
    record.job.journal = journal;
    record.job.batchFile = header.value("lote").toString();
    record.job.printerPath = header.value("impressora").toString();
    record.job.history = QByteArray::fromBase64(header.value("historico").toString().toLatin1());
    return record;
}

// The first line, the job whole; none when it is not a record.
std::optional<Record> whole(const QByteArray &line, const QString &journal)
{
    const QJsonObject header = QJsonDocument::fromJson(line).object();
    if (header.isEmpty())
        return std::nullopt;
    Record record = described(header, journal);
    for (const QJsonValue &value : header.value("arquivos").toArray()) {
        const QJsonObject o = value.toObject();
        record.job.files.append({o.value("caminho").toString(), QByteArray::fromBase64(o.value("bytes").toString().toLatin1()),
                                 o.value("etiquetas").toInt()});
    }
    return record;
}

// What a look needs of the first line: the job without its files' bytes, and
// where the marks begin. A record written with its files first (by an earlier
// version of the program) is read whole, once.
std::optional<ThermalJournalCache::Entry> firstLine(QFile &file, const QString &journal)
{
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray start = file.read(kPiece);
    qsizetype filesAt = start.indexOf(kFilesMember);
    while (filesAt < 0 && start.startsWith('{') && !start.startsWith(kFilesFirst) && !file.atEnd()
           && !start.contains('\n')) {
        start += file.read(kPiece);
        filesAt = start.indexOf(kFilesMember);
    }
    const qsizetype lineEnd = start.indexOf('\n');
    if (filesAt < 0 || (lineEnd >= 0 && lineEnd < filesAt)) {
        file.seek(0);
        const QByteArray bytes = file.readAll();
        const qsizetype end = bytes.indexOf('\n');
        std::optional<Record> record = whole(bytes.left(end), journal);
        if (!record || end < 0)
            return std::nullopt;
        for (CommandFile &f : record->job.files)
            f = {QString(), QByteArray(), f.labels};
        return ThermalJournalCache::Entry{end + 1, *std::move(record)};
    }
    const QJsonObject header = QJsonDocument::fromJson(start.left(filesAt) + '}').object();
    if (header.isEmpty())
        return std::nullopt;
    Record record = described(header, journal);
    for (const QJsonValue &labels : header.value("etiquetas").toArray())
        record.job.files.append({QString(), QByteArray(), labels.toInt()});
    // The line ends at the last closing brace of the file: no mark holds one.
    const qint64 size = file.size();
    for (qint64 from = size;;) {
        from = std::max<qint64>(0, from - kPiece);
        if (!file.seek(from))
            return std::nullopt;
        const QByteArray tail = file.read(size - from);
        const qsizetype brace = tail.lastIndexOf("}\n");
        if (brace >= 0)
            return ThermalJournalCache::Entry{from + brace + 2, std::move(record)};
        if (from == 0)
            return std::nullopt; // cut short: a program killed while writing it
    }
}

// How far the job got, from the marks after its first line.
void applyMarks(Record &record, const QByteArray &marks)
{
    // Files go out in order, so the marks are too; a line cut short by a
    // program killed while writing it reads as no mark. The last history
    // given holds.
    int done = 0;
    int running = 0;
    const QList<QByteArray> lines = marks.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromLatin1(lines[i]);
        const auto number = [&](QLatin1String what) {
            bool ok = false;
            const int n = line.startsWith(what) ? line.mid(what.size()).toInt(&ok) : 0;
            return ok ? n : 0;
        };
        if (line == kReplaced)
            record.replaced = true;
        else if (line.startsWith(kHistory) && i + 1 < lines.size()) // whole only with its line's end
            record.job.history = QByteArray::fromBase64(lines[i].mid(kHistory.size()));
        else if (const int n = number(kStarted))
            running = n;
        else if (const int n = number(kDone))
            done = std::max(done, n);
        else if (const int n = number(kFailed); n == running)
            running = 0;
    }
    record.job.firstFileNumber = std::min(done, int(record.job.files.size())) + 1;
    record.interrupted = running > done ? running : 0;
}

} // namespace

std::optional<Record> load(const QString &journal)
{
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const qsizetype end = bytes.indexOf('\n');
    std::optional<Record> record = whole(bytes.left(end), journal);
    if (record)
        applyMarks(*record, end >= 0 ? bytes.mid(end + 1) : QByteArray());
    return record;
}

// The first line never changes once written: what a look needs of it is read
// once per program, and every later look reads only the marks after it. The
// counter looks on every idle moment and every show of the list, and the
// record of a thousand labels with a logo is megabytes long.
std::optional<Record> summary(const QString &journal)
{
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly)) {
        ThermalJournalCache::forget(journal);
        return std::nullopt;
    }
    std::optional<ThermalJournalCache::Entry> known = ThermalJournalCache::find(journal);
    if (!known || file.size() < known->headerBytes)
        known = firstLine(file, journal);
    if (!known || !file.seek(known->headerBytes))
        return std::nullopt;
    ThermalJournalCache::keep(journal, *known);
    applyMarks(known->header, file.readAll());
    return std::move(known->header);
}

QList<Record> inFolder(const QString &folder)
{
    QList<Record> records;
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("Envio-*.txt")}, QDir::Files)) {
        paths << dir.filePath(name);
        if (std::optional<Record> record = summary(paths.constLast()))
            records.append(*std::move(record));
    }
    ThermalJournalCache::keepOnly(folder, paths);
    std::sort(records.begin(), records.end(), [](const Record &a, const Record &b) { return a.created < b.created; });
    return records;
}

QString positionsText(const PrintJob &job, int fileNumber)
{
    int first = 1;
    for (int i = 0; i < fileNumber - 1 && i < job.files.size(); ++i)
        first += job.files[i].labels;
    const int count = fileNumber >= 1 && fileNumber <= job.files.size() ? job.files[fileNumber - 1].labels : 0;
    if (count <= 1)
        return QStringLiteral("etiqueta %1").arg(first);
    return QStringLiteral("etiquetas %1–%2").arg(first).arg(first + count - 1);
}

} // namespace ThermalJournal
