#include "FormFields.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>

namespace {

// The window redoes with both keys people use, whichever the platform calls its own.
bool isRedoKey(const QKeyEvent *key)
{
    const QKeyCombination pressed = key->keyCombination();
    return key->matches(QKeySequence::Redo) || pressed == QKeyCombination(Qt::CTRL | Qt::Key_Y) ||
           pressed == QKeyCombination(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
}

// Ctrl+Z in a box with nothing typed pending is meant for the work, not for
// the box: the shortcut is left to the window, whose undo takes back what
// the box last changed (and shows it in the box). With typing not yet taken
// (a box that takes its value on Enter or when left), Ctrl+Z puts the box
// back to the value it holds, and the work is left alone.
template<typename Box>
class UndoAwareBox : public Box
{
public:
    UndoAwareBox() { this->setLocale(formLocale()); }

    bool event(QEvent *event) override
    {
        const bool override = event->type() == QEvent::ShortcutOverride;
        if (!override && event->type() != QEvent::KeyPress)
            return Box::event(event);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        if (!undo && !isRedoKey(key))
            return Box::event(event);
        const QString taken = this->prefix() + this->textFromValue(this->value()) + this->suffix();
        if (this->text() == taken) {
            if (!override)
                return Box::event(event);
            event->ignore();
            return true;
        }
        if (override)
            event->accept();
        else if (undo)
            this->lineEdit()->setText(taken);
        return true;
    }
};

class KeypadDecimalBox : public UndoAwareBox<QDoubleSpinBox>
{
public:
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
    auto *box = new UndoAwareBox<QSpinBox>;
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
