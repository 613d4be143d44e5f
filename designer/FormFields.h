#pragma once

class QDialog;
class QDoubleSpinBox;
class QFormLayout;
class QSpinBox;
class QString;

// The fields the designer's dialogs are made of, alike in each: lengths in
// millimetres to the hundredth, counts from one, and the buttons under them.

QDoubleSpinBox *millimetreBox(double value, double minimum = 0, double maximum = 2000);
QSpinBox *countBox(int value, int maximum);
// OK (named `accept`) and "Cancelar" as the form's last row.
void addDialogButtons(QDialog *dialog, QFormLayout *form, const QString &accept);
