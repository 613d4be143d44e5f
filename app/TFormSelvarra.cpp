#include "TFormSelvarra.h"

#include "Counter.h"
#include "HandOverFlow.h"
#include "HistoryFlow.h"
#include "JobWaitPanel.h"
#include "ListFlow.h"
#include "ListReads.h"
#include "ListWrites.h"
#include "JobWorker.h"
#include "JobWaitPanel.h"
#include "PrintFlow.h"

#include "ColumnLists.h"
#include "DataSetModel.h"
#include "IniSettings.h"
#include "InUseStamp.h"
#include "InstructionsText.h"
#include "RunValues.h"
#include "ScreenColor.h"
#include "TDM.h"
#include "ModelBoxGuard.h"
#include "PrintProgressPanel.h"
#include "WindowLook.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

using namespace WindowLook;

namespace {

const QString ShowInstructions = QStringLiteral("Ver instruções");
const QString HideInstructions = QStringLiteral("Fechar instruções");

const QRect ListPanelBounds(4, 5, 617, 397);
const QRect BuildLogBounds(23, 24, 586, 321);
const QRect InstructionsBounds(162, 15, 425, 383);
const int TitleBarHeight = 26;

} // namespace

TFormSelvarra::TFormSelvarra(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormSelvarra"));
    setWindowTitle(QStringLiteral("BOTICON - ETIQUETAS DE CODIGO DE BARRAS"));
    setFont(formFont());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(30000);

    buildMainPanel();
    buildListPanel();
    buildProgressPanel();
    buildHiddenControls();
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

void TFormSelvarra::buildMainPanel()
{
    PainelConsistG = makePanel(this, QStringLiteral("PainelConsistG"));
    // Everything of the main panel that the list panel covers lives in one
    // layer, which is disabled as a whole while the list panel covers it: no
    // Tab, Enter or mnemonic reaches a button the clerk cannot see.
    PainelBotoes = new QWidget(PainelConsistG);
    PainelBotoes->setObjectName(QStringLiteral("PainelBotoes"));
    PainelBotoes->setGeometry(PainelConsistG->rect());
    PainelConsistG->installEventFilter(this);

    BotSelvarProdRev = makeButton(PainelBotoes, QStringLiteral("BotSelvarProdRev"),
                                  QStringLiteral("Códigos de Barras de Produtos Prontos"), {17, 45, 509, 75}, Navy,
                                  QStyle::SP_FileDialogDetailedView);
    BotSelvarProdRev->setContextMenuPolicy(Qt::CustomContextMenu);
    btnConfigEtiq = makeButton(PainelBotoes, QStringLiteral("btnConfigEtiq"), QString(), {527, 45, 80, 75});
    BitBtn12 = makeButton(PainelBotoes, QStringLiteral("BitBtn12"), QStringLiteral("<Reservado>"), {17, 121, 509, 75},
                          Maroon, QStyle::SP_FileDialogInfoView);
    BitBtn13 = makeButton(PainelBotoes, QStringLiteral("BitBtn13"), QString(), {527, 121, 80, 75}, QColor(),
                          QStyle::SP_DriveFDIcon);
    BotSelvar = makeButton(PainelBotoes, QStringLiteral("BotSelvar"), QStringLiteral("Códigos de Barras Sequencial"),
                           {17, 197, 590, 75}, Teal, QStyle::SP_FileDialogListView);
    BotSair = makeButton(PainelBotoes, QStringLiteral("BotSair"), QStringLiteral("Sair"), {17, 273, 590, 76}, Red,
                         QStyle::SP_DialogCloseButton);
    for (QPushButton *stillDisabled : {BitBtn12, BitBtn13, BotSelvar})
        stillDisabled->setEnabled(false);

    BitBtn14 = new QPushButton(ShowInstructions, PainelBotoes);
    BitBtn14->setObjectName(QStringLiteral("BitBtn14"));
    BitBtn14->setGeometry(18, 352, 111, 22);

    Gauge1 = new QProgressBar(PainelBotoes);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(134, 353, 471, 20);
    setTextColor(Gauge1, QPalette::Highlight, Navy);
    Gauge1->hide();

    Label30 = makeLabel(PainelBotoes, QStringLiteral("Label30"), QStringLiteral("Lendo banco de dados. Por favor aguarde..."),
                        {188, 374}, Navy, QFont(QStringLiteral("Arial Rounded MT Bold"), 12));
    Label30->hide();
    BotCancelarLista = makeButton(PainelBotoes, QStringLiteral("BotCancelarLista"), QStringLiteral("Cancelar"),
                                  {530, 376, 75, 22});
    BotCancelarLista->hide();

    mmo1 = new QPlainTextEdit(QStringLiteral("mmo1"), PainelConsistG);
    mmo1->setObjectName(QStringLiteral("mmo1"));
    mmo1->setFrameShape(QFrame::NoFrame);
    mmo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmo1->setContextMenuPolicy(Qt::CustomContextMenu);
    mmo1->setGeometry(BuildLogBounds);
    mmo1->hide();

    Memo2 = makeInstructionsMemo(PainelConsistG, InstructionsBounds);

    pm1 = new QMenu(this);
    pm1->setObjectName(QStringLiteral("pm1"));
    Visualizarmemo1 = pm1->addAction(QStringLiteral("Visualizar memo"));
    Visualizarmemo1->setObjectName(QStringLiteral("Visualizarmemo1"));
    Fecharmemo1 = pm1->addAction(QStringLiteral("Fechar memo"));
    Fecharmemo1->setObjectName(QStringLiteral("Fecharmemo1"));
}

void TFormSelvarra::buildListPanel()
{
    PainelSelvarra = makePanel(PainelConsistG, QStringLiteral("PainelSelvarra"));
    PainelSelvarra->setGeometry(ListPanelBounds);
    PainelSelvarra->hide();

    Panel1 = new QLabel(QStringLiteral("Etiquetas de Código de Barras"), PainelSelvarra);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setAutoFillBackground(true);
    setTextColor(Panel1, QPalette::Window, Navy);
    setTextColor(Panel1, QPalette::WindowText, Qt::white);
    QFont bold = Panel1->font();
    bold.setBold(true);
    Panel1->setFont(bold);
    // The title bar spans the panel inside its bevel, whatever size the panel takes.
    PainelSelvarra->installEventFilter(this);
    placeTitleBar();

    lbl2 = makeLabel(PainelSelvarra, QStringLiteral("lbl2"), QStringLiteral("Selecione o tipo de impressora e de etiqueta"),
                     {11, 32}, Navy, boldFont());

    DBLCB1 = new QComboBox(PainelSelvarra);
    DBLCB1->setObjectName(QStringLiteral("DBLCB1"));
    DBLCB1->setGeometry(9, 48, 289, 21);

    BotSairMontEtiq = makeButton(PainelSelvarra, QStringLiteral("BotSairMontEtiq"), QStringLiteral("Fech&ar"),
                                 {516, 40, 90, 25}, Maroon, QStyle::SP_DialogCancelButton);
    btnEtiqSemPreco = makeButton(PainelSelvarra, QStringLiteral("btnEtiqSemPreco"), QStringLiteral("Etiquetas com preços"),
                                 {10, 72, 160, 25}, QColor(), QStyle::SP_FileDialogContentsView);
    BitBtn2 = makeButton(PainelSelvarra, QStringLiteral("BitBtn2"), QStringLiteral("Etiquetas sem preços"),
                         {170, 72, 160, 25}, QColor(), QStyle::SP_FileIcon);
    BitBtn2->setEnabled(false);

    SpeedButton1 = new QToolButton(PainelSelvarra);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    SpeedButton1->setGeometry(299, 48, 32, 22);
    SpeedButton1->setEnabled(false);

    Label6 = makeLabel(PainelSelvarra, QStringLiteral("Label6"), QStringLiteral("Etiq. Inicial"), {10, 103}, Navy, boldFont());
    EditEtiqInic = makeEdit(PainelSelvarra, QStringLiteral("EditEtiqInic"), {9, 119, 76, 24});
    Label4 = makeLabel(PainelSelvarra, QStringLiteral("Label4"), QStringLiteral("Localizar Componente"), {90, 103}, Navy,
                       boldFont());
    EditPesqComp = makeEdit(PainelSelvarra, QStringLiteral("EditPesqComp"), {89, 119, 240, 24});
    Label5 = makeLabel(PainelSelvarra, QStringLiteral("Label5"), QStringLiteral("Localizar Código"), {334, 103}, Navy,
                       boldFont());
    EditPesqCod = makeEdit(PainelSelvarra, QStringLiteral("EditPesqCod"), {333, 119, 196, 24});

    // The grid leaves one line under the search boxes for what a search did
    // not find; it still ends where the suite's grid ends.
    LabelPesquisa = makeLabel(PainelSelvarra, QStringLiteral("LabelPesquisa"), QString(), {9, 145}, Maroon, boldFont());
    LabelPesquisa->setGeometry(9, 145, 603, 14);
    DBGrid1 = new QTableView(PainelSelvarra);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(9, 160, 603, 232);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                             | QAbstractItemView::EditKeyPressed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(18);
    DBGrid1Model = new DataSetModel(this);
    DBGrid1Model->setObjectName(QStringLiteral("DBGrid1Model"));
    DBGrid1Model->setColumns({
        {QStringLiteral("Qtde."), QStringLiteral("QDE"), 32, false},
        {QStringLiteral("Produto"), QStringLiteral("COMPONENTE"), 241, true},
        {QStringLiteral("Código EAN"), QStringLiteral("CODIGOEAN"), 194, false},
        {QStringLiteral("Preço"), QStringLiteral("PRECO1"), 64, false},
    });
    DBGrid1->setModel(DBGrid1Model);
    // Under the grid, as a status line: what the last print did on the left,
    // what the list will print on the right.
    LabelImpressao = makeLabel(PainelSelvarra, QStringLiteral("LabelImpressao"), QString(), {9, 395}, Navy, boldFont());
    LabelImpressao->setGeometry(9, 395, 390, 16);
    LabelTotais = makeLabel(PainelSelvarra, QStringLiteral("LabelTotais"), QString(), {405, 395}, Navy, boldFont());
    LabelTotais->setGeometry(405, 395, 207, 16);
    LabelTotais->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int c = 0; c < DBGrid1Model->columns().size(); ++c)
        DBGrid1->horizontalHeader()->resizeSection(c, DBGrid1Model->columns()[c].width);
    // The grid's current row is the data set's current row: moving off an edited
    // row posts it, and a cursor moved by code shows in the grid.
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, DBGrid1Model,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    DBGrid1Model->setCurrentRow(current.row());
            });
    connect(DBGrid1Model, &DataSetModel::currentRowChanged, DBGrid1, [this](int row) {
        const QModelIndex current = DBGrid1->currentIndex();
        if (row >= 0 && row < DBGrid1Model->rowCount() && current.row() != row)
            DBGrid1->setCurrentIndex(DBGrid1Model->index(row, current.isValid() ? current.column() : 0));
    });
}

void TFormSelvarra::buildProgressPanel()
{
    Painel1 = new PrintProgressPanel(PainelSelvarra);
    Label3 = Painel1->title;
    Pizza = Painel1->gauge;
    LabelArq = Painel1->item;
    BotCancelarImpressao = Painel1->cancel;
}

void TFormSelvarra::buildHiddenControls()
{
    // Controls of the suite's form that no operation of this program shows; they
    // are kept so the form holds what the suite's form holds.
    for (const char *name : {"btnEtiqPreco", "BitBtn7", "BitBtn8", "BitBtn9", "BitBtn10", "BotFiltraPeriodo",
                             "BotFiltraTodos"})
        makeHidden<QPushButton>(PainelSelvarra, name);
    makeHidden<QPlainTextEdit>(PainelSelvarra, "Memo1");
    for (const char *name : {"GroupBox1", "GroupBox2", "Panel2", "PainelPeriodo"})
        makeHidden<QFrame>(PainelSelvarra, name);
    makeHidden<QFrame>(PainelBotoes, "PainelSeqNum");
    makeHidden<QFrame>(this, "PainelLogin");
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

void TFormSelvarra::placeTitleBar()
{
    const QRect inside = PainelSelvarra->contentsRect();
    Panel1->setGeometry(inside.left(), inside.top(), inside.width(), TitleBarHeight);
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
    if (BitBtn14->text() == ShowInstructions) {
        Memo2->setGeometry(InstructionsBounds);
        BitBtn14->setText(HideInstructions);
        Memo2->show();
    } else {
        BitBtn14->setText(ShowInstructions);
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
        DBGrid1->viewport()->update();
        const int row = DBGrid1Model->dataSet() && DBGrid1Model->dataSet()->Active()
                            ? DBGrid1Model->dataSet()->RecNo() - 1
                            : -1;
        if (row >= 0)
            DBGrid1->setCurrentIndex(DBGrid1Model->index(row, 0));
        DBGrid1->setFocus();
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

void TFormSelvarra::logClear()
{
    mmo1->clear();
}

void TFormSelvarra::logAppend(const QString &line)
{
    mmo1->appendPlainText(line);
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
