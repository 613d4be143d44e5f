#include "FormFields.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

QDoubleSpinBox *millimetreBox(double value, double minimum, double maximum)
{
    auto *box = new QDoubleSpinBox;
    box->setRange(minimum, maximum);
    box->setDecimals(2);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
}

QSpinBox *countBox(int value, int maximum)
{
    auto *box = new QSpinBox;
    box->setRange(1, maximum);
    box->setValue(value);
    return box;
}

void addDialogButtons(QDialog *dialog, QFormLayout *form, const QString &accept)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("Botoes"));
    buttons->button(QDialogButtonBox::Ok)->setText(accept);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    form->addRow(buttons);
}
