#pragma once

#include "Guarded.h"
#include "HandOverScreen.h"
#include "HistoryScreen.h"
#include "ListGrid.h"
#include "ListPanelControls.h"
#include "MainPanelControls.h"
#include "ListScreen.h"
#include "PrintProgressPanel.h"
#include "PrintScreen.h"
#include "SuiteJob.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

struct HandOverResult;
enum class OutputKind;
class HandOverFlow;
class HistoryFlow;
class JobWaitPanel;
struct PrintJob;
class TDM;
class ListFlow;
class PrintHandOver;
class QKeyEvent;
class QLineEdit;
class QTimer;

// The one window of the program. Its main panel is a column of large buttons;
// the list panel covers it while a product list is open. Every control is a
// public member named as the suite names it, and its objectName is that name.
class TFormSelvarra : public QWidget,
                      public MainPanelControls,
                      public ListPanelControls,
                      public ListScreen, public PrintScreen, public HistoryScreen, public HandOverScreen
{
    Q_OBJECT
public:
    explicit TFormSelvarra(QWidget *parent = nullptr);
    ~TFormSelvarra() override;

    // The data module is created after the window; start-up hands it over here,
    // which also binds the grid to DS_TabRev1.
    TDM *DM = nullptr;
    void attachDataModule(TDM *dm);
    // The list's reads off the window's thread; null without a data module.
    class ListReads *listReads() const { return m_listReads; }
    // The list build and the print job off the window's thread; null without a data module.
    class JobWorker *jobWorker() const { return m_jobWorker; }
    // What the station is doing now and what the clerk's input may do meanwhile.
    class Counter *counter() const { return m_counter; }
    // The print history and the history actions; the hand-over as the list panel shows it.
    HistoryFlow *historyFlow() const { return m_historyFlow; }
    HistoryWork *historyWork() const;
    HandOverFlow *handOverFlow() const { return m_handOverFlow; }
    // "Etiquetas com preços" from the click to the output; null without a data module.
    class PrintFlow *printFlow() const { return m_printFlow; }

    // The hand-over of thermal jobs to the printer, running after the click that queued them.
    PrintHandOver *printHandOver = nullptr;

    QTimer *Timer1;

    // The seven fixed sheet layout windows, created hidden at start-up.
    QList<QWidget *> layoutWindows;

    // Services for the list, printing and report work.
    void showListPanel() override;     // bounds 4,5 617x397, fills the main panel, grid refreshed and focused
    void hideListPanel() override;
    bool listPanelShown() const override;
    void focusGridQuantity() override; // grid refreshed, first column of the current row, focused
    void progressBegin(int steps) override;
    void progressStep(const QString &itemText);
    void progressEnd() override;
    void loadingBegin(int maximum) override;
    void loadingSetValue(int value) override;
    void loadingEnd() override;
    void setMainActionsEnabled(bool enabled) override; // the main panel's actions stay inactive during a build
    bool mainActionsEnabled() const override { return m_mainActionsEnabled; }

    // What the list flow shows (FormSelvarraList.cpp).
    void showSearchLine(const QString &text) override;
    void showTotals(const QString &text) override;
    QString searchText(ProductSearch::Column column) const override;
    bool commitGridEdit() override;
    void buildLogClear() override;
    void buildLogAppend(const QString &lines) override;
    void buildLogFlush() override;
    void waitingInLine(const QString &text, int seconds) override;

    // A list build or a print is running: "Cancelar" and Escape ask it to stop,
    // and it asks in turn whether it was.
    void setJobRunning(bool running) override;
    bool jobRunning() const override { return m_jobRunning; }
    bool jobCancelRequested() const override { return m_jobCancelRequested; }

    // The in-use stamp, rewritten at activation and on every tick of Timer1.
    void WriteInUseStamp();

public slots:
    // Start-up and closing.
    void FormCreate();
    void FormActivate();
    void BotSairClick();
    void Timer1Timer();

    // Screen states.
    void BitBtn14Click();
    void Visualizarmemo1Click();
    void Fecharmemo1Click();
    void BotSairMontEtiqClick();

    // Product list (FormSelvarraList.cpp). The key handlers get every key press of
    // their box; a handler that calls event->accept() keeps the key from the box.
    void BotSelvarProdRevClick();
    void btnConfigEtiqClick();
    void EditPesqCompChange();
    void EditPesqCodChange();
    void EditPesqCompKeyPress(QKeyEvent *event);
    void EditPesqCodKeyPress(QKeyEvent *event);
    void DBLCB1Change(int index);

    // Printing (FormSelvarraPrint.cpp).
    void btnEtiqSemPrecoClick();

    // What was printed (FormSelvarraHistory.cpp).
    void BotPrecosAlteradosClick();
    void BotHistoricoClick();
    // The hand-over (FormSelvarraHandOver.cpp).
    void BotPararEnvioClick();
    void BotContinuarEnvioClick();

    // Either "Cancelar", or Escape while a job runs.
    void CancelarClick();

signals:
    // "Cancelar" or Escape while a job runs, for work that waits on a signal.
    void jobCancelClicked();
    // The printer queue was asked about and the print went on, was refused or cancelled.
    void printerCheckEnded();
    // A click on "Etiquetas com preços" has been dealt with: its job printed,
    // refused, cancelled or failed, and the window's controls are back.
    void printEnded();

public:
    // Product list (FormSelvarraList.cpp), worked by the list flow.
    ListFlow *listFlow() const { return m_listFlow; }
    // Stores what is typed in the grid (an open cell editor, then the row)
    // before anything reads the list again, moves in it or leaves it. False,
    // with the message shown, when the typed text cannot be stored.
    bool postListEdit() override;
    // "17 etiquetas em 6 produtos" under the list, counted now.
    void updateListTotals() override;
    // After a print: the search box the clerk last used, else the grid's "Qtde.".
    void focusAfterPrint() override;

    // Printing (FormSelvarraPrint.cpp): the margins step that ends every activation.
    void MarginsStep();
    // What the print flow shows and asks of the window.
    void setPrintControlsEnabled(bool enabled) override;
    QString modelDescription() const override;
    void progressAt(const QString &product, int rowsDone) override;
    void jobWritten(const QString &modelDescription) override;
    QString afterOutput(OutputKind output) override;
    // The hand-over's controls on the list panel (FormSelvarraHandOver.cpp).
    void createPrintHandOver();
    // Queues a thermal job; the print line follows what the hand-over really did.
    void handOver(PrintJob job) override;

    // The print history (FormSelvarraHistory.cpp): every print records what
    // really went out; a thermal job when the hand-over says how far it got.
    void createHistory();

    // What the flows show, on the list panel's widgets.
    void showPrintLine(const QString &text) override;
    QString printLine() const override;
    QString startLabelText() const override;
    void setStartLabelText(const QString &text) override;
    void waitShowing(const QString &text) override;
    void waitEnded() override;
    void holdListOpen(bool hold) override;
    qint64 chooseHistoryJob(HistoryWork &work, const QString &database) override;
    void showSendingLine(const QString &text) override;
    void showStopSending(bool shown) override;
    void setStopSending(const QString &caption, bool enabled) override;
    void showContinueOffer(const QString &caption) override;
    void showClosingWait(const QString &text) override;
    void closeWindow() override;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormClose();
    void connectHandlers();
    void connectListHandlers(); // FormSelvarraList.cpp
    void connectCounter();
    void showHolding(bool holding);
    void listFocusChanged(QWidget *old, QWidget *now);
    void quantityEntered(int column);

    bool m_mainActionsEnabled = true;
    bool m_jobRunning = false;
    bool m_jobCancelRequested = false;
    bool m_listPanelFills = false;
    // An activation whose stamp check failed is not repeated by the return from
    // its own message box; the next real activation tries again.
    bool m_skipNextActivation = false;

    class Counter *m_counter = nullptr;
    HistoryFlow *m_historyFlow = nullptr;
    HandOverFlow *m_handOverFlow = nullptr;
    std::unique_ptr<JobWaitPanel> m_wait; // over the list while a build waits in line or the history works
    QString m_lineBeforeHolding; // the line under the boxes before "Lendo a lista…"

    // product list
    QPointer<QLineEdit> m_searchOrigin; // the search box the clerk came into the grid from
    class ListReads *m_listReads = nullptr;
    class ListWrites *m_listWrites = nullptr;
    class JobWorker *m_jobWorker = nullptr;
    ListFlow *m_listFlow = nullptr;
    QPointer<QLineEdit> m_lastSearchBox; // the search box the clerk last typed in

    // printing (FormSelvarraPrint.cpp)
    class PrintFlow *m_printFlow = nullptr;
    class TRvSystem *RvSystem2 = nullptr; // the print flow's report engine: where the last sheet run went
    void createPrintFlow();
};
