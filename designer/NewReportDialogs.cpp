#include "NewReportDialogs.h"

#include "FormFields.h"
#include "LabelSheets.h"
#include "NewReports.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

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
    EditColunas = countBox(3, 10000);
    EditLinhas = countBox(8, 10000);
    EditEsquerda = millimetreBox(0);
    EditTopo = millimetreBox(4.5);
    EditLargura = millimetreBox(70, 1);
    EditAltura = millimetreBox(36, 1);
    EditPassoH = millimetreBox(70, 1);
    EditPassoV = millimetreBox(36, 1);
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
    addDialogButtons(this, form, QStringLiteral("Criar"));
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
    EditColunas = countBox(1, 20);
    EditEspaco = millimetreBox(3);
    EditLargura = millimetreBox(50, 1);
    EditAltura = millimetreBox(30, 1);
    ComboRolo = new QComboBox;
    ComboRolo->setObjectName(QStringLiteral("ComboRolo"));
    ComboRolo->addItem(QStringLiteral("Outro (medidas abaixo)"));
    const QList<CommonRoll> rolls = commonRolls();
    for (const CommonRoll &roll : rolls)
        ComboRolo->addItem(roll.name);
    connect(ComboRolo, &QComboBox::currentIndexChanged, this, [this, rolls](int index) {
        if (index < 1 || index > rolls.size())
            return;
        const CommonRoll &roll = rolls[index - 1];
        EditColunas->setValue(roll.across);
        EditEspaco->setValue(roll.gap);
        EditLargura->setValue(roll.label.width());
        EditAltura->setValue(roll.label.height());
    });
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Nome:"), EditNome);
    form->addRow(QStringLiteral("Rolo:"), ComboRolo);
    form->addRow(QStringLiteral("Linguagem da impressora:"), ComboLinguagem);
    form->addRow(QStringLiteral("Resolução (dpi):"), ComboResolucao);
    form->addRow(QStringLiteral("Etiquetas lado a lado:"), EditColunas);
    form->addRow(QStringLiteral("Espaço entre elas:"), EditEspaco);
    form->addRow(QStringLiteral("Largura da etiqueta:"), EditLargura);
    form->addRow(QStringLiteral("Altura da etiqueta:"), EditAltura);
    addDialogButtons(this, form, QStringLiteral("Criar"));
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
