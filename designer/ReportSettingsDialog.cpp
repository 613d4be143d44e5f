#include "ReportSettingsDialog.h"

#include "DesignDocument.h"
#include "FormFields.h"
#include "ProjectStatement.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <cmath>

namespace {

const QString DefaultConnection = QStringLiteral("RvDataSetConnection1");
const QString CustomPaper = QStringLiteral("Personalizado");

// The papers a project names, in the order offered.
const QList<std::pair<QString, QPageSize::PageSizeId>> &namedPapers()
{
    static const QList<std::pair<QString, QPageSize::PageSizeId>> papers = {
        {QStringLiteral("A4"), QPageSize::A4},
        {QStringLiteral("A5"), QPageSize::A5},
        {QStringLiteral("Carta"), QPageSize::Letter},
        {QStringLiteral("Ofício"), QPageSize::Legal},
    };
    return papers;
}

} // namespace

ReportSettingsDialog::ReportSettingsDialog(const DesignDocument *document, QWidget *parent)
    : QDialog(parent), m_document(document), m_original(document->report())
{
    setObjectName(QStringLiteral("ConfiguracoesRelatorio"));
    setWindowTitle(QStringLiteral("Configurações do relatório"));
    const SheetGrid &grid = m_original.grid;
    EditNome = new QLineEdit(m_original.name);
    EditConexao = new QLineEdit(m_original.connection);
    EditConexao->setPlaceholderText(DefaultConnection);
    EditLargura = millimetreBox(grid.cellWidth, 1);
    EditAltura = millimetreBox(grid.cellHeight, 1);
    EditDeslocamentoX = signedMillimetreBox(m_original.offset.x(), MaxProjectNumber);
    EditDeslocamentoY = signedMillimetreBox(m_original.offset.y(), MaxProjectNumber);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Nome:"), EditNome);
    form->addRow(QStringLiteral("Conexão de dados:"), EditConexao);
    if (m_original.thermal)
        addThermalFields(form);
    else
        addSheetFields(form);
    form->addRow(QStringLiteral("Largura da etiqueta:"), EditLargura);
    form->addRow(QStringLiteral("Altura da etiqueta:"), EditAltura);
    form->addRow(QStringLiteral("Deslocamento próprio, para a direita:"), EditDeslocamentoX);
    form->addRow(QStringLiteral("Deslocamento próprio, para baixo:"), EditDeslocamentoY);
    LabelFalha = new QLabel;
    LabelFalha->setObjectName(QStringLiteral("LabelFalha"));
    LabelFalha->setWordWrap(true);
    LabelFalha->setStyleSheet(QStringLiteral("color: #b00000"));
    // Room for the parser's longest faults, so the dialog need not grow while one is typed.
    LabelFalha->setMinimumHeight(4 * fontMetrics().lineSpacing());
    LabelFalha->setMinimumWidth(420);
    form->addRow(LabelFalha);
    addDialogButtons(this, form, QStringLiteral("Aplicar"));
    BotAplicar = findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);

    // Labels that touched keep touching when their size changes.
    for (auto [size, pitch] : {std::pair{EditLargura, EditPassoH}, std::pair{EditAltura, EditPassoV}}) {
        if (!pitch)
            continue;
        connect(size, &QDoubleSpinBox::valueChanged, this, [pitch, last = size->value()](double now) mutable {
            if (std::abs(pitch->value() - last) < 0.005)
                pitch->setValue(now);
            last = now;
        });
    }
    for (QLineEdit *edit : {EditNome, EditConexao})
        connect(edit, &QLineEdit::textChanged, this, &ReportSettingsDialog::check);
    for (QDoubleSpinBox *box : findChildren<QDoubleSpinBox *>())
        connect(box, &QDoubleSpinBox::valueChanged, this, &ReportSettingsDialog::check);
    for (QSpinBox *box : findChildren<QSpinBox *>())
        connect(box, &QSpinBox::valueChanged, this, &ReportSettingsDialog::check);
    for (QComboBox *box : findChildren<QComboBox *>())
        connect(box, &QComboBox::currentIndexChanged, this, &ReportSettingsDialog::check);
    check();
}

void ReportSettingsDialog::addSheetFields(QFormLayout *form)
{
    const SheetGrid &grid = m_original.grid;
    ComboPapel = new QComboBox;
    for (const auto &[name, id] : namedPapers())
        ComboPapel->addItem(name, int(id));
    ComboPapel->addItem(CustomPaper, int(QPageSize::Custom));
    const int named = ComboPapel->findData(int(m_original.pageSize.id()));
    ComboPapel->setCurrentIndex(named >= 0 ? named : ComboPapel->count() - 1);
    const QSizeF paper = m_original.pageSize.size(QPageSize::Millimeter);
    EditPapelLargura = millimetreBox(paper.width(), 1);
    EditPapelAltura = millimetreBox(paper.height(), 1);
    const auto customOnly = [this] {
        const bool custom = ComboPapel->currentData().toInt() == int(QPageSize::Custom);
        EditPapelLargura->setEnabled(custom);
        EditPapelAltura->setEnabled(custom);
    };
    connect(ComboPapel, &QComboBox::currentIndexChanged, this, customOnly);
    customOnly();
    ComboOrientacao = new QComboBox;
    ComboOrientacao->addItems({QStringLiteral("Retrato"), QStringLiteral("Paisagem")});
    ComboOrientacao->setCurrentIndex(m_original.orientation == QPageLayout::Landscape ? 1 : 0);
    EditColunas = countBox(grid.columns, 10000);
    EditLinhas = countBox(grid.rows, 10000);
    ComboOrdem = new QComboBox;
    ComboOrdem->addItems({QStringLiteral("Por linhas"), QStringLiteral("Por colunas")});
    ComboOrdem->setCurrentIndex(grid.order == SheetGrid::Order::DownThenAcross ? 1 : 0);
    EditEsquerda = millimetreBox(grid.left);
    EditTopo = millimetreBox(grid.top);
    EditPassoH = millimetreBox(grid.pitchX, 0.01);
    EditPassoV = millimetreBox(grid.pitchY, 0.01);
    form->addRow(QStringLiteral("Papel:"), ComboPapel);
    form->addRow(QStringLiteral("Largura do papel:"), EditPapelLargura);
    form->addRow(QStringLiteral("Altura do papel:"), EditPapelAltura);
    form->addRow(QStringLiteral("Orientação:"), ComboOrientacao);
    form->addRow(QStringLiteral("Colunas:"), EditColunas);
    form->addRow(QStringLiteral("Linhas:"), EditLinhas);
    form->addRow(QStringLiteral("Ordem das etiquetas:"), ComboOrdem);
    form->addRow(QStringLiteral("Margem esquerda:"), EditEsquerda);
    form->addRow(QStringLiteral("Margem de cima:"), EditTopo);
    form->addRow(QStringLiteral("Passo horizontal:"), EditPassoH);
    form->addRow(QStringLiteral("Passo vertical:"), EditPassoV);
}

void ReportSettingsDialog::addThermalFields(QFormLayout *form)
{
    const ThermalSetup &setup = *m_original.thermal;
    ComboLinguagem = new QComboBox;
    ComboLinguagem->addItems({QStringLiteral("ZPL"), QStringLiteral("EPL2")});
    ComboLinguagem->setCurrentIndex(setup.language == PrinterLanguage::Zpl ? 0 : 1);
    ComboResolucao = new QComboBox;
    ComboResolucao->addItems({QStringLiteral("203"), QStringLiteral("300")});
    ComboResolucao->setCurrentText(QString::number(setup.dpi));
    EditColunas = countBox(setup.across, 20);
    EditEspaco = millimetreBox(setup.gap);
    form->addRow(QStringLiteral("Linguagem da impressora:"), ComboLinguagem);
    form->addRow(QStringLiteral("Resolução (dpi):"), ComboResolucao);
    form->addRow(QStringLiteral("Etiquetas lado a lado:"), EditColunas);
    form->addRow(QStringLiteral("Espaço entre elas:"), EditEspaco);
}

SheetReport ReportSettingsDialog::report() const
{
    SheetReport report = m_original;
    report.name = EditNome->text().trimmed();
    const QString connection = EditConexao->text().trimmed();
    report.connection = connection.isEmpty() ? DefaultConnection : connection;
    report.grid.cellWidth = EditLargura->value();
    report.grid.cellHeight = EditAltura->value();
    report.offset = QPointF(EditDeslocamentoX->value(), EditDeslocamentoY->value());
    if (report.thermal) {
        report.thermal->language = ComboLinguagem->currentIndex() == 0 ? PrinterLanguage::Zpl : PrinterLanguage::Epl2;
        report.thermal->dpi = ComboResolucao->currentText().toInt();
        report.thermal->across = EditColunas->value();
        report.thermal->gap = EditEspaco->value();
        return report;
    }
    const auto id = QPageSize::PageSizeId(ComboPapel->currentData().toInt());
    report.pageSize = id == QPageSize::Custom ? QPageSize(QSizeF(EditPapelLargura->value(), EditPapelAltura->value()), QPageSize::Millimeter,
                                                          CustomPaper, QPageSize::ExactMatch)
                                              : QPageSize(id);
    report.orientation = ComboOrientacao->currentIndex() == 1 ? QPageLayout::Landscape : QPageLayout::Portrait;
    SheetGrid &grid = report.grid;
    grid.columns = EditColunas->value();
    grid.rows = EditLinhas->value();
    grid.order = ComboOrdem->currentIndex() == 1 ? SheetGrid::Order::DownThenAcross : SheetGrid::Order::AcrossThenDown;
    grid.left = EditEsquerda->value();
    grid.top = EditTopo->value();
    grid.pitchX = EditPassoH->value();
    grid.pitchY = EditPassoV->value();
    return report;
}

void ReportSettingsDialog::check()
{
    m_fault = m_document->faultOfChange(report());
    LabelFalha->setText(m_fault);
    BotAplicar->setEnabled(m_fault.isEmpty());
}
