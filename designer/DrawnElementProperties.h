#pragma once

#include "ReportProject.h"

#include <QGroupBox>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLayout;
class QLineEdit;
class QToolButton;
class QSpinBox;

// The properties panel's section for what the newer kinds of element hold:
// the rotation of texts and barcodes, a line's or frame's thickness, what a
// QR code or DataMatrix carries with its error correction and module, a
// date's format and offset, an image's file and how it becomes dots. Only
// the rows of the selected element's kind show.
class DrawnElementProperties : public QGroupBox
{
    Q_OBJECT
public:
    explicit DrawnElementProperties(QWidget *parent = nullptr);

    // Shows `e`'s values without telling of a change.
    void showElement(const CellElement &e);
    // Copies into `e` what differs from `shown` (the element on display), so
    // that only a changed value reaches the other selected elements.
    void apply(const CellElement &shown, CellElement &e) const;
    // The picture a manager picks from the disk (a file dialog unless a test
    // answers), starting in `folder`; empty when nothing was picked.
    std::function<QString(QWidget *parent, const QString &folder)> pickImage;
    // The folder of the project, which an image's file is written relative to.
    std::function<QString()> projectFolder;

    QComboBox *ComboRotacao;
    QDoubleSpinBox *EditEspessura;
    QLineEdit *EditConteudo;     // "https://..." + CODIGOEAN
    QComboBox *ComboCorrecao;
    QDoubleSpinBox *EditModulo;
    QComboBox *ComboFormatoData;
    QSpinBox *EditDias;
    QSpinBox *EditMeses;
    QLineEdit *EditArquivo;
    QToolButton *BotEscolherArquivo; // "…": the picture picked from the disk
    QSpinBox *EditLimiar;
    QCheckBox *CheckPontilhado;
    QLabel *LabelFalha;          // why the content did not read

signals:
    void changed(const QString &what);

private:
    void chooseImage();

    bool m_loading = false;
    QLayout *m_fileRow = nullptr;
};
