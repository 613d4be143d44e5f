#include "PropertiesPanel.h"

#include "DrawnElementProperties.h"

#include "DesignDocument.h"
#include "FormFields.h"
#include "LabelCanvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {

QDoubleSpinBox *millimetres()
{
    QDoubleSpinBox *box = millimetreBox(0);
    box->setSingleStep(0.1);
    box->setKeyboardTracking(false);
    return box;
}

struct Symbology
{
    QString name;
    TBarCodeTipo tipo;
    PrinterSymbology printer;
};

const QList<Symbology> &symbologies()
{
    static const QList<Symbology> list = {
        {QStringLiteral("EAN13"), btCodeEAN13, PrinterSymbology::Ean13},
        {QStringLiteral("EAN8"), btCodeEAN8, PrinterSymbology::Ean8},
        {QStringLiteral("UPCA"), btCodeUPCA, PrinterSymbology::UpcA},
        {QStringLiteral("CODE128"), btCode128B, PrinterSymbology::Code128Auto},
        {QStringLiteral("CODE128A"), btCode128A, PrinterSymbology::Code128A},
        {QStringLiteral("CODE128B"), btCode128B, PrinterSymbology::Code128B},
        {QStringLiteral("CODE128C"), btCode128C, PrinterSymbology::Code128C},
        {QStringLiteral("CODE39"), btCode39, PrinterSymbology::Code39},
        {QStringLiteral("2E5I"), btCode2e5I, PrinterSymbology::Interleaved2of5},
    };
    return list;
}

int symbologyIndex(const CellElement &e)
{
    for (int i = 0; i < symbologies().size(); ++i) {
        if (symbologies()[i].printer == e.printerSymbology)
            return i;
    }
    return 0;
}

const QStringList Fields = {QStringLiteral("COMPONENTE"), QStringLiteral("CODIGO"), QStringLiteral("CODIGOEAN"), QStringLiteral("PRECO1")};

} // namespace

QStringList symbologyNames()
{
    QStringList names;
    for (const Symbology &s : symbologies())
        names << s.name;
    return names;
}

PropertiesPanel::PropertiesPanel(DesignDocument *document, LabelCanvas *canvas, QWidget *parent)
    : QWidget(parent), m_document(document), m_canvas(canvas)
{
    setObjectName(QStringLiteral("Propriedades"));
    EditX = millimetres();
    EditY = millimetres();
    EditLargura = millimetres();
    EditAltura = millimetres();
    ComboValor = new QComboBox;
    ComboValor->setEditable(true);
    ComboValor->addItems(Fields);
    EditFonte = new QLineEdit;
    EditTamanho = decimalBox(0, 200, 1, QStringLiteral(" pt"));
    EditTamanho->setSpecialValueText(QStringLiteral("automático"));
    EditTamanho->setKeyboardTracking(false);
    CheckNegrito = new QCheckBox(QStringLiteral("Negrito"));
    CheckItalico = new QCheckBox(QStringLiteral("Itálico"));
    CheckQuebra = new QCheckBox(QStringLiteral("Quebrar linhas"));
    ComboAlinhamento = new QComboBox;
    ComboAlinhamento->addItems({QStringLiteral("Esquerda"), QStringLiteral("Centro"), QStringLiteral("Direita")});
    EditFormato = new QLineEdit;
    ComboSimbologia = new QComboBox;
    ComboSimbologia->addItems(symbologyNames());
    CheckLegenda = new QCheckBox(QStringLiteral("Dígitos sob as barras"));

    const QList<std::pair<QWidget *, QString>> named = {
        {EditX, QStringLiteral("EditX")},       {EditY, QStringLiteral("EditY")},
        {EditLargura, QStringLiteral("EditLargura")}, {EditAltura, QStringLiteral("EditAltura")},
        {ComboValor, QStringLiteral("ComboValor")}, {EditFonte, QStringLiteral("EditFonte")},
        {EditTamanho, QStringLiteral("EditTamanho")}, {CheckNegrito, QStringLiteral("CheckNegrito")},
        {CheckItalico, QStringLiteral("CheckItalico")}, {CheckQuebra, QStringLiteral("CheckQuebra")},
        {ComboAlinhamento, QStringLiteral("ComboAlinhamento")}, {EditFormato, QStringLiteral("EditFormato")},
        {ComboSimbologia, QStringLiteral("ComboSimbologia")}, {CheckLegenda, QStringLiteral("CheckLegenda")},
    };
    for (const auto &[widget, name] : named)
        widget->setObjectName(name);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("X:"), EditX);
    form->addRow(QStringLiteral("Y:"), EditY);
    form->addRow(QStringLiteral("Largura:"), EditLargura);
    form->addRow(QStringLiteral("Altura:"), EditAltura);
    form->addRow(QStringLiteral("Campo ou texto:"), ComboValor);
    form->addRow(QStringLiteral("Fonte:"), EditFonte);
    form->addRow(QStringLiteral("Tamanho:"), EditTamanho);
    form->addRow(QString(), CheckNegrito);
    form->addRow(QString(), CheckItalico);
    form->addRow(QString(), CheckQuebra);
    form->addRow(QStringLiteral("Alinhamento:"), ComboAlinhamento);
    form->addRow(QStringLiteral("Formato do preço:"), EditFormato);
    form->addRow(QStringLiteral("Simbologia:"), ComboSimbologia);
    form->addRow(QString(), CheckLegenda);
    m_drawn = new DrawnElementProperties(this);
    form->addRow(m_drawn);
    connect(m_drawn, &DrawnElementProperties::changed, this, &PropertiesPanel::store);

    for (QDoubleSpinBox *box : {EditX, EditY, EditLargura, EditAltura, EditTamanho})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { store(QStringLiteral("Propriedade")); });
    for (QCheckBox *box : {CheckNegrito, CheckItalico, CheckQuebra, CheckLegenda})
        connect(box, &QCheckBox::toggled, this, [this] { store(QStringLiteral("Propriedade")); });
    for (QComboBox *box : {ComboAlinhamento, ComboSimbologia})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { store(QStringLiteral("Propriedade")); });
    connect(ComboValor->lineEdit(), &QLineEdit::editingFinished, this, [this] { store(QStringLiteral("Campo ou texto")); });
    connect(ComboValor, &QComboBox::activated, this, [this] { store(QStringLiteral("Campo ou texto")); });
    connect(EditFonte, &QLineEdit::editingFinished, this, [this] { store(QStringLiteral("Fonte")); });
    connect(EditFormato, &QLineEdit::editingFinished, this, [this] { store(QStringLiteral("Formato do preço")); });
    connect(canvas, &LabelCanvas::selectionChanged, this, &PropertiesPanel::load);
    connect(document, &DesignDocument::reportChanged, this, &PropertiesPanel::load);
    load();
}

void PropertiesPanel::load()
{
    const QList<int> selection = m_canvas->selectedElements();
    const SheetReport &report = m_document->report();
    setEnabled(!selection.isEmpty() && m_document->hasReport());
    if (!isEnabled())
        return;
    const CellElement &e = report.elements.value(selection.first());
    m_loading = true;
    EditX->setValue(e.box.x());
    EditY->setValue(e.box.y());
    EditLargura->setValue(e.box.width());
    EditAltura->setValue(e.box.height());
    ComboValor->setCurrentText(e.value);
    EditFonte->setText(e.fontFamily);
    EditTamanho->setValue(e.fontSize);
    CheckNegrito->setChecked(e.bold);
    CheckItalico->setChecked(e.italic);
    CheckQuebra->setChecked(e.wrap);
    ComboAlinhamento->setCurrentIndex(e.alignment & Qt::AlignRight ? 2 : e.alignment & Qt::AlignHCenter ? 1 : 0);
    EditFormato->setText(e.priceFormat);
    ComboSimbologia->setCurrentIndex(symbologyIndex(e));
    CheckLegenda->setChecked(e.legend);
    const bool barcode = e.kind == CellElement::Kind::Barcode;
    for (QWidget *w : QList<QWidget *>{CheckItalico, CheckQuebra, ComboAlinhamento})
        w->setEnabled(!barcode);
    EditFormato->setEnabled(e.kind == CellElement::Kind::Price);
    ComboSimbologia->setEnabled(barcode);
    CheckLegenda->setEnabled(barcode);
    ComboValor->setEnabled(e.readsField() || e.kind == CellElement::Kind::Text);
    m_drawn->showElement(e);
    m_loading = false;
}

void PropertiesPanel::store(const QString &what)
{
    if (m_loading)
        return;
    const QList<int> selection = m_canvas->selectedElements();
    if (selection.isEmpty())
        return;
    SheetReport after = m_document->report();
    const CellElement shown = after.elements.value(selection.first());
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (const int index : selection) {
        CellElement &e = after.elements[index];
        // Only what was changed reaches the other selected elements.
        if (EditX->value() != shown.box.x())
            e.box.moveLeft(EditX->value());
        if (EditY->value() != shown.box.y())
            e.box.moveTop(EditY->value());
        if (EditLargura->value() != shown.box.width())
            e.box.setWidth(EditLargura->value());
        if (EditAltura->value() != shown.box.height())
            e.box.setHeight(EditAltura->value());
        m_drawn->apply(shown, e);
        // An image's file, a code's parts: the section of their own holds them.
        if (ComboValor->currentText() != shown.value && !ComboValor->currentText().isEmpty() &&
            (e.readsField() || e.kind == CellElement::Kind::Text))
            e.value = e.kind == CellElement::Kind::Text ? ComboValor->currentText() : ComboValor->currentText().toUpper();
        if (EditFonte->text() != shown.fontFamily && !EditFonte->text().trimmed().isEmpty())
            e.fontFamily = EditFonte->text().trimmed();
        if (EditTamanho->value() != shown.fontSize)
            e.fontSize = EditTamanho->value();
        if (CheckNegrito->isChecked() != shown.bold)
            e.bold = CheckNegrito->isChecked();
        if (e.kind != CellElement::Kind::Barcode) {
            if (CheckItalico->isChecked() != shown.italic)
                e.italic = CheckItalico->isChecked();
            if (CheckQuebra->isChecked() != shown.wrap)
                e.wrap = CheckQuebra->isChecked();
            const Qt::Alignment alignment = alignments[ComboAlinhamento->currentIndex()];
            if (alignment != (shown.alignment & (Qt::AlignLeft | Qt::AlignHCenter | Qt::AlignRight)))
                e.alignment = alignment;
        }
        if (e.kind == CellElement::Kind::Price && EditFormato->text() != shown.priceFormat && EditFormato->text().contains(QLatin1Char('0')))
            e.priceFormat = EditFormato->text();
        if (e.kind == CellElement::Kind::Barcode) {
            const Symbology &s = symbologies()[ComboSimbologia->currentIndex()];
            if (s.printer != shown.printerSymbology) {
                e.symbology = s.tipo;
                e.printerSymbology = s.printer;
            }
            if (CheckLegenda->isChecked() != shown.legend)
                e.legend = CheckLegenda->isChecked();
        }
    }
    if (after.elements != m_document->report().elements)
        m_document->edit(after, what);
}
