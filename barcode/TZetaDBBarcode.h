#pragma once

#include "BarCodeTipo.h"
#include "BarcodePlan.h"

#include <QFont>
#include <QPen>
#include <QWidget>

class DataSource;
class TFieldDataLink;
Q_MOC_INCLUDE("DataSource.h")

// A data-aware barcode: draws one of the eight symbologies, with an optional
// legend, on its own area. It is a plain (alien) widget with no native window
// of its own, painting inside its bounds on the parent's surface. Bound to a
// column through a data source, it shows the current row's value.
//
// The properties are declared in the order a stored form applies them: a
// stored LegendaPos therefore lands after Tipo and survives the reset that
// writing Tipo performs.
class TZetaDBBarcode : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Texto READ texto WRITE setTexto)
    Q_PROPERTY(Barras::TBarCodeTipo Tipo READ tipo WRITE setTipo)
    Q_PROPERTY(int Esquerda READ esquerda WRITE setEsquerda)
    Q_PROPERTY(int Superior READ superior WRITE setSuperior)
    Q_PROPERTY(int Altura READ altura WRITE setAltura)
    Q_PROPERTY(bool Legenda READ legenda WRITE setLegenda)
    Q_PROPERTY(QFont LegendaFont READ legendaFont WRITE setLegendaFont)
    Q_PROPERTY(int LegendaPos READ legendaPos WRITE setLegendaPos)
    Q_PROPERTY(QPen Pen READ pen WRITE setPen)
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField)
    Q_PROPERTY(DataSource *DataSource READ dataSource WRITE setDataSource)

public:
    explicit TZetaDBBarcode(QWidget *owner = nullptr);
    ~TZetaDBBarcode() override;

    QString texto() const { return m_texto; }
    void setTexto(const QString &texto);

    TBarCodeTipo tipo() const { return m_tipo; }
    // Also moves LegendaPos to where that symbology's first legend piece
    // belongs: 2 for EAN-13 and UPC-A (their lone first digit sits left of the
    // bars), Esquerda for every other.
    void setTipo(TBarCodeTipo tipo);

    int esquerda() const { return m_esquerda; }
    void setEsquerda(int esquerda);

    int superior() const { return m_superior; }
    void setSuperior(int superior);

    // A y coordinate (bottom of the bars, top of the legend), not a height.
    int altura() const { return m_altura; }
    void setAltura(int altura);

    bool legenda() const { return m_legenda; }
    void setLegenda(bool legenda);

    QFont legendaFont() const { return m_legendaFont; }
    void setLegendaFont(const QFont &font);

    int legendaPos() const { return m_legendaPos; }
    void setLegendaPos(int legendaPos);

    // Only the width counts: it is the module width in pixels.
    QPen pen() const { return m_pen; }
    void setPen(const QPen &pen);

    QString dataField() const;
    void setDataField(const QString &dataField);

    DataSource *dataSource() const;
    void setDataSource(DataSource *dataSource);

    // What the next paint draws, from the current properties.
    BarcodePlan Plan() const;

signals:
    void OnClick();
    void OnDblClick();

public slots:
    // The data link's on-data-change handler: shows the bound column's value.
    void DataChange();

protected:
    virtual void Paint(QPainter &painter);
    virtual void Click();
    virtual void DblClick();

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    template <typename T> void assignAndRepaint(T &member, const T &value);

    TFieldDataLink *m_dataLink;
    QPen m_pen;
    QFont m_legendaFont;

    QString m_texto = QStringLiteral("789786260021");
    TBarCodeTipo m_tipo = btCode128A;
    int m_esquerda = 10;
    int m_superior = 10;
    int m_altura = 60;
    bool m_legenda = false;
    int m_legendaPos = 11;
    bool m_pressed = false;
};
