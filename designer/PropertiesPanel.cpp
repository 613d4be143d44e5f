#include "PropertiesPanel.h"

#include "DrawnElementProperties.h"

#include "CommittedUndo.h"
#include "DesignDocument.h"
#include "FormFields.h"
#include "LabelCanvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

// Positions either side of the label's corner, as an element dragged past it has.
QDoubleSpinBox *millimetres(double minimum)
{
    QDoubleSpinBox *box = millimetreBox(0, minimum);
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
    EditX = millimetres(-2000);
    EditY = millimetres(-2000);
    EditLargura = millimetres(0);
    EditAltura = millimetres(0);
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
    m_drawn->projectFolder = [this] { return QFileInfo(m_document->path()).absolutePath(); };
    form->addRow(m_drawn);
    // The room every row needs, whichever kind shows: a selection never
    // resizes the window, nor moves the label under the mouse.
    setMinimumSize(sizeHint());
    // Short and unwrapped, so it needs no more room than the rows.
    auto *none = new QLabel(QStringLiteral("Clique num elemento da etiqueta."));
    none->setObjectName(QStringLiteral("LabelNenhum"));
    form->addRow(none);
    // The section compares its boxes with the element on display, so only the
    // value changed there reaches the other selected elements.
    connect(m_drawn, &DrawnElementProperties::changed, this, [this](const QString &what) {
        const QList<int> selection = m_canvas->selectedElements();
        if (selection.isEmpty())
            return;
        const CellElement shown = m_document->report().elements.value(selection.first());
        change(what, [this, shown](CellElement &e) { m_drawn->apply(shown, e); });
    });

    // Each box changes its own property, and only it, in every selected element.
    using Element = CellElement;
    connect(EditX, &QDoubleSpinBox::valueChanged, this, [this](double v) { change(QStringLiteral("X"), [v](Element &e) { e.box.moveLeft(v); }); });
    connect(EditY, &QDoubleSpinBox::valueChanged, this, [this](double v) { change(QStringLiteral("Y"), [v](Element &e) { e.box.moveTop(v); }); });
    connect(EditLargura, &QDoubleSpinBox::valueChanged, this,
            [this](double v) { change(QStringLiteral("Largura"), [v](Element &e) { e.box.setWidth(v); }); });
    connect(EditAltura, &QDoubleSpinBox::valueChanged, this,
            [this](double v) { change(QStringLiteral("Altura"), [v](Element &e) { e.box.setHeight(v); }); });
    connect(EditTamanho, &QDoubleSpinBox::valueChanged, this,
            [this](double v) { change(QStringLiteral("Tamanho"), [v](Element &e) { e.fontSize = v; }); });
    connect(CheckNegrito, &QCheckBox::toggled, this, [this](bool on) { change(QStringLiteral("Negrito"), [on](Element &e) { e.bold = on; }); });
    connect(CheckItalico, &QCheckBox::toggled, this, [this](bool on) {
        change(QStringLiteral("Itálico"), [on](Element &e) {
            if (e.kind != Element::Kind::Barcode)
                e.italic = on;
        });
    });
    connect(CheckQuebra, &QCheckBox::toggled, this, [this](bool on) {
        change(QStringLiteral("Quebrar linhas"), [on](Element &e) {
            if (e.kind != Element::Kind::Barcode)
                e.wrap = on;
        });
    });
    connect(ComboAlinhamento, &QComboBox::currentIndexChanged, this, [this](int index) {
        static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        const Qt::Alignment alignment = alignments[std::clamp(index, 0, 2)];
        change(QStringLiteral("Alinhamento"), [alignment](Element &e) {
            if (e.kind != Element::Kind::Barcode)
                e.alignment = alignment;
        });
    });
    connect(ComboSimbologia, &QComboBox::currentIndexChanged, this, [this](int index) {
        const Symbology &s = symbologies()[std::clamp(index, 0, int(symbologies().size()) - 1)];
        change(QStringLiteral("Simbologia"), [&s](Element &e) {
            if (e.kind == Element::Kind::Barcode) {
                e.symbology = s.tipo;
                e.printerSymbology = s.printer;
            }
        });
    });
    connect(CheckLegenda, &QCheckBox::toggled, this, [this](bool on) {
        change(QStringLiteral("Dígitos sob as barras"), [on](Element &e) {
            if (e.kind == Element::Kind::Barcode)
                e.legend = on;
        });
    });
    const auto storeValue = [this] {
        const QString value = ComboValor->currentText();
        if (value.isEmpty())
            return;
        // An image's file, a code's parts: the section of their own holds them.
        change(QStringLiteral("Campo ou texto"), [value](Element &e) {
            if (e.readsField() || e.kind == Element::Kind::Text)
                e.value = e.kind == Element::Kind::Text ? value : value.toUpper();
        });
    };
    connect(ComboValor->lineEdit(), &QLineEdit::editingFinished, this, storeValue);
    connect(ComboValor, &QComboBox::activated, this, storeValue);
    connect(EditFonte, &QLineEdit::editingFinished, this, [this] {
        const QString family = EditFonte->text().trimmed();
        if (!family.isEmpty())
            change(QStringLiteral("Fonte"), [family](Element &e) { e.fontFamily = family; });
    });
    connect(EditFormato, &QLineEdit::editingFinished, this, [this] {
        const QString format = EditFormato->text();
        if (format.contains(QLatin1Char('0'))) {
            change(QStringLiteral("Formato do preço"), [format](Element &e) {
                if (e.kind == Element::Kind::Price)
                    e.priceFormat = format;
            });
        }
    });
    passCommittedUndoToDocument(this);
    connect(canvas, &LabelCanvas::selectionChanged, this, &PropertiesPanel::load);
    connect(document, &DesignDocument::reportChanged, this, &PropertiesPanel::load);
    load();
}

void PropertiesPanel::load()
{
    const QList<int> selection = m_canvas->selectedElements();
    const SheetReport &report = m_document->report();
    setEnabled(!selection.isEmpty() && m_document->hasReport());
    showRowsFor(isEnabled() ? std::optional(report.elements.value(selection.first()).kind) : std::nullopt);
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

void PropertiesPanel::showRowsFor(std::optional<CellElement::Kind> kind)
{
    // Only what the kind prints with: no font for a picture, no alignment for a frame.
    // Nothing selected shows no values at all, rather than the last element's.
    CellElement e;
    if (kind)
        e.kind = *kind;
    const bool barcode = kind && e.kind == CellElement::Kind::Barcode;
    const bool text = kind && e.isTextLike();
    const QList<std::pair<QWidget *, bool>> rows = {
        {EditX, bool(kind)}, {EditY, bool(kind)}, {EditLargura, bool(kind)}, {EditAltura, bool(kind)},
        {ComboValor, kind && (e.readsField() || e.kind == CellElement::Kind::Text)},
        {EditFonte, text || barcode}, {EditTamanho, text || barcode}, {CheckNegrito, text || barcode},
        {CheckItalico, text}, {CheckQuebra, text}, {ComboAlinhamento, text},
        {EditFormato, kind && e.kind == CellElement::Kind::Price},
        {ComboSimbologia, barcode}, {CheckLegenda, barcode},
    };
    auto *form = static_cast<QFormLayout *>(layout());
    for (const auto &[widget, shown] : rows)
        form->setRowVisible(widget, shown);
    form->setRowVisible(m_drawn, kind.has_value()); // every kind has a row there: the turn, a thickness, a file...
    form->setRowVisible(findChild<QLabel *>(QStringLiteral("LabelNenhum")), !kind);
}

void PropertiesPanel::change(const QString &what, const std::function<void(CellElement &)> &apply)
{
    if (m_loading)
        return;
    const QList<int> selection = m_canvas->selectedElements();
    if (selection.isEmpty())
        return;
    SheetReport after = m_document->report();
    for (const int index : selection)
        apply(after.elements[index]);
    if (after.elements != m_document->report().elements)
        m_document->edit(after, what);
}
