#include "TZetaDBBarcode.h"

#include "BarcodePainter.h"
#include "DataSource.h"
#include "Field.h"
#include "TFieldDataLink.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TZetaDBBarcode::TZetaDBBarcode(QWidget *owner)
    : QWidget(owner)
    , m_dataLink(new TFieldDataLink(this))
{
    resize(260, 75);
    connect(m_dataLink, &TFieldDataLink::OnDataChange, this, &TZetaDBBarcode::DataChange);
}

TZetaDBBarcode::~TZetaDBBarcode()
{
    // Unhook first, so a data source outliving the control cannot call back
    // into a half-destroyed widget.
    delete m_dataLink;
}

template <typename T> void TZetaDBBarcode::assignAndRepaint(T &member, const T &value)
{
    member = value;
    update();
}

void TZetaDBBarcode::setTexto(const QString &texto) { assignAndRepaint(m_texto, texto); }
void TZetaDBBarcode::setEsquerda(int esquerda) { assignAndRepaint(m_esquerda, esquerda); }
void TZetaDBBarcode::setSuperior(int superior) { assignAndRepaint(m_superior, superior); }
void TZetaDBBarcode::setAltura(int altura) { assignAndRepaint(m_altura, altura); }
void TZetaDBBarcode::setLegenda(bool legenda) { assignAndRepaint(m_legenda, legenda); }
void TZetaDBBarcode::setLegendaPos(int legendaPos) { assignAndRepaint(m_legendaPos, legendaPos); }
void TZetaDBBarcode::setLegendaFont(const QFont &font) { assignAndRepaint(m_legendaFont, font); }
void TZetaDBBarcode::setPen(const QPen &pen) { assignAndRepaint(m_pen, pen); }

void TZetaDBBarcode::setTipo(TBarCodeTipo tipo)
{
    m_tipo = tipo;
    m_legendaPos = (tipo == btCodeEAN13 || tipo == btCodeUPCA) ? 2 : m_esquerda;
    update();
}

QString TZetaDBBarcode::dataField() const
{
    return m_dataLink->FieldName();
}

void TZetaDBBarcode::setDataField(const QString &dataField)
{
    m_dataLink->setFieldName(dataField);
    update();
}

DataSource *TZetaDBBarcode::dataSource() const
{
    return m_dataLink->dataSource();
}

void TZetaDBBarcode::setDataSource(DataSource *dataSource)
{
    m_dataLink->setDataSource(dataSource);
}

void TZetaDBBarcode::DataChange()
{
    if (const Field *field = m_dataLink->field())
        setTexto(field->AsString());
}

BarcodePlan TZetaDBBarcode::Plan() const
{
    // A pen narrower than one pixel would stack every module on one column.
    const int moduleWidth = std::max(1, m_pen.width());
    return PlanBarcode(m_tipo, m_texto, {m_esquerda, m_legendaPos, moduleWidth});
}

void TZetaDBBarcode::Paint(QPainter &painter)
{
    const BarcodePlan plan = Plan();
    BarcodeFrame frame;
    frame.superior = m_superior;
    frame.altura = m_altura;
    frame.clearHeight = height();
    frame.clearWidth = std::max(2000, width());
    frame.legenda = m_legenda;
    frame.legendaFont = m_legendaFont;
    PaintBarcode(painter, plan, frame);
    // The control takes the symbol's width; the resize repaints once more and
    // that paint finds the width already right.
    if (plan.width() != width())
        resize(plan.width(), height());
}

void TZetaDBBarcode::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Paint(painter);
}

void TZetaDBBarcode::Click()
{
    emit OnClick();
    update();
}

void TZetaDBBarcode::DblClick()
{
    emit OnDblClick();
    update();
}

void TZetaDBBarcode::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void TZetaDBBarcode::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a left press and release inside the control; the release
    // that ends a double click follows no press and so is no second click.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        Click();
}

void TZetaDBBarcode::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Not passed on: the base class would take the second press for a new
    // press, and its release would then fire a click after the double click.
    if (event->button() == Qt::LeftButton)
        DblClick();
}
