#pragma once

#include "ReportProject.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

// "Novo relatório de folha": the paper and the grid of a sheet of adhesive
// labels, filled in by picking one of the common sheets or typed in.
class NewSheetDialog : public QDialog
{
    Q_OBJECT
public:
    explicit NewSheetDialog(QWidget *parent = nullptr);
    SheetReport report() const;

    QLineEdit *EditNome;
    QComboBox *ComboFolha;
    QComboBox *ComboPapel;
    QSpinBox *EditColunas;
    QSpinBox *EditLinhas;
    QDoubleSpinBox *EditEsquerda;
    QDoubleSpinBox *EditTopo;
    QDoubleSpinBox *EditLargura;
    QDoubleSpinBox *EditAltura;
    QDoubleSpinBox *EditPassoH;
    QDoubleSpinBox *EditPassoV;

private:
    void pickSheet(int index);
};

// "Novo relatório térmico": the roll (labels across, gap, label size), the
// printer's language and its resolution.
class NewThermalDialog : public QDialog
{
    Q_OBJECT
public:
    explicit NewThermalDialog(QWidget *parent = nullptr);
    SheetReport report() const;

    QLineEdit *EditNome;
    QComboBox *ComboLinguagem;
    QComboBox *ComboResolucao;
    QComboBox *ComboRolo;     // a common roll fills the measures below
    QSpinBox *EditColunas;
    QDoubleSpinBox *EditEspaco;
    QDoubleSpinBox *EditLargura;
    QDoubleSpinBox *EditAltura;
};
