#pragma once

#include "ReportProject.h"

#include <QWidget>

#include <functional>
#include <optional>

class DesignDocument;
class DrawnElementProperties;
class LabelCanvas;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;

// Every value the format holds for the selected element: its box in mm, the
// field or text, font, size, bold, italic, wrap, alignment, price format,
// symbology and legend. A change is one undo step; with several elements
// selected, the one property changed goes to all of them, nothing else.
class PropertiesPanel : public QWidget
{
    Q_OBJECT
public:
    PropertiesPanel(DesignDocument *document, LabelCanvas *canvas, QWidget *parent = nullptr);

    QDoubleSpinBox *EditX;
    QDoubleSpinBox *EditY;
    QDoubleSpinBox *EditLargura;
    QDoubleSpinBox *EditAltura;
    QComboBox *ComboValor;   // the field, or the fixed text (editable)
    QLineEdit *EditFonte;
    QDoubleSpinBox *EditTamanho;
    QCheckBox *CheckNegrito;
    QCheckBox *CheckItalico;
    QCheckBox *CheckQuebra;
    QComboBox *ComboAlinhamento;
    QLineEdit *EditFormato;
    QComboBox *ComboSimbologia;
    QCheckBox *CheckLegenda;

private:
    void load();
    void showRowsFor(std::optional<CellElement::Kind> kind); // none: nothing selected
    // `apply` to each selected element, as one undo step named `what`.
    void change(const QString &what, const std::function<void(CellElement &)> &apply);

    DrawnElementProperties *m_drawn = nullptr;
    DesignDocument *m_document;
    LabelCanvas *m_canvas;
    bool m_loading = false;
};

// The symbologies by the names a project writes, in the order the panel offers them.
QStringList symbologyNames();
