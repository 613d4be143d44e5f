#include "DrawnElementProperties.h"

#include "DrawnElements.h"
#include "FormFields.h"
#include "ReportProject.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QToolButton>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>

DrawnElementProperties::DrawnElementProperties(QWidget *parent) : QGroupBox(QStringLiteral("Giro, linhas, códigos 2D, data e imagem"), parent)
{
    setObjectName(QStringLiteral("GrupoDesenho"));
    ComboRotacao = new QComboBox(this);
    ComboRotacao->addItems({QStringLiteral("0°"), QStringLiteral("90°"), QStringLiteral("180°"), QStringLiteral("270°")});
    EditEspessura = decimalBox(MinLineMm, 50, 2, QStringLiteral(" mm"));
    EditEspessura->setSingleStep(0.05);
    EditConteudo = new QLineEdit(this);
    EditConteudo->setPlaceholderText(QStringLiteral("\"https://...\" + CODIGOEAN"));
    ComboCorrecao = new QComboBox(this);
    ComboCorrecao->addItems({QStringLiteral("L (7%)"), QStringLiteral("M (15%)"), QStringLiteral("Q (25%)"), QStringLiteral("H (30%)")});
    EditModulo = decimalBox(0, 5, 2, QStringLiteral(" mm"));
    EditModulo->setSingleStep(0.05);
    EditModulo->setSpecialValueText(QStringLiteral("o maior que cabe"));
    ComboFormatoData = new QComboBox(this);
    ComboFormatoData->addItems(dateFormats());
    EditDias = new QSpinBox(this);
    EditDias->setRange(-3660, 3660);
    EditMeses = new QSpinBox(this);
    EditMeses->setRange(-120, 120);
    EditArquivo = new QLineEdit(this);
    BotEscolherArquivo = new QToolButton(this);
    BotEscolherArquivo->setText(QStringLiteral("…"));
    BotEscolherArquivo->setToolTip(QStringLiteral("Escolher a imagem no disco (PNG, JPEG ou BMP)"));
    pickImage = [](QWidget *parent, const QString &folder) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Imagem da etiqueta"), folder,
                                            QStringLiteral("Imagens (*.png *.jpg *.jpeg *.bmp *.PNG *.JPG *.JPEG *.BMP)"));
    };
    EditLimiar = new QSpinBox(this);
    EditLimiar->setRange(1, 99);
    EditLimiar->setSuffix(QStringLiteral(" %"));
    for (QSpinBox *box : {EditDias, EditMeses, EditLimiar}) {
        box->setLocale(formLocale());
        box->setKeyboardTracking(false);
    }
    CheckPontilhado = new QCheckBox(QStringLiteral("Pontilhado (fotos)"), this);
    LabelFalha = new QLabel(this);
    LabelFalha->setWordWrap(true);
    LabelFalha->setStyleSheet(QStringLiteral("color: #b00000"));

    const QList<std::pair<QWidget *, QString>> named = {
        {ComboRotacao, QStringLiteral("ComboRotacao")},     {EditEspessura, QStringLiteral("EditEspessura")},
        {EditConteudo, QStringLiteral("EditConteudo")},     {ComboCorrecao, QStringLiteral("ComboCorrecao")},
        {EditModulo, QStringLiteral("EditModulo")},         {ComboFormatoData, QStringLiteral("ComboFormatoData")},
        {EditDias, QStringLiteral("EditDias")},             {EditMeses, QStringLiteral("EditMeses")},
        {EditArquivo, QStringLiteral("EditArquivo")},       {EditLimiar, QStringLiteral("EditLimiar")},
        {BotEscolherArquivo, QStringLiteral("BotEscolherArquivo")},
        {CheckPontilhado, QStringLiteral("CheckPontilhado")}, {LabelFalha, QStringLiteral("LabelFalha")},
    };
    for (const auto &[widget, name] : named)
        widget->setObjectName(name);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Rotação:"), ComboRotacao);
    form->addRow(QStringLiteral("Espessura:"), EditEspessura);
    form->addRow(QStringLiteral("Conteúdo:"), EditConteudo);
    form->addRow(QString(), LabelFalha);
    form->addRow(QStringLiteral("Correção:"), ComboCorrecao);
    form->addRow(QStringLiteral("Módulo:"), EditModulo);
    form->addRow(QStringLiteral("Formato da data:"), ComboFormatoData);
    form->addRow(QStringLiteral("Mais dias:"), EditDias);
    form->addRow(QStringLiteral("Mais meses:"), EditMeses);
    auto *file = new QHBoxLayout;
    m_fileRow = file;
    file->addWidget(EditArquivo, 1);
    file->addWidget(BotEscolherArquivo);
    form->addRow(QStringLiteral("Arquivo da imagem:"), file);
    form->addRow(QStringLiteral("Limiar:"), EditLimiar);
    form->addRow(QString(), CheckPontilhado);

    const auto tell = [this](const QString &what) {
        if (!m_loading)
            emit changed(what);
    };
    for (QComboBox *box : {ComboRotacao, ComboCorrecao, ComboFormatoData})
        connect(box, &QComboBox::currentIndexChanged, this, [tell] { tell(QStringLiteral("Propriedade")); });
    for (QDoubleSpinBox *box : {EditEspessura, EditModulo})
        connect(box, &QDoubleSpinBox::valueChanged, this, [tell] { tell(QStringLiteral("Propriedade")); });
    for (QSpinBox *box : {EditDias, EditMeses, EditLimiar})
        connect(box, &QSpinBox::valueChanged, this, [tell] { tell(QStringLiteral("Propriedade")); });
    connect(CheckPontilhado, &QCheckBox::toggled, this, [tell] { tell(QStringLiteral("Propriedade")); });
    connect(EditConteudo, &QLineEdit::editingFinished, this, [tell] { tell(QStringLiteral("Conteúdo do código")); });
    connect(EditArquivo, &QLineEdit::editingFinished, this, [tell] { tell(QStringLiteral("Arquivo da imagem")); });
    connect(BotEscolherArquivo, &QToolButton::clicked, this, &DrawnElementProperties::chooseImage);
}

void DrawnElementProperties::chooseImage()
{
    const QString folder = projectFolder ? projectFolder() : QString();
    const QString picked = pickImage(this, folder);
    if (picked.isEmpty())
        return;
    // Written as found from the project's folder, so the pharmacy's folder can move with its logo.
    const QString name = folder.isEmpty() ? picked : QDir(folder).relativeFilePath(picked);
    EditArquivo->setText(QDir::fromNativeSeparators(name));
    if (!m_loading)
        emit changed(QStringLiteral("Arquivo da imagem"));
}


void DrawnElementProperties::showElement(const CellElement &e)
{
    m_loading = true;
    using Kind = CellElement::Kind;
    const bool turns = e.isTextLike() || e.kind == Kind::Barcode;
    const bool rule = e.kind == Kind::Line || e.kind == Kind::Frame;
    ComboRotacao->setCurrentIndex(e.rotation / 90);
    EditEspessura->setValue(e.kind == Kind::Line ? std::min(e.box.width(), e.box.height()) : e.thickness);
    EditConteudo->setText(partsStatement(e.parts));
    LabelFalha->clear();
    ComboCorrecao->setCurrentIndex(int(e.qrLevel));
    EditModulo->setValue(e.moduleMm);
    ComboFormatoData->setCurrentText(e.dateFormat);
    EditDias->setValue(e.dayOffset);
    EditMeses->setValue(e.monthOffset);
    EditArquivo->setText(e.kind == Kind::Image ? e.value : QString());
    EditLimiar->setValue(e.threshold);
    CheckPontilhado->setChecked(e.dither);
    const bool image = e.kind == Kind::Image;
    const QList<std::pair<QWidget *, bool>> rows = {
        {ComboRotacao, turns},
        {EditEspessura, rule},
        {EditConteudo, e.isMatrixCode()},
        {LabelFalha, e.isMatrixCode()},
        {EditModulo, e.isMatrixCode()},
        {ComboCorrecao, e.kind == Kind::QrCode},
        {ComboFormatoData, e.kind == Kind::Date},
        {EditDias, e.kind == Kind::Date},
        {EditMeses, e.kind == Kind::Date},
        {EditArquivo, image},
        {BotEscolherArquivo, image},
        {EditLimiar, image},
        {CheckPontilhado, image},
    };
    auto *form = static_cast<QFormLayout *>(layout());
    for (const auto &[widget, shown] : rows) {
        widget->setEnabled(shown);
        if (widget != EditArquivo && widget != BotEscolherArquivo)
            form->setRowVisible(widget, shown);
    }
    form->setRowVisible(m_fileRow, image);
    m_loading = false;
}

void DrawnElementProperties::apply(const CellElement &shown, CellElement &e) const
{
    using Kind = CellElement::Kind;
    if ((e.isTextLike() || e.kind == Kind::Barcode) && ComboRotacao->currentIndex() * 90 != shown.rotation)
        e.rotation = ComboRotacao->currentIndex() * 90;
    const double thickness = EditEspessura->value();
    if (e.kind == Kind::Frame && thickness != shown.thickness)
        e.thickness = thickness;
    // A line's thickness is its box's short side.
    if (e.kind == Kind::Line && shown.kind == Kind::Line && thickness != std::min(shown.box.width(), shown.box.height()))
        e.box.width() >= e.box.height() ? e.box.setHeight(thickness) : e.box.setWidth(thickness);
    if (e.isMatrixCode()) {
        QString fault;
        if (EditConteudo->text() != partsStatement(shown.parts)) {
            if (const auto parts = partsFromStatement(EditConteudo->text(), &fault))
                e.parts = *parts;
        }
        LabelFalha->setText(fault);
        if (EditModulo->value() != shown.moduleMm)
            e.moduleMm = EditModulo->value();
        if (e.kind == Kind::QrCode && ComboCorrecao->currentIndex() != int(shown.qrLevel))
            e.qrLevel = QrLevel(ComboCorrecao->currentIndex());
    }
    if (e.kind == Kind::Date) {
        if (ComboFormatoData->currentText() != shown.dateFormat)
            e.dateFormat = ComboFormatoData->currentText();
        if (EditDias->value() != shown.dayOffset)
            e.dayOffset = EditDias->value();
        if (EditMeses->value() != shown.monthOffset)
            e.monthOffset = EditMeses->value();
    }
    if (e.kind == Kind::Image) {
        if (EditArquivo->text() != shown.value && !EditArquivo->text().trimmed().isEmpty())
            e.value = EditArquivo->text().trimmed();
        if (EditLimiar->value() != shown.threshold)
            e.threshold = EditLimiar->value();
        if (CheckPontilhado->isChecked() != shown.dither)
            e.dither = CheckPontilhado->isChecked();
    }
}
