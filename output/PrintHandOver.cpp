#include "PrintHandOver.h"

#include "HandOverDisk.h"
#include "Messages.h"
#include "ProcessStarter.h"
#include "TextFile.h"

#include <QDebug>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QScopeGuard>
#include <QTimer>

#include <numeric>

namespace {

QString shortName(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString filesLeftText(int files)
{
    if (files <= 0)
        return {};
    return files == 1 ? QStringLiteral(" O arquivo seguinte não foi enviado.")
                      : QStringLiteral(" Os %1 arquivos seguintes não foram enviados.").arg(files);
}

// A file whose run the time limit ended: whether it reached the printer is not known.
QString cutOffText(const PrintJob &job, int fileNumber, int labels)
{
    if (labels <= 0)
        return {};
    return QStringLiteral(" O arquivo %1 (%2) pode ter saído na impressora ou não; \"Continuar envio\" perguntará por ele.")
        .arg(QFileInfo(job.files[fileNumber - 1].path).fileName(), ThermalJournal::positionsText(job, fileNumber));
}

// Why a run of the batch file did not end well, in the user's words.
QString failureReason(const QString &batch, const ProcessStarter::Outcome &outcome)
{
    QString why;
    if (!outcome.started)
        why = QStringLiteral("não foi possível executar %1: %2").arg(batch, outcome.error);
    else if (!outcome.error.isEmpty())
        why = QStringLiteral("%1 foi %2").arg(batch, outcome.error);
    else
        why = QStringLiteral("%1 terminou com o código %2").arg(batch).arg(outcome.exitCode);
    if (!outcome.errorOutput.isEmpty())
        why += QStringLiteral(" (%1)").arg(outcome.errorOutput);
    return why;
}

} // namespace

PrintHandOver::PrintHandOver(QObject *parent) : QObject(parent), m_disk(std::make_unique<HandOverDisk>(this))
{
    setObjectName(QStringLiteral("PrintHandOver"));
    qRegisterMetaType<HandOverResult>();
}

PrintHandOver::~PrintHandOver()
{
    m_waiting.clear();
    m_closing = true;
    m_disk.reset();
    // A file still being sent stays marked started on its job's record:
    // "Continuar envio" asks before sending it again. The run itself is let
    // finish its copy a little (ProcessStarter) rather than cut mid-label.
    m_running = false;
    qDeleteAll(findChildren<QObject *>(Qt::FindDirectChildrenOnly));
}

void PrintHandOver::abandon()
{
    m_waiting.clear();
    m_continuing.clear();
    m_closing = true;
    ProcessStarter::endRuns(this);
    m_running = false;
}

QString PrintHandOver::labelsSentText(int labels)
{
    if (labels == 0)
        return QStringLiteral("Nenhuma etiqueta foi enviada à impressora.");
    if (labels == 1)
        return QStringLiteral("1 etiqueta já foi enviada à impressora.");
    return QStringLiteral("%1 etiquetas já foram enviadas à impressora.").arg(labels);
}

void PrintHandOver::enqueue(PrintJob job)
{
    Queued queued{std::move(job)};
    queued.ticket = ++m_tickets;
    replaceStopped(queued);
    m_waiting.enqueue(std::move(queued));
    admit(m_waiting.last());
    if (!m_running)
        startNextJob();
}

void PrintHandOver::enqueue(PrintJob job, const HistoryAsk &ask)
{
    const quint64 ticket = ++m_tickets;
    Queued queued{std::move(job)};
    queued.ticket = ticket;
    queued.awaiting = true;
    // What the job replaces is what is stopped at the click, not what a job
    // ahead of it leaves stopped while it waits.
    replaceStopped(queued);
    m_waiting.enqueue(std::move(queued));
    ask([self = QPointer<PrintHandOver>(this), ticket](const QByteArray &history) {
        if (self)
            self->historyGiven(ticket, history);
    });
}

void PrintHandOver::historyGiven(quint64 ticket, const QByteArray &history)
{
    const auto queued = std::find_if(m_waiting.begin(), m_waiting.end(), [ticket](const Queued &q) { return q.ticket == ticket; });
    if (queued == m_waiting.end() || !queued->awaiting || queued->recordAsked)
        return; // the program is closing, or the answer came twice
    queued->job.history = history;
    admit(*queued);
    if (!queued->awaiting)
        admitted(queued);
}

void PrintHandOver::recordWritten(quint64 ticket, const QString &error, const QList<CommandFile> &files)
{
    const auto queued = std::find_if(m_waiting.begin(), m_waiting.end(), [ticket](const Queued &q) { return q.ticket == ticket; });
    if (queued == m_waiting.end() || !queued->awaiting)
        return; // the program is closing
    queued->awaiting = false;
    queued->job.files = files;
    queued->job.makeBytes = {};
    queued->recordError = error;
    if (!error.isEmpty())
        queued->job.journal.clear();
    admitted(queued);
}

void PrintHandOver::admitted(QQueue<Queued>::iterator queued)
{
    if (queued->kept) {
        // Stopped before it could start: it waits on its record, like the
        // jobs that were behind the stopped one, for "Continuar envio"; one
        // whose record could not be written is not kept, and the clerk hears so.
        if (!queued->recordError.isEmpty())
            keptJobUnrecorded(*queued);
        m_waiting.erase(queued);
    }
    if (!m_running)
        startNextJob();
}

void PrintHandOver::keptJobUnrecorded(const Queued &queued)
{
    const QString message = QStringLiteral("O envio parou antes deste trabalho começar, e não foi possível gravar o "
                                           "registro dele na pasta %1 (%2): ele não ficou guardado para \"Continuar "
                                           "envio\". Pressione \"Etiquetas com preços\" de novo para imprimi-lo.\r%3")
                                .arg(QFileInfo(queued.job.batchFile).absolutePath(), queued.recordError, labelsSentText(0));
    HandOverResult result{HandOverResult::End::Failed, queued.job.firstFileNumber, {}, queued.job.fileCount(), message};
    result.dropped = true;
    result.startPosition = queued.job.startPosition;
    emit jobEnded(result);
    emit jobFailed(message, 0);
}

void PrintHandOver::replaceStopped(const Queued &queued)
{
    if (!queued.job.test && queued.job.journal.isEmpty())
        replaceStopped(QFileInfo(queued.job.batchFile).absolutePath());
}

// A new job's files are made and its record written on the disk thread; the
// job waits in line for them, as for its history number. Its record's name is
// known at once, so the job is in line under it while it is being written.
void PrintHandOver::admit(Queued &queued)
{
    queued.awaiting = false;
    const bool needsRecord = !queued.job.test && queued.job.journal.isEmpty();
    if (!needsRecord && !queued.job.makeBytes)
        return;
    queued.awaiting = true;
    queued.recordAsked = true;
    if (needsRecord) {
        queued.fresh = true;
        queued.job.journal = ThermalJournal::newRecordPath(queued.job);
    }
    m_disk->run([this, ticket = queued.ticket, job = queued.job, needsRecord](const std::atomic<bool> &) mutable -> HandOverDisk::Answer {
        job.make();
        const QString error = needsRecord ? ThermalJournal::create(job) : QString();
        return [this, ticket, error, files = job.files] { recordWritten(ticket, error, files); };
    });
}

bool PrintHandOver::inLine(const QString &journal) const
{
    if ((m_running && m_job.journal == journal) || m_recording.contains(journal) || m_continuing.contains(journal))
        return true;
    return std::any_of(m_waiting.cbegin(), m_waiting.cend(), [&](const Queued &queued) { return queued.job.journal == journal; });
}

void PrintHandOver::replaceStopped(const QString &folder)
{
    for (const ThermalJournal::Record &stopped : ThermalJournal::inFolder(folder)) {
        if (inLine(stopped.job.journal))
            continue;
        // Its command files are about to be overwritten: it is never offered
        // again. Unmarked, it would be, from its record's own bytes.
        if (!stopped.replaced) {
            if (const QString error = ThermalJournal::markReplaced(stopped.job.journal); !error.isEmpty())
                qWarning().noquote() << "a replaced job's record could not be marked:" << error;
        }
        removeOnceRecorded(stopped, true);
    }
}

void PrintHandOver::removeOnceRecorded(const ThermalJournal::Record &left, bool tell)
{
    record(left.job, left.filesDone(), [this, journal = left.job.journal, tell](const QString &note) {
        if (note.isEmpty())
            ThermalJournal::remove(journal);
        else if (tell)
            emit historyKept(note + historyPendingText());
    });
}

void PrintHandOver::record(const PrintJob &job, int filesDone, Recorded then)
{
    if (!m_recorder || job.test) {
        then(QString());
        return;
    }
    // Until the history answers, the record is neither offered for
    // "Continuar envio" nor settled again.
    m_recording.append(job.journal);
    const Keep keep = [journal = job.journal](const QByteArray &history) {
        return journal.isEmpty() ? QString() : ThermalJournal::keepHistory(journal, history);
    };
    m_recorder(job, filesDone, keep, [self = QPointer<PrintHandOver>(this), journal = job.journal, then = std::move(then)](const QString &note) {
        if (!self)
            return;
        self->m_recording.removeOne(journal);
        then(note);
        self->idleIfDone();
    });
}

QString PrintHandOver::historyPendingText()
{
    return QStringLiteral("; o registro do trabalho anterior ficou guardado, e o histórico dele será gravado quando o "
                          "banco de dados responder");
}

void PrintHandOver::idleIfDone()
{
    // Inside these two the end is told by whoever called them.
    if (!m_starting && !m_finishing && !busy())
        emit idle();
}

QList<ThermalJournal::Record> PrintHandOver::pending(const QString &folder) const
{
    QList<ThermalJournal::Record> records;
    for (ThermalJournal::Record &left : ThermalJournal::inFolder(folder)) {
        if (!left.whole() && !left.replaced && !inLine(left.job.journal))
            records.append(std::move(left));
    }
    return records;
}

void PrintHandOver::settle(const QString &folder)
{
    for (const ThermalJournal::Record &left : ThermalJournal::inFolder(folder)) {
        if ((left.whole() || left.replaced) && !inLine(left.job.journal))
            removeOnceRecorded(left, false);
    }
}

int PrintHandOver::continuePending(const QString &folder)
{
    const QList<ThermalJournal::Record> records = pending(folder);
    // In line from now on: not offered again while they are being taken up.
    for (const ThermalJournal::Record &left : records)
        m_continuing.append(left.job.journal);
    continueWith(records);
    return int(records.size());
}

// The records are taken up one after another, in order: a question waits
// for the mark of the one before it.
void PrintHandOver::continueWith(QList<ThermalJournal::Record> records)
{
    while (!records.isEmpty()) {
        const ThermalJournal::Record left = records.takeFirst();
        // Read whole now, files and all, to be sent.
        std::optional<ThermalJournal::Record> whole = ThermalJournal::load(left.job.journal);
        if (!whole) {
            m_continuing.removeOne(left.job.journal);
            continue;
        }
        ThermalJournal::Record &rest = *whole;
        if (rest.interrupted > 0
            && !Messages::ask(QStringLiteral("O arquivo %1 (%2) pode já ter saído na impressora. Enviar de novo?")
                                  .arg(rest.interrupted)
                                  .arg(ThermalJournal::positionsText(rest.job, rest.interrupted)))) {
            // Taken as printed: the history counts it, and it is not sent
            // again. The mark is on disk before anything of the job goes on.
            m_disk->run([this, rest = std::move(rest), records = std::move(records)](const std::atomic<bool> &) mutable -> HandOverDisk::Answer {
                const QString error = ThermalJournal::markDone(rest.job.journal, rest.interrupted);
                return [this, rest = std::move(rest), records = std::move(records), error]() mutable {
                    if (!m_closing)
                        doneMarked(std::move(rest), std::move(records), error);
                };
            });
            return;
        }
        m_continuing.removeOne(rest.job.journal);
        enqueue(std::move(rest.job));
    }
}

void PrintHandOver::doneMarked(ThermalJournal::Record rest, QList<ThermalJournal::Record> records, const QString &error)
{
    m_continuing.removeOne(rest.job.journal);
    if (!error.isEmpty()) {
        for (const ThermalJournal::Record &left : records)
            m_continuing.removeOne(left.job.journal);
        Messages::show(QStringLiteral("Não foi possível gravar o registro do envio %1 (%2).").arg(rest.job.journal, error));
        idleIfDone();
        return;
    }
    rest.job.firstFileNumber = rest.interrupted + 1;
    enqueue(std::move(rest.job));
    continueWith(std::move(records));
}

void PrintHandOver::stop()
{
    if (m_running) {
        m_stopRequested = true;
        return;
    }
    keepWaiting();
}

int PrintHandOver::keepWaiting()
{
    // Jobs on their records stay there for "Continuar envio"; one whose
    // history record has not come yet gets its record when it comes, and
    // waits on it too.
    const int kept = int(m_waiting.size());
    m_waiting.removeIf([](const Queued &queued) { return !queued.awaiting; });
    for (Queued &queued : m_waiting)
        queued.kept = true;
    return kept;
}

void PrintHandOver::startNextJob()
{
    // A job that ends while this loop starts it (a file that cannot be
    // written, a stop) is followed by the loop itself.
    if (m_starting)
        return;
    m_starting = true;
    const auto done = qScopeGuard([this] { m_starting = false; });
    // A job whose history record is still being made holds those behind it:
    // the line keeps the order of the clicks.
    while (!m_running && !m_waiting.isEmpty() && !m_waiting.head().awaiting) {
        Queued next = m_waiting.dequeue();
        m_job = std::move(next.job);
        m_fresh = next.fresh;
        m_running = true;
        m_stopRequested = false;
        m_next = m_job.firstFileNumber - 1;
        m_labelsPerFile.clear();
        if (!next.recordError.isEmpty()) {
            fail(QStringLiteral("Não foi possível gravar o registro do envio na pasta %1 (%2); sem ele as etiquetas não "
                                "são enviadas.\r%3")
                     .arg(QFileInfo(m_job.batchFile).absolutePath(), next.recordError, labelsSentText(0)));
        } else if (!QFileInfo(m_job.batchFile).isFile()) {
            forgetIfUnstarted();
            fail(QStringLiteral("O arquivo %1 não foi encontrado; ele é quem envia as etiquetas à impressora.\r%2")
                     .arg(m_job.batchFile, labelsSentText(0)));
        } else {
            writeFiles();
        }
    }
    if (!busy() && !m_finishing)
        emit idle();
}

// Every file before the first goes, on the disk thread; the job is running
// meanwhile ("Parar envio" stops it before its first file).
void PrintHandOver::writeFiles()
{
    // From the job's record: a test print of another program or another job
    // may have written the same names since.
    m_disk->run([this, files = m_job.files.mid(m_next)](const std::atomic<bool> &closing) -> HandOverDisk::Answer {
        for (const CommandFile &file : files) {
            if (closing.load())
                return {};
            // Written aside and put in place when whole: a printer never gets
            // half a file, whatever the disk does.
            const QString error = TextFile::writeWhole(file.path, file.bytes);
            if (!error.isEmpty())
                return [this, path = file.path, error] { filesWritten(path, error); };
        }
        return [this] { filesWritten(QString(), QString()); };
    });
}

void PrintHandOver::filesWritten(const QString &path, const QString &error)
{
    if (m_closing || !m_running)
        return;
    if (!error.isEmpty()) {
        forgetIfUnstarted();
        fail(QStringLiteral("Não foi possível gravar o arquivo de etiquetas %1 (%2).\r%3").arg(path, error, labelsSentText(0)));
        return;
    }
    runNextFile();
}

void PrintHandOver::runNextFile()
{
    if (m_next >= m_job.files.size()) {
        finish(HandOverResult::End::Whole);
        return;
    }
    if (m_stopRequested) {
        finish(HandOverResult::End::Stopped);
        return;
    }
    emit sending(currentFile(), currentFileCount());
    if (m_job.journal.isEmpty()) {
        startMarked(QString());
        return;
    }
    // Once this mark is on its way the file goes, as if "Parar envio" had
    // come a moment later: a file marked started and never run would be asked
    // about by "Continuar envio" for nothing.
    mark([journal = m_job.journal, fileNumber = m_next + 1] { return ThermalJournal::markStarted(journal, fileNumber); },
         [this](const QString &error) { startMarked(error); });
}

void PrintHandOver::startMarked(const QString &error)
{
    if (!error.isEmpty()) {
        fail(QStringLiteral("Não foi possível gravar o registro do envio %1 (%2); %3 não foi enviado, para que nada "
                            "saia sem registro.\r%4")
                 .arg(m_job.journal, error, shortName(m_job.files[m_next].path), labelsSentText(sentLabels())));
        return;
    }
    ProcessStarter::runBatch(
        this, m_job.batchFile, {m_job.files[m_next].path, m_job.printerPath},
        [this](const ProcessStarter::Outcome &outcome) { runEnded(outcome); }, m_timeLimitSeconds * 1000);
}

void PrintHandOver::mark(std::function<QString()> write, std::function<void(const QString &error)> then)
{
    // On the disk thread, behind the job's files, and waited for: nothing
    // goes on before the mark is on disk, and the window does not wait for
    // its sync. A job cut off meanwhile (abandon, or the program closing)
    // hears nothing more.
    m_disk->run([this, write = std::move(write), then = std::move(then)](const std::atomic<bool> &) mutable -> HandOverDisk::Answer {
        return [this, error = write(), then = std::move(then)] {
            if (!m_closing && m_running)
                then(error);
        };
    });
}

void PrintHandOver::runEnded(const ProcessStarter::Outcome &outcome)
{
    if (m_closing)
        return;
    const CommandFile &done = m_job.files[m_next];
    if (!outcome.succeeded()) {
        // A run the time limit ended may have copied its file before it hung,
        // like one "Fechar mesmo assim" cut off: it stays marked started, and
        // "Continuar envio" asks about it. Any other run that ended badly is
        // marked so; unwritten, the mark costs a question, nothing more.
        if (outcome.timedOut)
            m_cutOff = done.labels;
        const QString message = QStringLiteral("O envio de %1 à impressora falhou: %2.\r%3%4%5")
                                    .arg(shortName(done.path), failureReason(shortName(m_job.batchFile), outcome),
                                         labelsSentText(sentLabels()), cutOffText(m_job, m_next + 1, m_cutOff),
                                         filesLeftText(int(m_job.files.size()) - m_next - 1));
        if (outcome.timedOut || m_job.journal.isEmpty()) {
            fail(message);
            return;
        }
        // The mark is in before the history may append to the same record.
        mark([journal = m_job.journal, fileNumber = m_next + 1] { return ThermalJournal::markFailed(journal, fileNumber); },
             [this, message](const QString &) { fail(message); });
        return;
    }
    m_labelsPerFile.append(done.labels);
    if (m_job.journal.isEmpty()) {
        doneMarked(QString());
        return;
    }
    mark([journal = m_job.journal, fileNumber = m_next + 1] { return ThermalJournal::markDone(journal, fileNumber); },
         [this](const QString &error) { doneMarked(error); });
}

void PrintHandOver::doneMarked(const QString &error)
{
    const QString path = m_job.files[m_next].path;
    ++m_next;
    if (!error.isEmpty()) {
        fail(QStringLiteral("%1 foi enviado, mas não foi possível gravar isso no registro do envio %2 (%3); o envio "
                            "parou, e \"Continuar envio\" perguntará por ele.\r%4")
                 .arg(shortName(path), m_job.journal, error, labelsSentText(sentLabels())));
        return;
    }
    emit fileDone(m_next);
    runNextFile();
}

void PrintHandOver::forgetIfUnstarted()
{
    // A new job that could not even start leaves nothing to continue: it is
    // printed again from the list once the folder is put right.
    if (m_fresh)
        ThermalJournal::remove(std::exchange(m_job.journal, QString()));
}

int PrintHandOver::sentLabels() const
{
    return std::accumulate(m_labelsPerFile.cbegin(), m_labelsPerFile.cend(), 0);
}

void PrintHandOver::fail(const QString &message)
{
    finish(HandOverResult::End::Failed, message);
}

void PrintHandOver::finish(HandOverResult::End end, const QString &message)
{
    m_finishing = true;
    HandOverResult result{end, m_job.firstFileNumber, m_labelsPerFile, int(m_job.files.size()) - m_next, message};
    result.dropped = end != HandOverResult::End::Whole && m_fresh && m_next == 0 && m_job.journal.isEmpty();
    result.startPosition = m_job.startPosition;
    result.labelsCutOff = std::exchange(m_cutOff, 0);
    const PrintJob job = std::exchange(m_job, PrintJob());
    const int filesDone = std::exchange(m_next, 0);
    m_running = false;
    m_labelsPerFile.clear();
    if (end == HandOverResult::End::Stopped) {
        // "Parar envio" stops the printer line, not one job of it: the jobs
        // behind stay on their records, and "Continuar envio" sends them in turn.
        result.jobsKept = keepWaiting();
    }
    // The history first, the record after it: a program ended in between
    // completes the history from the record when started again. The next job
    // goes out meanwhile.
    auto ended = [this, result, journal = job.journal](const QString &note) mutable {
        result.historyNote = note;
        const bool whole = result.end == HandOverResult::End::Whole;
        if (whole && note.isEmpty())
            ThermalJournal::remove(journal);
        emit jobEnded(result);
        if (whole)
            emit jobHandedOver(result.labels(), int(result.labelsPerFile.size()));
        else if (result.end == HandOverResult::End::Failed)
            emit jobFailed(result.message, result.labels());
    };
    if (!job.test && (filesDone > 0 || end == HandOverResult::End::Whole))
        record(job, filesDone, std::move(ended));
    else
        ended(QString());
    m_finishing = false;
    startNextJob();
}
