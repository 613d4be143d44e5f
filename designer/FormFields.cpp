#include "FormFields.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

namespace {

class KeypadDecimalBox : public QDoubleSpinBox
{
public:
    KeypadDecimalBox() { setLocale(formLocale()); }

    QValidator::State validate(QString &text, int &position) const override
    {
        // Same length, so the cursor stays where it was.
        text.replace(QLatin1Char('.'), locale().decimalPoint());
        return QDoubleSpinBox::validate(text, position);
    }
};

} // namespace

QLocale formLocale()
{
    QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QDoubleSpinBox *decimalBox(double minimum, double maximum, int decimals, const QString &suffix)
{
    QDoubleSpinBox *box = new KeypadDecimalBox;
    box->setRange(minimum, maximum);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    return box;
}

QDoubleSpinBox *millimetreBox(double value, double minimum, double maximum)
{
    QDoubleSpinBox *box = decimalBox(minimum, maximum, 2, QStringLiteral(" mm"));
    box->setSingleStep(0.5);
    box->setValue(value);
    return box;
}

QDoubleSpinBox *signedMillimetreBox(double value, double limit)
{
    QDoubleSpinBox *box = millimetreBox(value, -limit, limit);
    box->setSingleStep(0.1);
    return box;
}

QSpinBox *countBox(int value, int maximum)
{
    auto *box = new QSpinBox;
    box->setLocale(formLocale());
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
