#include "TDM.h"

#include "DatabaseErrors.h"
#include "SelvarError.h"
#include "TableDefs.h"

namespace {

QString selectOf(const FieldDefs &defs, const QString &table, const QString &tail = QString())
{
    return QStringLiteral("select %1 from %2%3").arg(TableDefs::columnList(defs), table, tail);
}

} // namespace

TDM::Chain TDM::makeChain(const QString &table, const QString &clientName, const QString &sqlName,
                          SqlConnection *connection, const QString &commandText, const FieldDefs &defs,
                          DataSetProvider::UpdateMode mode)
{
    Chain chain;
    chain.sql = new SqlDataSet(sqlName, connection, commandText, this);
    chain.provider = new DataSetProvider(QStringLiteral("DSP_") + table, chain.sql, mode, this);
    chain.client = new ClientDataSet(clientName, chain.provider, defs, this);
    return chain;
}

TDM::TDM(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DM"));
    SQLConnection1 = new SqlConnection(QStringLiteral("SQLConnection1"), QStringLiteral("BoticonDados"), this);
    SQLConnection2 = new SqlConnection(QStringLiteral("SQLConnection2"), QStringLiteral("Interfac"), this);

    using Mode = DataSetProvider::UpdateMode;
    auto chain = [this](const QString &name, const QString &sqlName, const QString &providerSuffix,
                        SqlConnection *connection, const QString &sql, const FieldDefs &defs, Mode mode) {
        return makeChain(providerSuffix, name, sqlName, connection, sql, defs, mode);
    };

    Chain c = chain(QStringLiteral("TabRev1"), QStringLiteral("SQLDS_TabRev1"), QStringLiteral("TabRev1"), SQLConnection1,
                    selectOf(TableDefs::tabRev(), QStringLiteral("TABREV1")), TableDefs::tabRev(), Mode::WhereKeyOnly);
    SQLDS_TabRev1 = c.sql; DSP_TabRev1 = c.provider; TabRev1 = c.client;
    // The list is read whole on every key typed in a search box, by every station.
    DSP_TabRev1->setVersionStamped(true);
    c = chain(QStringLiteral("TabRev2"), QStringLiteral("SQLDS_TabRev2"), QStringLiteral("TabRev2"), SQLConnection1,
              selectOf(TableDefs::tabRev(), QStringLiteral("TABREV2")), TableDefs::tabRev(), Mode::WhereKeyOnly);
    SQLDS_TabRev2 = c.sql; DSP_TabRev2 = c.provider; TabRev2 = c.client;
    c = chain(QStringLiteral("EtiqPar"), QStringLiteral("SQLDS_EtiqPar"), QStringLiteral("EtiqPar"), SQLConnection1,
              selectOf(TableDefs::etiqPar(), QStringLiteral("ETIQPAR")), TableDefs::etiqPar(), Mode::WhereKeyOnly);
    SQLDS_EtiqPar = c.sql; DSP_EtiqPar = c.provider; EtiqPar = c.client;
    c = chain(QStringLiteral("EtiqCorr"), QStringLiteral("SQLDS_EtiqCorr"), QStringLiteral("EtiqCorr"), SQLConnection1,
              selectOf(TableDefs::etiqCorr(), QStringLiteral("ETIQCORR")), TableDefs::etiqCorr(), Mode::WhereAll);
    SQLDS_EtiqCorr = c.sql; DSP_EtiqCorr = c.provider; EtiqCorr = c.client;
    c = chain(QStringLiteral("Estacoes"), QStringLiteral("SQLDS_Estacoes"), QStringLiteral("Estacoes"), SQLConnection1,
              selectOf(TableDefs::estacoes(), QStringLiteral("ESTACOES"), QStringLiteral(" order by ESTACAO")),
              TableDefs::estacoes(), Mode::WhereKeyOnly);
    SQLDS_Estacoes = c.sql; DSP_Estacoes = c.provider; Estacoes = c.client;
    c = chain(QStringLiteral("Componentes"), QStringLiteral("SQLDS_Compon"), QStringLiteral("Compon"), SQLConnection1,
              selectOf(TableDefs::componen(), QStringLiteral("COMPONEN")), TableDefs::componen(), Mode::WhereKeyOnly);
    SQLDS_Compon = c.sql; DSP_Compon = c.provider; Componentes = c.client;
    c = chain(QStringLiteral("Usuarios"), QStringLiteral("SQLDS_Usuarios"), QStringLiteral("Usuarios"), SQLConnection1,
              selectOf(TableDefs::usuarios(), QStringLiteral("USUARIOS"), QStringLiteral(" order by USUARIO")),
              TableDefs::usuarios(), Mode::WhereKeyOnly);
    SQLDS_Usuarios = c.sql; DSP_Usuarios = c.provider; Usuarios = c.client;
    c = chain(QStringLiteral("Compras"), QStringLiteral("SQLDS_Compras"), QStringLiteral("Compras"), SQLConnection1,
              selectOf(TableDefs::compras(), QStringLiteral("COMPRAS")), TableDefs::compras(), Mode::WhereKeyOnly);
    SQLDS_Compras = c.sql; DSP_Compras = c.provider; Compras = c.client;
    c = chain(QStringLiteral("Periodo"), QStringLiteral("SQLDS_Periodo"), QStringLiteral("Periodo"), SQLConnection2,
              selectOf(TableDefs::periodo(), QStringLiteral("PERIODO")), TableDefs::periodo(), Mode::WhereAll);
    SQLDS_Periodo = c.sql; DSP_Periodo = c.provider; Periodo = c.client;

    DS_TabRev1 = new DataSource(QStringLiteral("DS_TabRev1"), TabRev1, this);
    DS_TabRev2 = new DataSource(QStringLiteral("DS_TabRev2"), TabRev2, this);
    DS_EtiqPar = new DataSource(QStringLiteral("DS_EtiqPar"), EtiqPar, this);
    DS_EtiqCorr = new DataSource(QStringLiteral("DS_EtiqCorr"), EtiqCorr, this);
    DS_Compon = new DataSource(QStringLiteral("DS_Compon"), Componentes, this);
    DS_Usuarios = new DataSource(QStringLiteral("DS_Usuarios"), Usuarios, this);
    DS_Compras = new DataSource(QStringLiteral("DS_Compras"), Compras, this);
    DS_Compras->setAutoEdit(false);
    DS_Periodo = new DataSource(QStringLiteral("DS_Periodo"), Periodo, this);

    SQLQuery1 = new SqlQuery(QStringLiteral("SQLQuery1"), SQLConnection1, this);

    TabRev1->AfterPost = [this](ClientDataSet &d) { TabRev1AfterPost(d); };
    TabRev1->AfterDelete = [this](ClientDataSet &d) { TabRev1AfterDelete(d); };
    TabRev2->AfterPost = [this](ClientDataSet &d) { TabRev2AfterPost(d); };
    TabRev2->AfterDelete = [this](ClientDataSet &d) { TabRev2AfterDelete(d); };
    EtiqPar->AfterPost = [this](ClientDataSet &d) { EtiqParAfterPost(d); };
    EtiqPar->AfterDelete = [this](ClientDataSet &d) { EtiqParAfterDelete(d); };
    EtiqPar->BeforeInsert = [this](ClientDataSet &d) { EtiqParBeforeInsert(d); };
    EtiqPar->AfterInsert = [this](ClientDataSet &d) { EtiqParAfterInsert(d); };
    EtiqCorr->AfterPost = [this](ClientDataSet &d) { EtiqCorrAfterPost(d); };
    EtiqCorr->AfterDelete = [this](ClientDataSet &d) { EtiqCorrAfterDelete(d); };
}

// Close every data set before the chains are torn down, so no data set
// outlives the connection it holds open.
TDM::~TDM()
{
    for (ClientDataSet *ds : {TabRev1, TabRev2, EtiqPar, EtiqCorr, Estacoes, Componentes, Usuarios, Compras, Periodo})
        ds->Close();
    SQLQuery1->Close();
}

void TDM::writeThrough(ClientDataSet &dataSet)
{
    dataSet.ApplyUpdates(-1);
    dataSet.Refresh();
}

void TDM::TabRev1AfterPost(ClientDataSet &dataSet)
{
    // Inside a job the rows are uncommitted: only this attachment sees them.
    if (!TabRev1Reread || SQLConnection1->InTransaction()) {
        writeThrough(dataSet);
        return;
    }
    if (TabRev1Write) {
        TabRev1Write();
        return;
    }
    // A statement that met a dropped attachment wrote nothing and was tried
    // again on a new one; what reaches here is a server still away, or a
    // commit lost on the way. Either way the quantity stays pending.
    const auto typed = [&dataSet] {
        return std::make_pair(dataSet.FieldByName(QStringLiteral("QDE")).AsString(),
                              dataSet.FieldByName(QStringLiteral("COMPONENTE")).AsString());
    };
    try {
        dataSet.ApplyUpdates(-1);
    } catch (const CommitUnknown &error) {
        const auto [quantity, product] = typed();
        throw CommitUnknown(quantityCommitUnknownText(quantity, product), error.nativeCode());
    } catch (const DatabaseError &error) {
        if (!isConnectionFailure(error))
            throw;
        const auto [quantity, product] = typed();
        throw ConnectionLost(quantityNotStoredText(quantity, product), error.nativeCode());
    }
    if (dataSet.ChangeCount() > 0)
        dataSet.Refresh(); // fails as the write-through fails for a refused change
    TabRev1Reread();
}

QString TDM::quantityCommitUnknownText(const QString &quantity, const QString &product)
{
    return QStringLiteral("A conexão com o servidor caiu enquanto a quantidade %1 de %2 era gravada, e não se sabe se "
                          "ela foi gravada. Confira a quantidade na lista quando a conexão voltar.")
        .arg(quantity, product);
}

QString TDM::quantityNotStoredText(const QString &quantity, const QString &product)
{
    return QStringLiteral("A conexão com o servidor foi perdida e ainda não voltou; a quantidade %1 de %2 não foi "
                          "gravada. Digite-a de novo quando a conexão voltar.")
        .arg(quantity, product);
}

void TDM::EtiqParBeforeInsert(ClientDataSet &)
{
    m_highestModel = 0;
    SQLQuery1->Close();
    SQLQuery1->setSQL(QStringLiteral("Select Max(MODELO) as Maior from ETIQPAR"));
    SQLQuery1->Open();
    try {
        m_highestModel = SQLQuery1->AsInteger(QStringLiteral("MAIOR"));
    } catch (const SelvarError &) {
        // A null maximum (no models yet) or a code that is not a number: start at 01.
        m_highestModel = 0;
    }
    SQLQuery1->Close();
}

void TDM::EtiqParAfterInsert(ClientDataSet &dataSet)
{
    dataSet.FieldByName(QStringLiteral("MODELO")).setAsString(QString::number(m_highestModel + 1).rightJustified(2, QLatin1Char('0')));
}
