#pragma once

#include "OutputOptions.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// The setup dialog of a run: where the labels go (screen preview, a printer or
// a PDF file), which printer and how many copies. OK is refused, with a
// message, while the choice cannot be carried out (no printer, no file name, a
// folder that does not exist).
class OutputOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    // `allowPreview` is false when printing from inside the preview.
    OutputOptionsDialog(const QString &title, const OutputOptions &initial, bool allowPreview, QWidget *parent = nullptr);

    OutputOptions options() const;

    QRadioButton *RadioVisualizar;
    QRadioButton *RadioImpressora;
    QRadioButton *RadioArquivo;
    QComboBox *ComboImpressora;
    QSpinBox *SpinCopias;
    QLineEdit *EditArquivo;

public slots:
    void accept() override;

private slots:
    void browseFile();
    void updateEnabled();
};
