#pragma once

#include "HistoryWork.h"
#include "PrintHandOver.h"

#include <QObject>
#include <QPointer>

#include <memory>

enum class OutputKind;
class Counter;
class HistoryRetention;
class HistoryScreen;
class HistoryStore;
class ListReads;
class PrintHistory;
class TDM;
class TRvSystem;
struct PrintedItem;

// What was printed: the print history each print records, "Preços alterados"
// and "Histórico de etiquetas" on the list panel, "Repetir", and the removal
// of old jobs. The history is read and written on its own worker; the list
// is read again once an action is done, whatever it wrote.
class HistoryFlow : public QObject
{
    Q_OBJECT
public:
    // `handOver` gets the recorder that brings a thermal job's history up to
    // what went out.
    HistoryFlow(HistoryScreen &screen, Counter &counter, PrintHandOver &handOver, QObject *parent = nullptr);
    // Waits for a write under way to end, and for the prints' records in
    // line that begin within a few seconds; a thermal job's record not written
    // by then stays with the job's own record, which the next start settles.
    ~HistoryFlow() override;

    // The list the actions work on; none without a data module.
    void attach(TDM *dm, ListReads *reads);

    HistoryWork &work() const { return *m_work; }
    PrintHistory &printHistory() const { return *m_printHistory; }
    HistoryRetention &retention() const { return *m_retention; }

    // The print notes the job it wrote, then what its output did.
    void jobWritten(const QString &modelDescription);
    void afterOutput(OutputKind output, const TRvSystem *sheets);
    // A queued thermal job's history number, taken on the worker.
    void thermalRecord(PrintHandOver::HistoryGiven given);

    void pricesChanged();  // "Preços alterados"
    void chooseToRepeat(); // "Histórico", then "Repetir"
    // "Cancelar" on the panel over the list.
    void cancel();

private:
    bool mayAct();
    QString database() const;
    void repeat(qint64 jobId, const QList<PrintedItem> &items, const QString &database, const HistoryWork::Outcome &read);
    void workDone(const HistoryWork::Outcome &outcome, const QString &action, const QString &done);

    HistoryScreen &m_screen;
    Counter &m_counter;
    PrintHandOver &m_handOver;
    TDM *m_dm = nullptr;
    QPointer<ListReads> m_reads;
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<HistoryWork> m_work;
    std::unique_ptr<PrintHistory> m_printHistory;
    std::unique_ptr<HistoryRetention> m_retention;
};
