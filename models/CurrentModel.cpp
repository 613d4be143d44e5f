#include "CurrentModel.h"

#include "ColumnLists.h"
#include "TDM.h"

#include <QComboBox>

namespace CurrentModel {

namespace {

Field &modeloCorrente(TDM &dm)
{
    return dm.EtiqCorr->FieldByName(QStringLiteral("ModeloCorrente"));
}

void openIfClosed(ClientDataSet *dataSet)
{
    if (!dataSet->Active())
        dataSet->Open();
}

} // namespace

QString modelStatement()
{
    return QStringLiteral("Select ") + EtiqParColumns + QStringLiteral(" from ETIQPAR order by MODELO");
}

void reselect(TDM &dm, QComboBox *combo)
{
    dm.EtiqPar->Close();
    dm.SQLDS_EtiqPar->setCommandText(modelStatement());
    dm.EtiqPar->Open();
    openIfClosed(dm.EtiqCorr);
    // An unknown code leaves EtiqPar where the search left it; nothing relies on it then.
    dm.EtiqPar->FindKey({modeloCorrente(dm).AsString()});
    if (combo) {
        combo->setFocus();
        combo->repaint();
    }
}

QString code(TDM &dm)
{
    openIfClosed(dm.EtiqCorr);
    return modeloCorrente(dm).AsString();
}

QString description(TDM &dm)
{
    const QString current = code(dm);
    openIfClosed(dm.EtiqPar);
    ClientDataSet *models = dm.EtiqPar;
    const Field &modelo = models->FieldByName(QStringLiteral("MODELO"));
    const Field &descricao = models->FieldByName(QStringLiteral("DESCRICAO"));
    // Read row by row without moving the cursor: the list's position is the user's.
    const int rows = models->RecordCount();
    for (int row = 0; row < rows; ++row)
        if (!current.isEmpty() && modelo.textOf(models->valueAt(row, modelo.Index())) == current)
            return descricao.textOf(models->valueAt(row, descricao.Index()));
    return QString();
}

void choose(TDM &dm, const QString &modelo)
{
    openIfClosed(dm.EtiqCorr);
    modeloCorrente(dm).setAsString(modelo);
}

} // namespace CurrentModel
