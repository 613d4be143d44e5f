#pragma once

#include <QObject>

class QComboBox;

// The closed model box takes no arrow, page or letter key and no wheel: each
// of them would change the label stock the next print goes to without the
// clerk noticing. The model changes by opening the list (click, Alt+Down, F4,
// Space) and choosing in it.
class ModelBoxGuard : public QObject
{
public:
    explicit ModelBoxGuard(QComboBox *box);

    static bool keepsItsChoice(const QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
