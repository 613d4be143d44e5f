#include "DesignerWindow.h"

#include "DrawnElementFactory.h"
#include "ElementPlacement.h"

#include "DesignDocument.h"
#include "FormFields.h"
#include "GuideWindow.h"
#include "LabelCanvas.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "ReloadDialog.h"
#include "ReportModal.h"
#include "SuitePaths.h"
#include "NewReportDialogs.h"
#include "ModelTies.h"
#include "ModelsBox.h"
#include "EtiqparPanel.h"
#include "StationBatchFile.h"
#include "ProjectWriter.h"
#include "PropertiesPanel.h"
#include "ReportSettingsDialog.h"
#include "Ruler.h"
#include "SheetDocument.h"
#include "SuiteData.h"
#include "ThermalPreviewDialog.h"
#include "ThermalReportFiles.h"
#include "TRvSystem.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

// Enough for a thermal row across and a few labels of a sheet.
const int ProductsShown = 12;

QString reportLine(const SheetReport &report)
{
    QString kind;
    if (report.thermal) {
        kind = QStringLiteral("térmico %1 %2 dpi")
                   .arg(report.thermal->language == PrinterLanguage::Zpl ? QStringLiteral("ZPL") : QStringLiteral("EPL2"))
                   .arg(report.thermal->dpi);
    } else {
        kind = QStringLiteral("folha");
    }
    QString line = QStringLiteral("%1 (%2)").arg(report.name, kind);
    if (!report.modelPrefixes.isEmpty())
        line += QStringLiteral(" — modelos: ") + report.modelPrefixes.join(QStringLiteral(", "));
    return line;
}

bool nameTaken(const DesignDocument &document, const QString &name)
{
    for (int row = 0; row < document.reportCount(); ++row) {
        if (document.reportAt(row).name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The list's line for a report, as edited.
QString editedLine(const DesignDocument &document, int row)
{
    QString line = reportLine(document.reportAt(row));
    if (row == document.activeRow())
        line += QStringLiteral(" — ativo");
    if (document.isNewReportAt(row))
        return line + QStringLiteral(" — novo, não gravado");
    return document.isEditedAt(row) ? line + QStringLiteral(" — alterado") : line;
}

} // namespace

DesignerWindow::~DesignerWindow()
{
    // The document and its undo stack outlive this body (children go after
    // it); what they would say from now on would reach a window half gone.
    m_document->blockSignals(true);
    m_document->undoStack()->blockSignals(true);
    // The read of the suite's products, waited for a bounded time, hands nothing to a window gone.
    delete m_suiteReader;
}

DesignerWindow::DesignerWindow(QWidget *parent)
    : QMainWindow(parent), m_document(new DesignDocument(this)), m_canvas(new LabelCanvas(m_document)),
      m_handOver(new PrintHandOver(this))
{
    setObjectName(QStringLiteral("FormDesigner"));
    setWindowTitle(QStringLiteral("Editor de etiquetas"));

    auto *centre = new QWidget;
    auto *grid = new QGridLayout(centre);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new Ruler(Qt::Horizontal, m_canvas), 0, 1);
    grid->addWidget(new Ruler(Qt::Vertical, m_canvas), 1, 0);
    grid->addWidget(m_canvas, 1, 1);
    ListaAvisos = new QListWidget;
    ListaAvisos->setObjectName(QStringLiteral("ListaAvisos"));
    ListaAvisos->setMaximumHeight(120);
    ListaAvisos->setWordWrap(true);
    grid->addWidget(ListaAvisos, 2, 0, 1, 2);
    setCentralWidget(centre);

    auto *left = new QWidget;
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(new QLabel(QStringLiteral("Relatórios:")));
    ListaRelatorios = new QListWidget;
    ListaRelatorios->setObjectName(QStringLiteral("ListaRelatorios"));
    // A long line wraps: its "alterado" or "novo, não gravado" at the end stays in sight.
    ListaRelatorios->setWordWrap(true);
    ListaRelatorios->setTextElideMode(Qt::ElideNone);
    leftLayout->addWidget(ListaRelatorios, 1);
    PainelModelos = new ModelsBox;
    EditModelos = PainelModelos->EditModelos;
    LabelModelosGravados = PainelModelos->LabelModelosGravados;
    leftLayout->addWidget(PainelModelos);
    PainelModelosBanco = new EtiqparPanel(m_document);
    leftLayout->addWidget(PainelModelosBanco);
    LabelFalhas = new QLabel;
    LabelFalhas->setObjectName(QStringLiteral("LabelFalhas"));
    LabelFalhas->setWordWrap(true);
    LabelFalhas->setStyleSheet(QStringLiteral("color: #b00000"));
    leftLayout->addWidget(LabelFalhas);
    auto *leftDock = new QDockWidget(QStringLiteral("Projeto"));
    leftDock->setObjectName(QStringLiteral("PainelProjeto"));
    leftDock->setWidget(left);
    leftDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    addDockWidget(Qt::LeftDockWidgetArea, leftDock);

    Propriedades = new PropertiesPanel(m_document, m_canvas);
    auto *rightDock = new QDockWidget(QStringLiteral("Propriedades"));
    rightDock->setObjectName(QStringLiteral("PainelPropriedades"));
    rightDock->setWidget(Propriedades);
    rightDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    addDockWidget(Qt::RightDockWidgetArea, rightDock);

    buildActions();
    // Every report keeps its edits in the one document: another report is just another view.
    connect(ListaRelatorios, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_document->selectReport(row);
    });
    connect(ListaRelatorios, &QListWidget::itemDoubleClicked, this, &DesignerWindow::BotConfigurarClick);
    connect(PainelModelos, &ModelsBox::modelsTyped, this, &DesignerWindow::applyModels);
    // Ctrl+S with the cursor still in the box saves what it holds.
    connect(PainelModelos, &ModelsBox::typing, this, [this] { ActSalvar->setEnabled(true); });
    connect(m_document, &DesignDocument::projectChanged, this, &DesignerWindow::showProject);
    connect(m_document, &DesignDocument::reportChanged, this, &DesignerWindow::showReport);
    connect(m_canvas, &LabelCanvas::warningsChanged, this, &DesignerWindow::showWarnings);
    connect(m_handOver, &PrintHandOver::jobFailed, this, [this](const QString &message, int) {
        m_testFailed = true;
        Messages::show(message + QStringLiteral("\n\nNo próximo teste, confira a pasta da estação e a impressora."));
    });
    connect(m_handOver, &PrintHandOver::jobHandedOver, this,
            [this](int labels) { statusBar()->showMessage(QStringLiteral("Teste enviado: %1 etiqueta(s).").arg(labels), 8000); });
    connect(m_canvas, &LabelCanvas::zoomChanged, this, [this](int percent) {
        const QSignalBlocker block(ComboZoom);
        ComboZoom->setCurrentText(QStringLiteral("%1 %").arg(percent));
    });
    resize(1200, 760);
    showProject();
    showWarnings();

    // The samples until the suite's own products arrive, if they do.
    LabelProdutos = new QLabel(QStringLiteral("Produtos de exemplo"));
    LabelProdutos->setObjectName(QStringLiteral("LabelProdutos"));
    statusBar()->addPermanentWidget(LabelProdutos);
    m_suiteReader = startSuiteDataRead(this, ProductsShown, [this](const SuiteData &data) { useSuiteData(data); });
}

void DesignerWindow::useSuiteData(const SuiteData &data)
{
    PainelModelosBanco->setDatabase(data.database, data.problem);
    if (!data.products.isEmpty()) {
        m_canvas->setRecords(data.products);
        LabelProdutos->setText(QStringLiteral("Produtos do banco de dados"));
    } else {
        LabelProdutos->setText(QStringLiteral("Produtos de exemplo (%1)").arg(data.problem));
    }
    if (!data.stationFolder.isEmpty() && StationFolder.isEmpty()) {
        StationFolder = data.stationFolder;
        StationPrinter = data.stationPrinter;
    }
}

void DesignerWindow::buildActions()
{
    QToolBar *bar = addToolBar(QStringLiteral("Etiqueta"));
    bar->setObjectName(QStringLiteral("BarraEtiqueta"));
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Editar"));
    QMenu *layout = menuBar()->addMenu(QStringLiteral("&Alinhar"));

    const auto action = [this](QMenu *menu, const QString &name, const QString &text, const QKeySequence &keys, auto slot) {
        auto *a = new QAction(text, this);
        a->setObjectName(name);
        a->setShortcut(keys);
        menu->addAction(a);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    bar->addAction(action(file, QStringLiteral("ActAbrir"), QStringLiteral("Abrir..."), QKeySequence::Open, [this] { BotAbrirClick(); }));
    ActSalvar = action(file, QStringLiteral("ActSalvar"), QStringLiteral("Salvar"), QKeySequence::Save, [this] { BotSalvarClick(); });
    bar->addAction(ActSalvar);
    action(file, QStringLiteral("ActRecarregar"), QStringLiteral("Recarregar do disco"), QKeySequence(), [this] { BotRecarregarClick(); });
    action(file, QStringLiteral("ActSalvarComo"), QStringLiteral("Salvar como…"), QKeySequence::SaveAs, [this] { BotSalvarComoClick(); });
    bar->addAction(action(file, QStringLiteral("ActNovaFolha"), QStringLiteral("Novo relatório de folha..."), QKeySequence(),
                          [this] { BotNovaFolhaClick(); }));
    bar->addAction(action(file, QStringLiteral("ActNovoTermico"), QStringLiteral("Novo relatório térmico..."), QKeySequence(),
                          [this] { BotNovoTermicoClick(); }));
    QAction *settings = action(file, QStringLiteral("ActConfigurar"), QStringLiteral("Configurações do relatório..."), QKeySequence(),
                               [this] { BotConfigurarClick(); });
    settings->setIconText(QStringLiteral("Relatório..."));
    bar->addAction(settings);
    file->addSeparator();
    bar->addAction(action(file, QStringLiteral("ActImprimirTeste"), QStringLiteral("Imprimir teste"), QKeySequence(Qt::CTRL | Qt::Key_P),
                          [this] { BotImprimirTesteClick(); }));
    file->addSeparator();
    action(file, QStringLiteral("ActUsarRelatorio"), QStringLiteral("Usar este relatório"), QKeySequence(), [this] { BotUsarRelatorioClick(); })
        ->setToolTip(QStringLiteral("O relatório ativo do projeto imprime as folhas dos modelos que nenhum relatório lista."));
    action(file, QStringLiteral("ActDuplicarRelatorio"), QStringLiteral("Duplicar relatório"), QKeySequence(), [this] { BotDuplicarRelatorioClick(); });
    action(file, QStringLiteral("ActExcluirRelatorio"), QStringLiteral("Excluir relatório…"), QKeySequence(), [this] { BotExcluirRelatorioClick(); });
    action(file, QStringLiteral("ActUsarModelos"), QStringLiteral("Imprimir os modelos deste relatório com ele"), QKeySequence(),
           [this] { BotUsarModelosClick(); });
    action(file, QStringLiteral("ActCalibrar"), QStringLiteral("Calibrar deslocamento..."), QKeySequence(), [this] { BotCalibrarClick(); });
    file->addSeparator();
    action(file, QStringLiteral("ActSair"), QStringLiteral("Sair"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    ActDesfazer = m_document->undoStack()->createUndoAction(this, QStringLiteral("Desfazer"));
    ActDesfazer->setObjectName(QStringLiteral("ActDesfazer"));
    ActDesfazer->setShortcut(QKeySequence::Undo);
    ActRefazer = m_document->undoStack()->createRedoAction(this, QStringLiteral("Refazer"));
    ActRefazer->setObjectName(QStringLiteral("ActRefazer"));
    ActRefazer->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // The menu names the step ("Desfazer Mover"); the toolbar keeps one short word.
    ActDesfazer->setIconText(QStringLiteral("Desfazer"));
    ActRefazer->setIconText(QStringLiteral("Refazer"));
    edit->addAction(ActDesfazer);
    edit->addAction(ActRefazer);
    bar->addSeparator();
    bar->addAction(ActDesfazer);
    bar->addAction(ActRefazer);
    // What each button does, with its keys, for the manager who hovers before clicking.
    const QList<std::pair<QString, QString>> tips = {
        {QStringLiteral("ActAbrir"), QStringLiteral("Abrir outro projeto de etiquetas (Selvar.rav)")},
        {QStringLiteral("ActSalvar"), QStringLiteral("Gravar no projeto os relatórios alterados")},
        {QStringLiteral("ActNovaFolha"), QStringLiteral("Começar um relatório para folhas de etiquetas (A4, A5, Carta)")},
        {QStringLiteral("ActNovoTermico"), QStringLiteral("Começar um relatório para uma impressora térmica de rolo")},
        {QStringLiteral("ActConfigurar"), QStringLiteral("Nome, etiqueta, folha ou rolo e impressora deste relatório")},
        {QStringLiteral("ActImprimirTeste"), QStringLiteral("Imprimir um teste deste relatório com os produtos mostrados")},
        {QStringLiteral("ActDesfazer"), QStringLiteral("Desfazer o último passo")},
        {QStringLiteral("ActRefazer"), QStringLiteral("Refazer o passo desfeito")},
    };
    for (const auto &[name, tip] : tips) {
        QAction *a = findChild<QAction *>(name);
        a->setToolTip(a->shortcut().isEmpty() ? tip : QStringLiteral("%1 (%2)").arg(tip, a->shortcut().toString(QKeySequence::NativeText)));
    }
    edit->addSeparator();
    ActCopiar = action(edit, QStringLiteral("ActCopiar"), QStringLiteral("Copiar"), QKeySequence::Copy, [this] { copySelection(); });
    ActColar = action(edit, QStringLiteral("ActColar"), QStringLiteral("Colar"), QKeySequence::Paste, [this] { paste(); });
    ActDuplicar = action(edit, QStringLiteral("ActDuplicar"), QStringLiteral("Duplicar"), QKeySequence(Qt::CTRL | Qt::Key_D),
                         [this] { duplicate(); });
    ActExcluir = action(edit, QStringLiteral("ActExcluir"), QStringLiteral("Excluir"), QKeySequence::Delete, [this] { deleteSelection(); });
    edit->addSeparator();
    bar->addSeparator();
    const QList<std::tuple<CellElement::Kind, QString, QString>> kinds = {
        {CellElement::Kind::Field, QStringLiteral("Campo"), QStringLiteral("Um dado do produto: o nome, o código ou o EAN")},
        {CellElement::Kind::Price, QStringLiteral("Preço"), QStringLiteral("O preço do produto, no formato escolhido nas propriedades")},
        {CellElement::Kind::Text, QStringLiteral("Texto"), QStringLiteral("Um texto fixo, igual em todas as etiquetas")},
        {CellElement::Kind::Barcode, QStringLiteral("Código de barras"), QStringLiteral("O código de barras do produto, com os dígitos embaixo")},
    };
    // The new elements on a row of their own: at the window's first size every one shows, none behind "»".
    addToolBarBreak();
    QToolBar *elements = addToolBar(QStringLiteral("Elementos"));
    elements->setObjectName(QStringLiteral("BarraElementos"));
    for (const auto &[kind, text, tip] : kinds) {
        elements->addAction(action(edit, QStringLiteral("ActNovo") + QString(text).remove(QLatin1Char(' ')).replace(QStringLiteral("ç"), QStringLiteral("c")),
                                   QStringLiteral("+ ") + text, QKeySequence(), [this, kind = kind] { addElement(kind); }));
        elements->actions().last()->setToolTip(tip);
    }
    for (const DrawnElementButton &button : drawnElementButtons()) {
        elements->addAction(action(edit, button.objectName, QStringLiteral("+ ") + button.text, QKeySequence(), [this, kind = button.kind] { addElement(kind); }));
        elements->actions().last()->setToolTip(button.toolTip);
    }

    const QList<std::tuple<QString, QString, AlignEdge>> edges = {
        {QStringLiteral("ActAlinharEsquerda"), QStringLiteral("À esquerda"), AlignEdge::Left},
        {QStringLiteral("ActAlinharDireita"), QStringLiteral("À direita"), AlignEdge::Right},
        {QStringLiteral("ActAlinharTopo"), QStringLiteral("Em cima"), AlignEdge::Top},
        {QStringLiteral("ActAlinharBase"), QStringLiteral("Embaixo"), AlignEdge::Bottom},
        {QStringLiteral("ActCentrarHorizontal"), QStringLiteral("Centros na horizontal"), AlignEdge::HorizontalCentre},
        {QStringLiteral("ActCentrarVertical"), QStringLiteral("Centros na vertical"), AlignEdge::VerticalCentre},
    };
    for (const auto &[name, text, edge] : edges)
        action(layout, name, text, QKeySequence(), [this, edge = edge] { align(edge); });
    auto *toLabel = new QAction(QStringLiteral("Em relação à etiqueta"), this);
    toLabel->setObjectName(QStringLiteral("ActAlinharEtiqueta"));
    toLabel->setCheckable(true);
    connect(toLabel, &QAction::toggled, this, [this](bool on) { m_toLabel = on; });
    layout->addAction(toLabel);
    layout->addSeparator();
    action(layout, QStringLiteral("ActDistribuirHorizontal"), QStringLiteral("Distribuir na horizontal"), QKeySequence(),
           [this] { distribute(Qt::Horizontal); });
    action(layout, QStringLiteral("ActDistribuirVertical"), QStringLiteral("Distribuir na vertical"), QKeySequence(),
           [this] { distribute(Qt::Vertical); });

    // The zoom lives in the status bar and in its menu, where a narrow window never hides it.
    QMenu *view = menuBar()->addMenu(QStringLiteral("E&xibir"));
    action(view, QStringLiteral("ActAmpliar"), QStringLiteral("Ampliar"), QKeySequence(Qt::CTRL | Qt::Key_Plus),
           [this] { m_canvas->setZoom(m_canvas->zoom() * 5 / 4); })
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    action(view, QStringLiteral("ActReduzir"), QStringLiteral("Reduzir"), QKeySequence(Qt::CTRL | Qt::Key_Minus),
           [this] { m_canvas->setZoom(m_canvas->zoom() * 4 / 5); });
    QAction *fit = action(view, QStringLiteral("ActAjustar"), QStringLiteral("Ajustar à janela"), QKeySequence(Qt::CTRL | Qt::Key_0),
                          [this] { m_canvas->fitToWindow(); });
    ComboZoom = new QComboBox;
    ComboZoom->setObjectName(QStringLiteral("ComboZoom"));
    ComboZoom->setEditable(true);
    for (const int percent : {50, 100, 150, 200, 300, 400, 600, 800})
        ComboZoom->addItem(QStringLiteral("%1 %").arg(percent), percent);
    ComboZoom->setCurrentText(QStringLiteral("100 %"));
    connect(ComboZoom, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        bool ok = false;
        const int percent = QString(text).remove(QLatin1Char('%')).trimmed().toInt(&ok);
        if (ok)
            m_canvas->setZoom(percent);
    });
    QMenu *help = menuBar()->addMenu(QStringLiteral("A&juda"));
    action(help, QStringLiteral("ActGuia"), QStringLiteral("Guia de etiquetas"), QKeySequence::HelpContents, [this] { showGuide(); })
        ->setToolTip(QStringLiteral("O guia, aberto na parte sobre o elemento escolhido"));

    auto *fitButton = new QToolButton;
    fitButton->setObjectName(QStringLiteral("BotAjustar"));
    fitButton->setDefaultAction(fit);
    fitButton->setText(QStringLiteral("Ajustar"));
    statusBar()->addPermanentWidget(new QLabel(QStringLiteral("Zoom:")));
    statusBar()->addPermanentWidget(ComboZoom);
    statusBar()->addPermanentWidget(fitButton);
}

void DesignerWindow::showGuide()
{
    if (!m_guide)
        m_guide = new GuideWindow(this);
    const QList<int> selection = m_canvas->selectedElements();
    const SheetReport *report = m_document->hasReport() ? &m_document->report() : nullptr;
    const CellElement *selected = report && !selection.isEmpty() ? &report->elements[selection.first()] : nullptr;
    m_guide->show();
    m_guide->raise();
    m_guide->showSection(guideSection(report, selected));
}

bool DesignerWindow::openProject(const QString &path)
{
    if (!settleChanges())
        return false;
    QString error;
    if (!m_document->open(path, &error)) {
        Messages::show(error);
        return false;
    }
    if (!QFileInfo::exists(path)) {
        Messages::show(QStringLiteral("O projeto \"%1\" não existe. O editor começa um projeto vazio: faça um relatório "
                                      "(Arquivo → Novo relatório) e grave-o; \"Salvar como…\" grava em outro lugar.")
                           .arg(path));
    }
    return true;
}

void DesignerWindow::showProject()
{
    const QSignalBlocker block(ListaRelatorios);
    ListaRelatorios->clear();
    for (int row = 0; row < m_document->reportCount(); ++row)
        ListaRelatorios->addItem(editedLine(*m_document, row));
    ListaRelatorios->setCurrentRow(m_document->currentIndex());
    LabelFalhas->setText(m_document->fileFault());
    // The program's name follows the file's in the title bar (the application's display name).
    setWindowTitle(QStringLiteral("%1[*]").arg(m_document->path()));
}

void DesignerWindow::showReport()
{
    PainelModelos->showModels(m_document->hasReport() ? m_document->report().modelPrefixes : QStringList(), m_document->hasReport(),
                              m_document->hasReport() && m_document->report().thermal.has_value());
    ActSalvar->setEnabled(m_document->isModified());
    setWindowModified(m_document->isModified());
    // A rename shows in the list at once, saved or not.
    if (QListWidgetItem *item = ListaRelatorios->item(m_document->currentIndex()))
        item->setText(editedLine(*m_document, m_document->currentIndex()));
}

void DesignerWindow::showWarnings()
{
    ListaAvisos->clear();
    for (const ModelTie &tie : currentTies()) {
        if (m_document->hasReport() && (tie.unused == m_document->report().name || tie.printed == m_document->report().name))
            ListaAvisos->addItem(tieWarning(tie));
    }
    ListaAvisos->addItems(m_canvas->warnings());
    if (ListaAvisos->count() == 0 && m_document->hasReport())
        ListaAvisos->addItem(QStringLiteral("Nada a corrigir: a etiqueta imprime como mostrada."));
}

void DesignerWindow::applyModels(const QStringList &prefixes)
{
    if (!m_document->hasReport() || prefixes == m_document->report().modelPrefixes)
        return;
    SheetReport after = m_document->report();
    after.modelPrefixes = prefixes;
    m_document->edit(after, QStringLiteral("Modelos"));
    offerModelsToThisReport();
}

QList<std::pair<int, SheetReport>> DesignerWindow::reportsTakingModels() const
{
    // Every other report of the same kind giving up the models this one lists.
    const SheetReport &current = m_document->report();
    QList<std::pair<int, SheetReport>> changes;
    for (int row = 0; row < m_document->reportCount(); ++row) {
        if (row == m_document->currentIndex() || m_document->reportAt(row).thermal.has_value() != current.thermal.has_value())
            continue;
        SheetReport other = m_document->reportAt(row);
        const qsizetype before = other.modelPrefixes.size();
        other.modelPrefixes.removeIf([&](const QString &model) { return current.modelPrefixes.contains(model); });
        if (other.modelPrefixes.size() != before)
            changes.append({row, other});
    }
    return changes;
}

void DesignerWindow::offerModelsToThisReport()
{
    QStringList tied;
    for (const ModelTie &tie : currentTies()) {
        if (tie.unused == m_document->report().name)
            tied << QStringLiteral("\"%1\" (hoje imprime \"%2\")").arg(tie.model, tie.printed);
    }
    if (tied.isEmpty())
        return;
    if (Messages::ask(QStringLiteral("O relatório \"%1\" serve modelos que outro relatório já serve: %2. Só o primeiro do projeto imprime.\n\n"
                                     "Tirar esses modelos dos outros relatórios, para que \"%1\" os imprima?")
                          .arg(m_document->report().name, tied.join(QStringLiteral(", ")))))
        BotUsarModelosClick();
}

QList<ModelTie> DesignerWindow::currentTies() const
{
    QList<SheetReport> reports;
    for (int row = 0; row < m_document->reportCount(); ++row)
        reports << m_document->reportAt(row);
    return modelTies(reports);
}

void DesignerWindow::BotUsarModelosClick()
{
    if (!m_document->hasReport())
        return;
    QList<std::pair<int, SheetReport>> changes = reportsTakingModels();
    if (!changes.isEmpty())
        m_document->editReports(changes, QStringLiteral("Modelos para \"%1\"").arg(m_document->report().name));
}

bool DesignerWindow::settleChanges()
{
    // Models typed and not yet taken (the box still has the cursor) are an edit too.
    if (!PainelModelos->commit())
        return false;
    if (!m_document->isModified())
        return true;
    QStringList edited;
    for (int row = 0; row < m_document->reportCount(); ++row) {
        if (m_document->isEditedAt(row))
            edited << QStringLiteral("\"%1\"").arg(m_document->reportAt(row).name);
    }
    const QString what = edited.isEmpty() ? QStringLiteral("O projeto tem alterações não gravadas.")
                         : edited.size() == 1 ? QStringLiteral("O relatório %1 tem alterações não gravadas.").arg(edited.first())
                                              : QStringLiteral("Os relatórios %1 têm alterações não gravadas.").arg(edited.join(QStringLiteral(", ")));
    switch (Messages::askSave(what + QStringLiteral("\n\nSalvar antes de continuar?"))) {
    case Messages::Choice::Save:
        return BotSalvarClick();
    case Messages::Choice::Discard:
        return true;
    case Messages::Choice::Cancel:
        break;
    }
    return false;
}

void DesignerWindow::BotAbrirClick()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir projeto de etiquetas"), m_document->path(),
                                                      QStringLiteral("Projetos de relatório (*.rav *.RAV);;Todos os arquivos (*)"));
    if (!path.isEmpty())
        openProject(path);
}

bool DesignerWindow::BotSalvarClick()
{
    // Ctrl+S leaves the cursor where it is: the models being typed go in first.
    if (!PainelModelos->commit())
        return false;
    QString message;
    DesignDocument::SaveResult result = m_document->save(false, &message);
    if (result == DesignDocument::SaveResult::ChangedOnDisk &&
        Messages::ask(message + QStringLiteral("\n\nSalvar mesmo assim? Grava só os relatórios alterados neste editor, no arquivo "
                                               "como está agora: o que mudou fora dele nos outros relatórios fica.\n"
                                               "(Não: nada é gravado; Arquivo → Recarregar lê o arquivo de novo.)"))) {
        result = m_document->save(true, &message);
    }
    switch (result) {
    case DesignDocument::SaveResult::Saved:
        statusBar()->showMessage(QStringLiteral("Gravado em %1").arg(m_document->path()), 5000);
        return true;
    case DesignDocument::SaveResult::Refused:
        if (offerUtf8(message))
            return BotSalvarClick();
        Messages::show(QStringLiteral("O projeto não foi gravado.\n\n") + message);
        return false;
    case DesignDocument::SaveResult::ChangedOnDisk:
        return false;
    case DesignDocument::SaveResult::Failed:
        if (Messages::ask(message + QStringLiteral("\n\nGravar o projeto em outro lugar (Salvar como…)?")))
            return BotSalvarComoClick();
        return false;
    }
    return false;
}

bool DesignerWindow::offerUtf8(const QString &refusal)
{
    if (!m_document->layoutFault().isEmpty() || m_document->encodingFault().isEmpty())
        return false;
    if (!Messages::ask(refusal + QStringLiteral("\n\nGravar o arquivo inteiro em UTF-8 com BOM, que tem todos os caracteres? "
                                                "Nada mais muda no arquivo, e ele fica em UTF-8 daqui em diante.")))
        return false;
    m_document->switchToUtf8WithMark();
    return true;
}

void DesignerWindow::BotRecarregarClick()
{
    // Taken before the reload, which forgets them.
    const QList<PendingEdit> edits = m_document->isModified() ? pendingEdits(*m_document) : QList<PendingEdit>();
    int choice = ReloadDialog::Discard;
    if (!edits.isEmpty()) {
        ReloadDialog dialog(edits, this);
        choice = runDialog(dialog);
        if (choice != ReloadDialog::Reapply && choice != ReloadDialog::Discard)
            return;
    }
    QString error;
    if (!m_document->reloadFromDisk(&error)) {
        Messages::show(error);
        return;
    }
    if (choice != ReloadDialog::Reapply)
        return;
    const QStringList notApplied = applyPendingEdits(m_document, edits);
    if (!notApplied.isEmpty())
        Messages::show(QStringLiteral("Estas alterações não se aplicam mais ao arquivo como está agora:\n\n• ") +
                       notApplied.join(QStringLiteral("\n• ")));
}

bool DesignerWindow::BotSalvarComoClick()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar projeto de etiquetas como"), m_document->path(),
                                                      QStringLiteral("Projetos de relatório (*.rav *.RAV)"));
    if (path.isEmpty())
        return false;
    QString message;
    switch (m_document->saveAs(QDir::toNativeSeparators(path), &message)) {
    case DesignDocument::SaveResult::Saved:
        statusBar()->showMessage(QStringLiteral("Gravado em %1").arg(m_document->path()), 5000);
        return true;
    case DesignDocument::SaveResult::Refused:
        if (offerUtf8(message) && m_document->saveAs(QDir::toNativeSeparators(path), &message) == DesignDocument::SaveResult::Saved) {
            statusBar()->showMessage(QStringLiteral("Gravado em %1").arg(m_document->path()), 5000);
            return true;
        }
        Messages::show(QStringLiteral("O projeto não foi gravado.\n\n") + message);
        return false;
    default:
        Messages::show(message);
        return false;
    }
}

void DesignerWindow::BotNovaFolhaClick()
{
    NewSheetDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        m_document->startNewReport(dialog.report());
        offerModelsToThisReport();
    }
}

void DesignerWindow::BotNovoTermicoClick()
{
    NewThermalDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        m_document->startNewReport(dialog.report());
        offerModelsToThisReport();
    }
}

void DesignerWindow::BotExcluirRelatorioClick()
{
    if (!m_document->hasReport())
        return;
    if (!Messages::ask(QStringLiteral("Excluir o relatório \"%1\" do projeto? (Desfazer o traz de volta; o arquivo muda ao gravar.)")
                           .arg(m_document->report().name)))
        return;
    QString reason;
    if (!m_document->deleteReport(&reason) && !reason.isEmpty())
        Messages::show(reason);
}

void DesignerWindow::BotUsarRelatorioClick()
{
    QString reason;
    if (!m_document->makeActive(&reason) && !reason.isEmpty())
        Messages::show(reason);
}

void DesignerWindow::BotDuplicarRelatorioClick()
{
    if (!m_document->hasReport())
        return;
    SheetReport copy = m_document->report();
    // A name of its own, and no models yet: two reports serving one model print only the first.
    QString name = copy.name + QStringLiteral(" (cópia)");
    for (int n = 2; nameTaken(*m_document, name); ++n)
        name = copy.name + QStringLiteral(" (cópia %1)").arg(n);
    copy.name = name;
    copy.modelPrefixes.clear();
    for (CellElement &element : copy.elements)
        element.id = 0;
    m_document->startNewReport(copy);
}

void DesignerWindow::BotConfigurarClick()
{
    if (!m_document->hasReport())
        return;
    ReportSettingsDialog dialog(m_document, this);
    if (ReportModal::exec(dialog) != QDialog::Accepted || !dialog.fault().isEmpty())
        return;
    const SheetReport after = dialog.report();
    if (reportBlock(after) != reportBlock(m_document->report()))
        m_document->edit(after, QStringLiteral("Configurações do relatório"));
}

void DesignerWindow::BotImprimirTesteClick()
{
    if (!m_document->hasReport())
        return;
    const SheetReport &report = m_document->report();
    const QPointF offset = m_document->project().offset + report.offset;
    if (report.thermal) {
        // One row across, the very bytes a print would hand over.
        const QList<QByteArray> files = thermalCommandFiles(report, m_canvas->records().mid(0, report.thermal->across), offset);
        ThermalPreviewDialog preview(files, report.thermal->dpi,
                                     PreviewStock{QSizeF(report.grid.cellWidth, report.grid.cellHeight), stockOf(report).columnStarts},
                                     this);
        if (ReportModal::exec(preview) == ThermalPreviewDialog::PrintRequested)
            printThermalTest(files, std::min(report.thermal->across, int(m_canvas->records().size())));
        return;
    }
    // One sheet of the products shown, through the sheet engine.
    QList<LabelRecord> rows;
    for (int i = 0; i < report.grid.cellsPerPage(); ++i)
        rows << m_canvas->records()[i % m_canvas->records().size()];
    TRvSystem engine(QStringLiteral("RvSystemTeste"), this);
    engine.Execute(SheetDocument(report, rows, offset));
}

bool DesignerWindow::askStation()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("EstacaoTeste"));
    dialog.setWindowTitle(QStringLiteral("Imprimir teste"));
    auto *form = new QFormLayout(&dialog);
    auto *folder = new QLineEdit(StationFolder.isEmpty() ? SuitePaths::toNative(QStringLiteral("c:\\boticon\\Interfac01")) : StationFolder);
    folder->setObjectName(QStringLiteral("EditPasta"));
    auto *printer = new QLineEdit(StationPrinter);
    printer->setObjectName(QStringLiteral("EditImpressora"));
    form->addRow(QStringLiteral("Pasta da estação (com ImprEtiq.bat):"), folder);
    form->addRow(QStringLiteral("Impressora (ROTULO1 da estação):"), printer);
    addDialogButtons(&dialog, form, QStringLiteral("Imprimir"));
    if (ReportModal::exec(dialog) != QDialog::Accepted)
        return false;
    StationFolder = folder->text().trimmed();
    StationPrinter = printer->text().trimmed();
    return !StationFolder.isEmpty() && !StationPrinter.isEmpty();
}

void DesignerWindow::printThermalTest(const QList<QByteArray> &files, int labels)
{
    // A test that failed may have gone to a wrong printer: it is asked for again, filled in as it was.
    if ((StationFolder.isEmpty() || StationPrinter.isEmpty() || std::exchange(m_testFailed, false)) && !askStation())
        return;
    const QDir folder(StationFolder);
    const QString batch = folder.filePath(QStringLiteral("ImprEtiq.bat"));
    if (!QFileInfo(batch).isFile() && !offerBatchFile(StationFolder))
        return;
    // A name of its own, so a test never overwrites a job Selvar is handing over from the same folder.
    PrintJob job{batch, StationPrinter, {}};
    job.test = true; // no record: the counter never offers to continue a test, nor loses its own to one
    for (qsizetype i = 0; i < files.size(); ++i)
        job.files.append({folder.filePath(QStringLiteral("EtiqTeste%1.txt").arg(i + 1)), files[i], labels});
    m_handOver->enqueue(job);
}

void DesignerWindow::BotCalibrarClick()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("Calibrar"));
    dialog.setWindowTitle(QStringLiteral("Calibrar deslocamento"));
    auto *form = new QFormLayout(&dialog);
    form->addRow(new QLabel(QStringLiteral("Meça no teste impresso quanto a impressão saiu do lugar\n"
                                           "(para a direita e para baixo positivos). O projeto passa a\n"
                                           "compensar isso em todos os relatórios, sem mexer no layout.")));
    QDoubleSpinBox *dx = signedMillimetreBox(0, 50);
    dx->setObjectName(QStringLiteral("EditDireita"));
    QDoubleSpinBox *dy = signedMillimetreBox(0, 50);
    dy->setObjectName(QStringLiteral("EditBaixo"));
    form->addRow(QStringLiteral("Saiu para a direita:"), dx);
    form->addRow(QStringLiteral("Saiu para baixo:"), dy);
    addDialogButtons(&dialog, form, QStringLiteral("Calibrar"));
    if (ReportModal::exec(dialog) != QDialog::Accepted)
        return;
    const QPointF offset = m_document->project().offset - QPointF(dx->value(), dy->value());
    QString message;
    if (!m_document->setProjectOffset(offset, &message))
        Messages::show(message);
}

void DesignerWindow::addElement(CellElement::Kind kind)
{
    if (!m_document->hasReport())
        return;
    SheetReport after = m_document->report();
    CellElement e;
    e.kind = kind;
    const double width = after.grid.cellWidth;
    switch (kind) {
    case CellElement::Kind::Field:
        e.value = QStringLiteral("COMPONENTE");
        e.box = QRectF(0, 0, std::min(20.0, width), 3);
        break;
    case CellElement::Kind::Price:
        e.value = QStringLiteral("PRECO1");
        e.box = QRectF(0, 0, std::min(15.0, width), 3);
        break;
    case CellElement::Kind::Text:
        e.value = QStringLiteral("Texto");
        e.box = QRectF(0, 0, std::min(10.0, width), 3);
        break;
    case CellElement::Kind::Barcode:
        e.value = QStringLiteral("CODIGOEAN");
        e.fontSize = 0;
        e.box = QRectF(0, 0, width, std::min(8.0, after.grid.cellHeight));
        break;
    default:
        e = newDrawnElement(kind, after);
        break;
    }
    // Where nothing is yet, so it neither hides nor is hidden; a frame goes round the label.
    if (kind != CellElement::Kind::Frame)
        e.box.moveTopLeft(firstFreeSpot(after, e.box.size()));
    after.elements.append(e);
    m_document->edit(after, QStringLiteral("Novo elemento"));
    m_canvas->selectElements({int(after.elements.size()) - 1});
}

void DesignerWindow::copySelection()
{
    m_clipboard.clear();
    QStringList lines;
    for (const int index : m_canvas->selectedElements()) {
        m_clipboard << m_document->report().elements[index];
        lines << elementStatement(m_clipboard.last());
    }
    // Also as the project's own lines, for pasting into the file by hand.
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void DesignerWindow::pasteElements(const QList<CellElement> &elements, double shift)
{
    if (!m_document->hasReport() || elements.isEmpty())
        return;
    SheetReport after = m_document->report();
    QList<int> added;
    for (CellElement e : elements) {
        e.line = 0; // a new line of the file
        e.id = 0;   // and an element of its own
        e.box.translate(shift, shift);
        added << int(after.elements.size());
        after.elements.append(e);
    }
    m_document->edit(after, QStringLiteral("Colar"));
    m_canvas->selectElements(added);
}

void DesignerWindow::paste()
{
    pasteElements(m_clipboard, 1);
}

void DesignerWindow::duplicate()
{
    QList<CellElement> elements;
    for (const int index : m_canvas->selectedElements())
        elements << m_document->report().elements[index];
    pasteElements(elements, 1);
}

void DesignerWindow::deleteSelection()
{
    QList<int> selection = m_canvas->selectedElements();
    if (selection.isEmpty())
        return;
    std::sort(selection.rbegin(), selection.rend());
    SheetReport after = m_document->report();
    for (const int index : selection)
        after.elements.removeAt(index);
    m_canvas->selectElements({});
    m_document->edit(after, QStringLiteral("Excluir"));
}

void DesignerWindow::editSelectedBoxes(const std::function<QList<QRectF>(const QList<QRectF> &)> &change, const QString &text)
{
    const QList<int> selection = m_canvas->selectedElements();
    SheetReport after = m_document->report();
    QList<QRectF> boxes;
    for (const int index : selection)
        boxes << after.elements[index].box;
    boxes = change(boxes);
    for (int i = 0; i < selection.size(); ++i)
        after.elements[selection[i]].box = boxes[i];
    if (after.elements != m_document->report().elements)
        m_document->edit(after, text);
}

void DesignerWindow::align(AlignEdge edge)
{
    const SheetGrid &grid = m_document->report().grid;
    const QRectF label(0, 0, grid.cellWidth, grid.cellHeight);
    editSelectedBoxes([&](const QList<QRectF> &boxes) { return aligned(boxes, edge, label, m_toLabel); }, QStringLiteral("Alinhar"));
}

void DesignerWindow::distribute(Qt::Orientation orientation)
{
    editSelectedBoxes([&](const QList<QRectF> &boxes) { return distributed(boxes, orientation); }, QStringLiteral("Distribuir"));
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    if (settleChanges())
        event->accept();
    else
        event->ignore();
}
