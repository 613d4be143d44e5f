#pragma once

#include "ClientDataSet.h"
#include "DataSetProvider.h"
#include "DataSource.h"
#include "SqlConnection.h"
#include "SqlDataSet.h"
#include "SqlQuery.h"

#include <QObject>
#include <functional>

// The data module: both connections and, for each table, the chain of SQL data
// set, provider, client data set and data source. Everything else reaches the
// database through here.
class TDM : public QObject
{
    Q_OBJECT
public:
    explicit TDM(QObject *parent = nullptr);
    ~TDM() override;

    SqlConnection *SQLConnection1;
    SqlConnection *SQLConnection2;

    SqlDataSet *SQLDS_TabRev1, *SQLDS_TabRev2, *SQLDS_EtiqPar, *SQLDS_EtiqCorr, *SQLDS_Estacoes,
        *SQLDS_Compon, *SQLDS_Usuarios, *SQLDS_Compras, *SQLDS_Periodo;
    DataSetProvider *DSP_TabRev1, *DSP_TabRev2, *DSP_EtiqPar, *DSP_EtiqCorr, *DSP_Estacoes,
        *DSP_Compon, *DSP_Usuarios, *DSP_Compras, *DSP_Periodo;
    ClientDataSet *TabRev1, *TabRev2, *EtiqPar, *EtiqCorr, *Estacoes, *Componentes, *Usuarios, *Compras, *Periodo;
    DataSource *DS_TabRev1, *DS_TabRev2, *DS_EtiqPar, *DS_EtiqCorr, *DS_Compon, *DS_Usuarios, *DS_Compras,
        *DS_Periodo;
    SqlQuery *SQLQuery1;

    // Write-through: every post and delete is sent at once and the rows read again.
    void TabRev1AfterPost(ClientDataSet &dataSet);
    // Reads the list back after a change stored outside a job, in place of the
    // lazy re-read on the caller's thread; unset, the list is marked stale.
    std::function<void()> TabRev1Reread;
    // Stores a change posted outside a job off the caller's thread: set, the
    // post leaves the change pending for it to send, and it reads the list
    // back once the change is stored.
    std::function<void()> TabRev1Write;
    // What the clerk is told of a quantity the server did not take.
    static QString quantityCommitUnknownText(const QString &quantity, const QString &product);
    static QString quantityNotStoredText(const QString &quantity, const QString &product);
    void TabRev1AfterDelete(ClientDataSet &dataSet) { writeThrough(dataSet); }
    void TabRev2AfterPost(ClientDataSet &dataSet) { writeThrough(dataSet); }
    void TabRev2AfterDelete(ClientDataSet &dataSet) { writeThrough(dataSet); }
    void EtiqParAfterPost(ClientDataSet &dataSet) { writeThrough(dataSet); }
    void EtiqParAfterDelete(ClientDataSet &dataSet) { writeThrough(dataSet); }
    void EtiqCorrAfterPost(ClientDataSet &dataSet) { writeThrough(dataSet); }
    void EtiqCorrAfterDelete(ClientDataSet &dataSet) { writeThrough(dataSet); }

    // Model numbering of new ETIQPAR rows.
    void EtiqParBeforeInsert(ClientDataSet &dataSet);
    void EtiqParAfterInsert(ClientDataSet &dataSet);

private:
    static void writeThrough(ClientDataSet &dataSet);

    struct Chain
    {
        SqlDataSet *sql;
        DataSetProvider *provider;
        ClientDataSet *client;
    };
    Chain makeChain(const QString &table, const QString &clientName, const QString &sqlName, SqlConnection *connection,
                    const QString &commandText, const FieldDefs &defs, DataSetProvider::UpdateMode mode);

    int m_highestModel = 0;
};
