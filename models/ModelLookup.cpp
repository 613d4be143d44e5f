#include "ModelLookup.h"

#include "CurrentModel.h"
#include "TDM.h"

#include <QComboBox>
#include <QSignalBlocker>

ModelLookup::ModelLookup(TDM *dm, QComboBox *combo) : QObject(combo), m_dm(dm), m_combo(combo)
{
    setObjectName(QStringLiteral("ModelLookup"));
    for (DataSource *source : {dm->DS_EtiqPar, dm->DS_EtiqCorr}) {
        connect(source, &DataSource::dataChanged, this, &ModelLookup::refresh);
        connect(source, &DataSource::stateChanged, this, &ModelLookup::refresh);
    }
    refresh();
}

void ModelLookup::refresh()
{
    if (!m_combo)
        return;
    ClientDataSet *models = m_dm->EtiqPar;
    QStringList codes, descriptions;
    if (models->Active()) {
        const Field &modelo = models->FieldByName(QStringLiteral("MODELO"));
        const Field &descricao = models->FieldByName(QStringLiteral("DESCRICAO"));
        const int rows = models->RecordCount();
        for (int row = 0; row < rows; ++row) {
            codes << modelo.textOf(models->valueAt(row, modelo.Index()));
            descriptions << descricao.textOf(models->valueAt(row, descricao.Index()));
        }
    }
    const QString current = m_dm->EtiqCorr->Active()
                                ? m_dm->EtiqCorr->FieldByName(QStringLiteral("ModeloCorrente")).AsString()
                                : QString();

    // Filling the box is not a choice of the user's: nobody hears of it.
    const QSignalBlocker blocker(m_combo);
    QStringList shown;
    for (int i = 0; i < m_combo->count(); ++i)
        shown << m_combo->itemText(i);
    if (codes != m_codes || descriptions != shown) {
        m_combo->clear();
        m_combo->addItems(descriptions);
        m_codes = codes;
    }
    m_combo->setCurrentIndex(current.isEmpty() ? -1 : int(m_codes.indexOf(current)));
}

void ModelLookup::choose(int index)
{
    if (index < 0 || index >= m_codes.size())
        return;
    const QString chosen = m_codes.at(index);
    if (chosen != CurrentModel::code(*m_dm))
        CurrentModel::choose(*m_dm, chosen);
}
