#pragma once

#include <QString>

class QComboBox;
class TDM;

// The current label model: the code in the single ETIQCORR row and the ETIQPAR
// row it names. A choice made in the drop-down list lives only in the open
// EtiqCorr data set (it is never posted), so it lasts until the program ends and
// other workstations keep their own.
namespace CurrentModel {

// "Select MODELO, DESCRICAO, ... from ETIQPAR order by MODELO", from EtiqParColumns.
QString modelStatement();

// Reads the model list again, positions EtiqPar on the current model and gives
// the drop-down list the focus. An open EtiqCorr keeps its row and any choice.
void reselect(TDM &dm, QComboBox *combo);

// MODELOCORRENTE as held by EtiqCorr, the user's unsaved choice included; the
// data sets are opened when closed.
QString code(TDM &dm);

// DESCRICAO of the model whose MODELO equals the current code, as the drop-down
// list shows it; empty when no model has that code. Printing picks its output from it.
QString description(TDM &dm);

// Puts a model code into MODELOCORRENTE of the open EtiqCorr row, without storing it.
void choose(TDM &dm, const QString &modelo);

} // namespace CurrentModel
