#include "FixedLayoutWindow.h"

#include "QuickRepPage.h"
#include "TZetaDBBarcode.h"

#include <QLabel>

namespace {

// Screen pixels for a length in millimetres at the layouts' 120 % zoom.
int pixels(double millimetres)
{
    return qRound(millimetres / 25.4 * 96 * QuickRepPage::zoomPercent / 100);
}

} // namespace

FixedLayoutWindow::FixedLayoutWindow(const SheetLayout &layout, QWidget *owner)
    : QWidget(owner, Qt::Window), m_layout(layout)
{
    setObjectName(layout.windowClass.mid(1)); // TFormRelat2 -> FormRelat2
    setWindowTitle(layout.title);
    m_page = new QuickRepPage(layout, this);

    m_detailBand = new QWidget(this);
    m_detailBand->setObjectName(QStringLiteral("DetailBand1"));
    m_detailBand->setGeometry(0, 0, pixels(layout.cellWidthMm), pixels(layout.cellHeightMm));
    for (const LayoutElement &element : layout.elements)
        addElement(element);
    if (layout.hasBarcode)
        addBarcode();
    hide();
}

void FixedLayoutWindow::addElement(const LayoutElement &element)
{
    auto *label = new QLabel(m_detailBand);
    label->setObjectName(element.name);
    if (element.kind == LayoutElement::Kind::Label)
        label->setText(element.content);
    else
        label->setProperty("DataField", element.content);
    QFont font(element.fontFamily);
    font.setPointSizeF(element.fontPoints);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAutoFillBackground(true); // white and opaque, as the cell prints it
    label->move(pixels(element.leftMm), pixels(element.topMm));
}

void FixedLayoutWindow::addBarcode()
{
    // Stored properties, applied in the control's published order; LegendaPos
    // comes after Tipo and survives the reset Tipo makes.
    auto *barcode = new TZetaDBBarcode(m_detailBand);
    barcode->setObjectName(QStringLiteral("zetadbrcdCodigoEAN"));
    barcode->setGeometry(4, 32, 115, 41);
    barcode->setTexto(QStringLiteral("7891106001212"));
    barcode->setTipo(btCodeEAN13);
    barcode->setEsquerda(10);
    barcode->setSuperior(10);
    barcode->setAltura(60);
    barcode->setLegenda(true);
    QFont legendFont(QStringLiteral("MS Sans Serif"));
    legendFont.setPointSize(8);
    legendFont.setBold(true);
    barcode->setLegendaFont(legendFont);
    barcode->setLegendaPos(2);
    barcode->setDataField(QStringLiteral("CodigoEAN")); // no data source: it stays unbound
}
