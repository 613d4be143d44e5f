#pragma once

class QDialog;
class QDoubleSpinBox;
class QFormLayout;
class QLocale;
class QSpinBox;
class QString;

// The fields the designer's dialogs and panels are made of, alike in each:
// lengths in millimetres to the hundredth, counts from one, and the buttons
// under them. Every number box shows and takes numbers as a Brazilian clerk
// writes them, whatever the machine's locale: "15,00 mm", no thousands
// grouping; the point a numeric keypad's decimal key gives is read as the comma.

QLocale formLocale();
QDoubleSpinBox *decimalBox(double minimum, double maximum, int decimals, const QString &suffix);
QDoubleSpinBox *millimetreBox(double value, double minimum = 0, double maximum = 2000);
// Offsets, either way of zero, in tenths of a millimetre a step.
QDoubleSpinBox *signedMillimetreBox(double value, double limit);
QSpinBox *countBox(int value, int maximum);
// OK (named `accept`) and "Cancelar" as the form's last row.
void addDialogButtons(QDialog *dialog, QFormLayout *form, const QString &accept);
