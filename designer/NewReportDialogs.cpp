#include "NewReportDialogs.h"

#include "LabelSheets.h"
#include "NewReports.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

QDoubleSpinBox *millimetres(double value, double minimum = 0)
{
    auto *box = new QDoubleSpinBox;
    box->setRange(minimum, 2000);
    box->setDecimals(2);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
}

QSpinBox *count(int value, int maximum)
{
    auto *box = new QSpinBox;
    box->setRange(1, maximum);
    box->setValue(value);
    return box;
}

void addButtons(QDialog *dialog, QFormLayout *form)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Criar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    form->addRow(buttons);
}

} // namespace

NewSheetDialog::NewSheetDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("NovoRelatorioFolha"));
    setWindowTitle(QStringLiteral("Novo relatório de folha"));
    EditNome = new QLineEdit(QStringLiteral("Nova folha"));
    ComboFolha = new QComboBox;
    ComboFolha->addItem(QStringLiteral("Personalizada"));
    for (const LabelSheet &sheet : labelSheets())
        ComboFolha->addItem(sheet.name);
    ComboPapel = new QComboBox;
    ComboPapel->addItems({QStringLiteral("A4"), QStringLiteral("Carta"), QStringLiteral("A5")});
    EditColunas = count(3, 10000);
    EditLinhas = count(8, 10000);
    EditEsquerda = millimetres(0);
    EditTopo = millimetres(4.5);
    EditLargura = millimetres(70, 1);
    EditAltura = millimetres(36, 1);
    EditPassoH = millimetres(70, 1);
    EditPassoV = millimetres(36, 1);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Nome:"), EditNome);
    form->addRow(QStringLiteral("Folha:"), ComboFolha);
    form->addRow(QStringLiteral("Papel:"), ComboPapel);
    form->addRow(QStringLiteral("Colunas:"), EditColunas);
    form->addRow(QStringLiteral("Linhas:"), EditLinhas);
    form->addRow(QStringLiteral("Margem esquerda:"), EditEsquerda);
    form->addRow(QStringLiteral("Margem de cima:"), EditTopo);
    form->addRow(QStringLiteral("Largura da etiqueta:"), EditLargura);
    form->addRow(QStringLiteral("Altura da etiqueta:"), EditAltura);
    form->addRow(QStringLiteral("Passo horizontal:"), EditPassoH);
    form->addRow(QStringLiteral("Passo vertical:"), EditPassoV);
    addButtons(this, form);
    connect(ComboFolha, &QComboBox::currentIndexChanged, this, &NewSheetDialog::pickSheet);
}

void NewSheetDialog::pickSheet(int index)
{
    const QList<LabelSheet> sheets = labelSheets();
    if (index < 1 || index > sheets.size())
        return;
    const LabelSheet &sheet = sheets[index - 1];
    ComboPapel->setCurrentText(sheet.paper);
    EditColunas->setValue(sheet.grid.columns);
    EditLinhas->setValue(sheet.grid.rows);
    EditEsquerda->setValue(sheet.grid.left);
    EditTopo->setValue(sheet.grid.top);
    EditLargura->setValue(sheet.grid.cellWidth);
    EditAltura->setValue(sheet.grid.cellHeight);
    EditPassoH->setValue(sheet.grid.pitchX);
    EditPassoV->setValue(sheet.grid.pitchY);
    if (EditNome->text() == QLatin1String("Nova folha"))
        EditNome->setText(sheet.name);
}

SheetReport NewSheetDialog::report() const
{
    LabelSheet sheet;
    sheet.paper = ComboPapel->currentText();
    sheet.pageSize = paperId(sheet.paper);
    sheet.grid.columns = EditColunas->value();
    sheet.grid.rows = EditLinhas->value();
    sheet.grid.left = EditEsquerda->value();
    sheet.grid.top = EditTopo->value();
    sheet.grid.cellWidth = EditLargura->value();
    sheet.grid.cellHeight = EditAltura->value();
    sheet.grid.pitchX = EditPassoH->value();
    sheet.grid.pitchY = EditPassoV->value();
    SheetReport report = newSheetReport(EditNome->text().trimmed(), sheet);
    report.modelPrefixes << sheet.paper;
    return report;
}

NewThermalDialog::NewThermalDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("NovoRelatorioTermico"));
    setWindowTitle(QStringLiteral("Novo relatório térmico"));
    EditNome = new QLineEdit(QStringLiteral("Novo rolo"));
    ComboLinguagem = new QComboBox;
    ComboLinguagem->addItems({QStringLiteral("ZPL"), QStringLiteral("EPL2")});
    ComboResolucao = new QComboBox;
    ComboResolucao->addItems({QStringLiteral("203"), QStringLiteral("300")});
    EditColunas = count(1, 20);
    EditEspaco = millimetres(3);
    EditLargura = millimetres(50, 1);
    EditAltura = millimetres(30, 1);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Nome:"), EditNome);
    form->addRow(QStringLiteral("Linguagem da impressora:"), ComboLinguagem);
    form->addRow(QStringLiteral("Resolução (dpi):"), ComboResolucao);
    form->addRow(QStringLiteral("Etiquetas lado a lado:"), EditColunas);
    form->addRow(QStringLiteral("Espaço entre elas:"), EditEspaco);
    form->addRow(QStringLiteral("Largura da etiqueta:"), EditLargura);
    form->addRow(QStringLiteral("Altura da etiqueta:"), EditAltura);
    addButtons(this, form);
}

SheetReport NewThermalDialog::report() const
{
    RollStock roll;
    roll.language = ComboLinguagem->currentIndex() == 0 ? PrinterLanguage::Zpl : PrinterLanguage::Epl2;
    roll.dpi = ComboResolucao->currentText().toInt();
    roll.across = EditColunas->value();
    roll.gap = EditEspaco->value();
    roll.label = QSizeF(EditLargura->value(), EditAltura->value());
    SheetReport report = newThermalReport(EditNome->text().trimmed(), roll);
    report.modelPrefixes << report.name;
    return report;
}
