#include "ThermalJournal.h"

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

namespace ThermalJournal {

namespace {

const QLatin1String kStarted("iniciado ");
const QLatin1String kDone("enviado ");
const QLatin1String kFailed("falhou ");
const QLatin1String kReplaced("substituido");
const QLatin1String kHistory("historico ");

// Strictly growing within the program, so two jobs queued in the same
// millisecond keep their order; across runs the clock moves on.
qint64 nextCreated()
{
    static qint64 last = 0;
    last = std::max(last + 1, QDateTime::currentMSecsSinceEpoch());
    return last;
}

QString mark(const QString &journal, QLatin1String what, int fileNumber)
{
    return TextFile::appendDurably(journal, (what + QString::number(fileNumber) + QLatin1Char('\n')).toLatin1());
}

} // namespace

QString create(PrintJob &job)
{
    QJsonArray files;
    for (const CommandFile &file : std::as_const(job.files))
        files.append(QJsonObject{{"caminho", file.path}, {"etiquetas", file.labels},
                                 {"bytes", QString::fromLatin1(file.bytes.toBase64())}});
    const QJsonObject header{{"criado", QString::number(nextCreated())},
                             {"lote", job.batchFile},
                             {"impressora", job.printerPath},
                             {"historico", QString::fromLatin1(job.history.toBase64())},
                             {"arquivos", files}};
    const QString path = QFileInfo(job.batchFile).dir().filePath(
        QStringLiteral("Envio-%1.txt").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)));
    const QString error = TextFile::writeWhole(path, QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n');
    if (error.isEmpty())
        job.journal = path;
    return error;
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
    if (!journal.isEmpty())
        QFile::remove(journal);
}

std::optional<Record> load(const QString &journal)
{
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.readAll().split('\n');
    const QJsonObject header = QJsonDocument::fromJson(lines.value(0)).object();
    if (header.isEmpty())
        return std::nullopt;
    Record record;
    record.created = header.value("criado").toString().toLongLong();
    record.job.journal = journal;
    record.job.batchFile = header.value("lote").toString();
    record.job.printerPath = header.value("impressora").toString();
    record.job.history = QByteArray::fromBase64(header.value("historico").toString().toLatin1());
    for (const QJsonValue &value : header.value("arquivos").toArray()) {
        const QJsonObject o = value.toObject();
        record.job.files.append({o.value("caminho").toString(), QByteArray::fromBase64(o.value("bytes").toString().toLatin1()),
                                 o.value("etiquetas").toInt()});
    }
    // Files go out in order, so the marks are too; a line cut short by a
    // program killed while writing it reads as no mark. The last history
    // given holds.
    int done = 0;
    int running = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
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
    return record;
}

QList<Record> inFolder(const QString &folder)
{
    QList<Record> records;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("Envio-*.txt")}, QDir::Files)) {
        if (std::optional<Record> record = load(dir.filePath(name)))
            records.append(*std::move(record));
    }
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
