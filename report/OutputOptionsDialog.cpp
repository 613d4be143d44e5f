#include "OutputOptionsDialog.h"

#include "Messages.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

OutputOptionsDialog::OutputOptionsDialog(const QString &title, const OutputOptions &initial, bool allowPreview, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("OutputOptions"));
    setWindowTitle(title);
    setModal(true);

    RadioVisualizar = named(new QRadioButton(QStringLiteral("&Visualizar na tela")), "RadioVisualizar");
    RadioImpressora = named(new QRadioButton(QStringLiteral("&Impressora")), "RadioImpressora");
    RadioArquivo = named(new QRadioButton(QStringLiteral("&Arquivo PDF")), "RadioArquivo");
    auto *group = new QButtonGroup(this);
    group->addButton(RadioVisualizar);
    group->addButton(RadioImpressora);
    group->addButton(RadioArquivo);
    RadioVisualizar->setEnabled(allowPreview);

    ComboImpressora = named(new QComboBox, "ComboImpressora");
    ComboImpressora->addItems(QPrinterInfo::availablePrinterNames());
    if (ComboImpressora->count() == 0) {
        RadioImpressora->setEnabled(false);
        RadioImpressora->setToolTip(QStringLiteral("Nenhuma impressora instalada neste computador."));
    }
    const QString printer = initial.printerName.isEmpty() ? QPrinterInfo::defaultPrinterName() : initial.printerName;
    if (const int at = ComboImpressora->findText(printer); at >= 0)
        ComboImpressora->setCurrentIndex(at);

    SpinCopias = named(new QSpinBox, "SpinCopias");
    SpinCopias->setRange(1, 999);
    SpinCopias->setValue(std::max(1, initial.copies));

    EditArquivo = named(new QLineEdit(initial.fileName), "EditArquivo");
    auto *browse = named(new QPushButton(QStringLiteral("&Procurar...")), "BotProcurar");
    connect(browse, &QPushButton::clicked, this, &OutputOptionsDialog::browseFile);

    auto *destination = new QGroupBox(QStringLiteral("Destino"));
    auto *destinationLayout = new QVBoxLayout(destination);
    destinationLayout->addWidget(RadioVisualizar);
    destinationLayout->addWidget(RadioImpressora);
    destinationLayout->addWidget(RadioArquivo);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(EditArquivo, 1);
    fileRow->addWidget(browse);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Impressora:"), ComboImpressora);
    form->addRow(QStringLiteral("Cópias:"), SpinCopias);
    form->addRow(QStringLiteral("Arquivo:"), fileRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BotOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BotCancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &OutputOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OutputOptionsDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(destination);
    layout->addLayout(form);
    layout->addWidget(buttons);

    QRadioButton *chosen = RadioVisualizar;
    if (initial.destination == OutputOptions::Destination::Printer)
        chosen = RadioImpressora;
    else if (initial.destination == OutputOptions::Destination::File)
        chosen = RadioArquivo;
    if (!chosen->isEnabled())
        chosen = RadioImpressora->isEnabled() ? RadioImpressora : RadioArquivo;
    chosen->setChecked(true);
    for (QRadioButton *radio : {RadioVisualizar, RadioImpressora, RadioArquivo})
        connect(radio, &QRadioButton::toggled, this, &OutputOptionsDialog::updateEnabled);
    updateEnabled();
}

OutputOptions OutputOptionsDialog::options() const
{
    OutputOptions o;
    if (RadioImpressora->isChecked())
        o.destination = OutputOptions::Destination::Printer;
    else if (RadioArquivo->isChecked())
        o.destination = OutputOptions::Destination::File;
    o.printerName = ComboImpressora->currentText();
    o.copies = SpinCopias->value();
    o.fileName = EditArquivo->text().trimmed();
    if (!o.fileName.isEmpty() && !o.fileName.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        o.fileName += QStringLiteral(".pdf");
    return o;
}

void OutputOptionsDialog::accept()
{
    const OutputOptions o = options();
    if (o.destination == OutputOptions::Destination::Printer && o.printerName.isEmpty()) {
        Messages::show(QStringLiteral("Escolha uma impressora."));
        return;
    }
    if (o.destination == OutputOptions::Destination::File) {
        if (o.fileName.isEmpty()) {
            Messages::show(QStringLiteral("Informe o nome do arquivo PDF."));
            return;
        }
        const QString folder = QFileInfo(o.fileName).absolutePath();
        if (!QDir(folder).exists()) {
            Messages::show(QStringLiteral("A pasta \"%1\" não existe.").arg(QDir::toNativeSeparators(folder)));
            return;
        }
    }
    QDialog::accept();
}

void OutputOptionsDialog::browseFile()
{
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Salvar etiquetas em PDF"), EditArquivo->text(),
                                                      QStringLiteral("Documentos PDF (*.pdf)"));
    if (!name.isEmpty())
        EditArquivo->setText(QDir::toNativeSeparators(name));
}

void OutputOptionsDialog::updateEnabled()
{
    ComboImpressora->setEnabled(RadioImpressora->isChecked());
    SpinCopias->setEnabled(RadioImpressora->isChecked());
    EditArquivo->setEnabled(RadioArquivo->isChecked());
}
