#pragma once

#include <QObject>
#include <QComboBox>
#include <QPointer>
#include <QStringList>

class TDM;

// Makes a combo box the current-model lookup list: its items are the
// descriptions of the ETIQPAR rows in the order EtiqPar holds them, its key the
// MODELO of each row, and the item shown the one whose code equals
// MODELOCORRENTE of EtiqCorr (none, an empty text, when no model has that code).
// It follows both data sets as they are read again or changed.
class ModelLookup : public QObject
{
    Q_OBJECT
public:
    ModelLookup(TDM *dm, QComboBox *combo);

    QComboBox *combo() const { return m_combo; }

    // Reads the list and the current code again into the combo.
    void refresh();

    // The user picked the item at index: its code becomes the current model.
    void choose(int index);

private:
    TDM *m_dm;
    QPointer<QComboBox> m_combo;
    QStringList m_codes;
};
