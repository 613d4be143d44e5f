#pragma once

#include "ClientDataSet.h"

#include <QObject>
#include <QPointer>

#include <memory>

class Counter;
class JobWorker;
class JobNotReadBack;
class ListReads;
class PrintScreen;
class PrinterAsking;
class ReportRunner;
class TDM;
class QWidget;
struct PrintRun;

// "Etiquetas com preços" from the click to the job read back and put out: the
// model's output chooses what is checked and asked first, the worker writes
// the job of the rows the list shows and reads it back, and the output runs
// on those rows. The window is reached only through its PrintScreen; dialogs
// open over `dialogOwner` (none in tests).
class PrintFlow : public QObject
{
    Q_OBJECT
public:
    PrintFlow(TDM &dm, Counter &counter, JobWorker &worker, ListReads &reads, PrintScreen &screen, QWidget *dialogOwner,
              QObject *parent = nullptr);
    ~PrintFlow() override;

    // The click, once the counter has let it through and no job runs.
    void print();
    // "Cancelar" or Escape: ends a question to the printer queue under way.
    void cancel();

    ReportRunner &reports() { return *m_reports; }

signals:
    // The printer queue was asked about and the print went on, was refused or cancelled.
    void printerCheckEnded();
    // A click has been dealt with: its job printed, refused, cancelled or
    // failed, and the window's controls are back.
    void printEnded();

private:
    friend struct PrintRun;
    void checkOutput(const std::shared_ptr<PrintRun> &run);
    void askPrinterThenPrint(const std::shared_ptr<PrintRun> &run);
    void printChecked(const std::shared_ptr<PrintRun> &run);
    void writeJob(const std::shared_ptr<PrintRun> &run);
    void offerReadAgain(const std::shared_ptr<PrintRun> &run, const JobNotReadBack &notRead);
    void jobRead(const std::shared_ptr<PrintRun> &run, qint64 labels, ClientDataSet::ReadyRows &&rows);
    void printJob(const std::shared_ptr<PrintRun> &run, qint64 labels);

    TDM &m_dm;
    Counter &m_counter;
    JobWorker &m_worker;
    ListReads &m_reads;
    PrintScreen &m_screen;
    QWidget *m_dialogOwner;
    std::unique_ptr<ReportRunner> m_reports;
    QPointer<PrinterAsking> m_asking; // the printer queue being asked about
};
