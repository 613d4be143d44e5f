#pragma once

#include "ReportProject.h"

#include <QDialog>

class DesignDocument;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Configurações do relatório": every value the project keeps for the report
// being edited, other than its elements and models — its name, data
// connection, label and own calibration, and the paper, grid, margins and
// pitch of a sheet or the printer and roll of a thermal report. What the
// parser would refuse is shown as it says it and cannot be applied.
class ReportSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    ReportSettingsDialog(const DesignDocument *document, QWidget *parent = nullptr);

    // The report as the fields set it.
    SheetReport report() const;
    // What the parser would refuse in it; empty when it can be applied.
    const QString &fault() const { return m_fault; }

    QLineEdit *EditNome;
    QLineEdit *EditConexao;
    QDoubleSpinBox *EditLargura;
    QDoubleSpinBox *EditAltura;
    QDoubleSpinBox *EditDeslocamentoX;
    QDoubleSpinBox *EditDeslocamentoY;
    // A sheet report's.
    QComboBox *ComboPapel = nullptr;
    QDoubleSpinBox *EditPapelLargura = nullptr;
    QDoubleSpinBox *EditPapelAltura = nullptr;
    QComboBox *ComboOrientacao = nullptr;
    QSpinBox *EditColunas = nullptr;   // also the labels across a roll
    QSpinBox *EditLinhas = nullptr;
    QComboBox *ComboOrdem = nullptr;
    QDoubleSpinBox *EditEsquerda = nullptr;
    QDoubleSpinBox *EditTopo = nullptr;
    QDoubleSpinBox *EditPassoH = nullptr;
    QDoubleSpinBox *EditPassoV = nullptr;
    // A thermal report's.
    QComboBox *ComboLinguagem = nullptr;
    QComboBox *ComboResolucao = nullptr;
    QDoubleSpinBox *EditEspaco = nullptr;

    QLabel *LabelFalha;
    QPushButton *BotAplicar;

private:
    void addSheetFields(QFormLayout *form);
    void addThermalFields(QFormLayout *form);
    void check();

    const DesignDocument *m_document;
    SheetReport m_original;
    QString m_fault;
};
