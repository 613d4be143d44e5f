#include "TFormSelvarra.h"

#include "ColumnLists.h"
#include "Counter.h"
#include "DataSetModel.h"
#include "HandOverFlow.h"
#include "HistoryFlow.h"
#include "InUseStamp.h"
#include "IniSettings.h"
#include "JobWaitPanel.h"
#include "JobWorker.h"
#include "ListFlow.h"
#include "ListReads.h"
#include "ListWrites.h"
#include "ModelBoxGuard.h"
#include "PrintFlow.h"
#include "RunValues.h"
#include "ScreenColor.h"
#include "TDM.h"
#include "WindowLook.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

using namespace WindowLook;

namespace {

const QString HideInstructions = QStringLiteral("Fechar instruções");

} // namespace

TFormSelvarra::TFormSelvarra(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormSelvarra"));
    setWindowTitle(QStringLiteral("BOTICON - ETIQUETAS DE CODIGO DE BARRAS"));
    setFont(formFont());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30000);

    buildMainPanel(this);
    PainelConsistG->installEventFilter(this);
    buildListPanel(PainelConsistG, this);
    PainelSelvarra->installEventFilter(this);
    makeHidden<QFrame>(PainelBotoes, "PainelSeqNum");
    makeHidden<QFrame>(this, "PainelLogin");
    m_counter = new Counter(this);
    createPrintHandOver();
    createHistory();
    connectHandlers();
    connectCounter();

    // Stacking on the main panel, back to front.
    PainelBotoes->lower();
    Gauge1->lower();
    Label30->lower();
    PainelSelvarra->raise();
    mmo1->raise();
    Memo2->raise();

    FormCreate();
}

TFormSelvarra::~TFormSelvarra()
{
    // Focus moves while the children go; the list must not hear of it then.
    disconnect(qApp, nullptr, this, nullptr);
    // A job or read under way ends, and gives its controls back, while the controls exist.
    delete m_jobWorker;
    delete m_printFlow; // gives the print's controls back while they exist
    m_wait.reset();
    delete m_listFlow;
    m_listFlow = nullptr;
    delete m_listWrites;
    m_listWrites = nullptr;
    delete m_listReads;
    m_listReads = nullptr;
    delete m_historyFlow;
    m_historyFlow = nullptr;
}

void TFormSelvarra::connectHandlers()
{
    connect(BotSelvarProdRev, &QPushButton::clicked, this, &TFormSelvarra::BotSelvarProdRevClick);
    connect(btnConfigEtiq, &QPushButton::clicked, this, &TFormSelvarra::btnConfigEtiqClick);
    connect(BotSair, &QPushButton::clicked, this, &TFormSelvarra::BotSairClick);
    connect(BitBtn14, &QPushButton::clicked, this, &TFormSelvarra::BitBtn14Click);
    connect(BotSairMontEtiq, &QPushButton::clicked, this, &TFormSelvarra::BotSairMontEtiqClick);
    connect(btnEtiqSemPreco, &QPushButton::clicked, this, &TFormSelvarra::btnEtiqSemPrecoClick);
    connect(BotCancelarLista, &QPushButton::clicked, this, &TFormSelvarra::CancelarClick);
    connect(BotCancelarImpressao, &QPushButton::clicked, this, &TFormSelvarra::CancelarClick);
    connect(Visualizarmemo1, &QAction::triggered, this, &TFormSelvarra::Visualizarmemo1Click);
    connect(Fecharmemo1, &QAction::triggered, this, &TFormSelvarra::Fecharmemo1Click);
    connect(Timer1, &QTimer::timeout, this, &TFormSelvarra::Timer1Timer);
    connect(EditPesqComp, &QLineEdit::textChanged, this, &TFormSelvarra::EditPesqCompChange);
    connect(EditPesqCod, &QLineEdit::textChanged, this, &TFormSelvarra::EditPesqCodChange);
    connect(DBLCB1, &QComboBox::activated, this, &TFormSelvarra::DBLCB1Change);
    new ModelBoxGuard(DBLCB1);
    EditPesqComp->installEventFilter(this);
    EditPesqCod->installEventFilter(this);

    for (QWidget *owner : {static_cast<QWidget *>(BotSelvarProdRev), static_cast<QWidget *>(mmo1)})
        connect(owner, &QWidget::customContextMenuRequested, this,
                [this, owner](const QPoint &at) { pm1->popup(owner->mapToGlobal(at)); });

    connectListHandlers();

    // Enter presses the button that has the focus, as Space does.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(true);

    // "Sair" is the cancel button of the window: Escape presses it; while a
    // list is built or labels are printed it cancels that instead.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("EscapeSair"));
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_jobRunning)
            CancelarClick();
        else if (m_mainActionsEnabled)
            BotSairClick(); // "Sair" itself lies disabled under the list panel
    });
}

void TFormSelvarra::connectCounter()
{
    using Input = Counter::Input;
    m_counter->setClassifier([this](QObject *watched, QEvent *event) -> std::optional<Input> {
        if (!isClerkInput(event))
            return std::nullopt;
        if (watched == EditPesqComp || watched == EditPesqCod)
            return onlyEditsText(event) ? Input::SearchText : Input::SearchKey;
        if (watched == EditEtiqInic)
            return Input::StartLabel;
        if (watched == DBLCB1)
            return Input::ModelBox;
        if (auto *widget = qobject_cast<QWidget *>(watched); widget == DBGrid1 || DBGrid1->isAncestorOf(widget))
            return Input::Grid;
        return std::nullopt;
    });
    for (QWidget *control : {static_cast<QWidget *>(EditPesqComp), static_cast<QWidget *>(EditPesqCod),
                             static_cast<QWidget *>(EditEtiqInic), static_cast<QWidget *>(DBLCB1),
                             static_cast<QWidget *>(DBGrid1), DBGrid1->viewport(),
                             static_cast<QWidget *>(BotSairMontEtiq), static_cast<QWidget *>(btnEtiqSemPreco),
                             static_cast<QWidget *>(BotPrecosAlterados), static_cast<QWidget *>(BotHistorico)})
        if (control)
            m_counter->watch(control);
    connect(m_counter, &Counter::holdingChanged, this, &TFormSelvarra::showHolding);
    connect(m_counter, &Counter::refused, LabelPesquisa, &QLabel::setText);
}

// While input waits, the list says so: the clerk sees why the keys do not show yet.
void TFormSelvarra::showHolding(bool holding)
{
    if (holding) {
        PainelSelvarra->setCursor(Qt::BusyCursor);
        m_lineBeforeHolding = LabelPesquisa->text();
        LabelPesquisa->setText(CounterPolicy::holdingText());
        return;
    }
    PainelSelvarra->unsetCursor();
    if (LabelPesquisa->text() == CounterPolicy::holdingText())
        LabelPesquisa->setText(m_lineBeforeHolding);
}

void TFormSelvarra::attachDataModule(TDM *dm)
{
    if (DM) {
        DM->TabRev1Reread = nullptr;
        DM->TabRev1Write = nullptr;
    }
    delete m_jobWorker;
    m_jobWorker = nullptr;
    delete m_printFlow;
    m_printFlow = nullptr;
    RvSystem2 = nullptr;
    delete m_listFlow;
    m_listFlow = nullptr;
    delete m_listWrites;
    m_listWrites = nullptr;
    delete m_listReads;
    m_listReads = nullptr;
    DM = dm;
    DBGrid1Model->setDataSource(dm ? dm->DS_TabRev1 : nullptr);
    m_historyFlow->attach(nullptr, nullptr);
    if (!dm)
        return;
    m_listReads = new ListReads(*dm, this);
    m_historyFlow->attach(dm, m_listReads);
    m_jobWorker = new JobWorker(this);
    connect(this, &TFormSelvarra::jobCancelClicked, m_jobWorker, &JobWorker::cancel);
    m_listWrites = new ListWrites(*dm, this);
    m_listFlow = new ListFlow(*this, {*dm, *m_counter, *m_listReads, *m_listWrites, *m_jobWorker, *DBLCB1}, this);
    createPrintFlow();
}

// ---- What the flows show ----

QString TFormSelvarra::printLine() const
{
    return LabelImpressao->toolTip();
}

QString TFormSelvarra::startLabelText() const
{
    return EditEtiqInic->text();
}

void TFormSelvarra::setStartLabelText(const QString &text)
{
    EditEtiqInic->setText(text);
}

// ---- Start-up and closing ----

void TFormSelvarra::FormCreate()
{
    setColumnLists();
    resize(632, 438);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect centred(QPoint(), frameSize());
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
    guarded([] { LoadIniSettings(); });
}

void TFormSelvarra::WriteInUseStamp()
{
    InUseStamp::write(QDateTime::currentDateTime());
}

void TFormSelvarra::FormActivate()
{
    const bool done = guarded([this] {
        if (InUseStamp::needsRewrite(QDateTime::currentDateTime())) {
            WriteInUseStamp();
            Timer1->start();
        }
        PainelConsistG->setGeometry(rect());
        setTextColor(PainelConsistG, QPalette::Window, windowsColor(RunValues::ScreenColor, palette()));
        PainelConsistG->show();
        MarginsStep();
    });
    m_skipNextActivation = !done;
}

void TFormSelvarra::Timer1Timer()
{
    // A write that fails leaves the timer stopped, so a missing suite folder is
    // reported once, not every 30 seconds.
    guarded([this] {
        Timer1->stop();
        WriteInUseStamp();
        Timer1->start();
    });
}

void TFormSelvarra::FormClose()
{
    guarded([] { InUseStamp::remove(); });
}

void TFormSelvarra::BotSairClick()
{
    close();
}

void TFormSelvarra::resizeEvent(QResizeEvent *event)
{
    // The main panel fills the window, and the list panel, once shown, fills the main panel.
    PainelConsistG->setGeometry(rect());
    if (m_listPanelFills)
        PainelSelvarra->setGeometry(PainelConsistG->contentsRect());
    QWidget::resizeEvent(event);
}

bool TFormSelvarra::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        if (m_skipNextActivation)
            m_skipNextActivation = false;
        else
            FormActivate();
    }
    return QWidget::event(event);
}

void TFormSelvarra::closeEvent(QCloseEvent *event)
{
    // A job under way owns the data module until it ends; what the clerk
    // typed before closing goes first.
    if (!m_mainActionsEnabled || !m_counter->admit(Counter::Input::CloseWindow, [this] { close(); })
        || !m_handOverFlow->mayClose()) {
        event->ignore();
        return;
    }
    // What is typed in the list is stored before the program ends.
    if (m_listFlow && !m_listFlow->windowMayClose([this] { close(); })) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TFormSelvarra::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PainelSelvarra && event->type() == QEvent::Resize)
        placeTitleBar();
    if (watched == PainelConsistG && event->type() == QEvent::Resize)
        PainelBotoes->setGeometry(PainelConsistG->rect());
    // Whoever shows or hides the list panel, the layer under it follows.
    // The list panel looks for a rest to offer each time it is shown: at start-up
    // the station, and so its work folder, is known only later.
    if (watched == PainelSelvarra && event->type() == QEvent::Show && m_handOverFlow)
        m_handOverFlow->refreshOffer();
    if (watched == PainelSelvarra && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        PainelBotoes->setEnabled(event->type() == QEvent::Hide);
    if (event->type() == QEvent::ShortcutOverride && (watched == EditPesqComp || watched == EditPesqCod)) {
        // Escape in a box with text clears the box instead of closing the program.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && !static_cast<QLineEdit *>(watched)->text().isEmpty()) {
            key->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && (watched == EditPesqComp || watched == EditPesqCod)) {
        auto *key = static_cast<QKeyEvent *>(event);
        key->ignore();
        m_lastSearchBox = static_cast<QLineEdit *>(watched);
        if (watched == EditPesqComp)
            EditPesqCompKeyPress(key);
        else
            EditPesqCodKeyPress(key);
        if (key->isAccepted())
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Screen states ----

void TFormSelvarra::BitBtn14Click()
{
    if (BitBtn14->text() == showInstructionsCaption()) {
        Memo2->setGeometry(InstructionsBounds);
        BitBtn14->setText(HideInstructions);
        Memo2->show();
    } else {
        BitBtn14->setText(showInstructionsCaption());
        Memo2->hide();
    }
}

void TFormSelvarra::Visualizarmemo1Click()
{
    mmo1->setGeometry(BuildLogBounds);
    mmo1->show();
}

void TFormSelvarra::Fecharmemo1Click()
{
    mmo1->hide();
}

void TFormSelvarra::BotSairMontEtiqClick()
{
    if (!m_counter->admit(Counter::Input::CloseList, [this] { BotSairMontEtiqClick(); }))
        return;
    if (m_listFlow)
        m_listFlow->closeList();
    else
        PainelSelvarra->hide();
}

// ---- Services for the other operations ----

void TFormSelvarra::showListPanel()
{
    PainelSelvarra->setGeometry(ListPanelBounds);
    PainelSelvarra->setGeometry(PainelConsistG->contentsRect());
    m_listPanelFills = true;
    PainelSelvarra->show();
    focusGridQuantity();
}

void TFormSelvarra::focusGridQuantity()
{
    // Only moves the focus: whatever fails here must not spoil the operation that asked.
    try {
        DBGrid1->focusCurrentRow();
    } catch (...) {
    }
}

void TFormSelvarra::progressBegin(int steps)
{
    Painel1->begin(steps);
}

void TFormSelvarra::progressStep(const QString &itemText)
{
    Painel1->step(itemText);
}

void TFormSelvarra::progressEnd()
{
    Painel1->hide();
}

void TFormSelvarra::loadingBegin(int maximum)
{
    Gauge1->setRange(0, maximum);
    Gauge1->setValue(0);
    Label30->show();
    Gauge1->show();
    BotCancelarLista->show();
}

void TFormSelvarra::loadingSetValue(int value)
{
    Gauge1->setValue(value);
}

void TFormSelvarra::loadingEnd()
{
    Label30->hide();
    Gauge1->hide();
    BotCancelarLista->hide();
}

void TFormSelvarra::setMainActionsEnabled(bool enabled)
{
    m_mainActionsEnabled = enabled;
    for (QPushButton *action : {BotSelvarProdRev, btnConfigEtiq, BotSair, BitBtn14})
        action->setEnabled(enabled);
}

void TFormSelvarra::setJobRunning(bool running)
{
    m_jobRunning = running;
    m_jobCancelRequested = false;
}

void TFormSelvarra::CancelarClick()
{
    if (!m_jobRunning)
        return;
    m_jobCancelRequested = true;
    emit jobCancelClicked();
}
