#include "SuiteData.h"

#include "ClientDataSet.h"
#include "DataSetProvider.h"
#include "SqlConnection.h"
#include "SqlDataSet.h"
#include "SuiteIni.h"
#include "SuitePaths.h"
#include "TableDefs.h"
#include "TRvDataSetConnection.h"
#include "UserName.h"
#include "UserStation.h"

#include <QFileInfo>
#include <QTcpSocket>


namespace {

// The list as the label program leaves it and reads it, by name then code.
QList<LabelRecord> firstProducts(SqlConnection &connection, int count)
{
    const FieldDefs defs = TableDefs::tabRev();
    SqlDataSet select(QStringLiteral("SQLDS_TabRev1"), &connection,
                      QStringLiteral("select first %1 %2 from TABREV1 order by COMPONENTE, CODIGO")
                          .arg(count)
                          .arg(TableDefs::columnList(defs)));
    DataSetProvider provider(QStringLiteral("DSP_TabRev1"), &select, DataSetProvider::UpdateMode::WhereKeyOnly);
    ClientDataSet list(QStringLiteral("TabRev1"), &provider, defs);
    // Through the report's own connection, so every value shows as it prints.
    TRvDataSetConnection rows(QStringLiteral("RvDataSetConnection1"));
    rows.setDataSet(&list);
    QList<LabelRecord> products = rows.rows();
    list.Close();
    return products;
}

} // namespace

bool suiteServerAnswers(const QString &server)
{
    const QStringList parts = server.split(QLatin1Char('/'));
    bool ok = false;
    const int port = parts.value(1).toInt(&ok);
    QTcpSocket socket;
    socket.connectToHost(parts.first(), ok ? quint16(port) : quint16(3050));
    return socket.waitForConnected(SuiteConnectTimeoutMs);
}

SuiteData readSuiteData(int productCount)
{
    SuiteData data;
    SqlConnection connection(QStringLiteral("SQLConnection1"), QStringLiteral("BoticonDados"));
    try {
        const QString exeFolder = SuiteIni::exeFolder();
        const std::optional<QString> server = SuiteIni::serverAddress(exeFolder);
        if (!server) {
            data.problem = QStringLiteral("BOTICON.INI não encontrado");
            return data;
        }
        connection.setDataBase(SuiteIni::mainDatabase(*server));
        if (!connection.embedded() && !suiteServerAnswers(*server)) {
            data.problem = QStringLiteral("o servidor %1 não responde").arg(*server);
            return data;
        }
        // Spares starting the embedded engine only to hear that the file is not there.
        if (connection.embedded() && !QFileInfo(connection.attachName()).isFile()) {
            data.problem = QStringLiteral("banco de dados não encontrado");
            return data;
        }
        const SqlConnection::Use held(connection);
        data.database = connection.DataBase();
        data.products = firstProducts(connection, productCount);
        if (data.products.isEmpty())
            data.problem = QStringLiteral("a lista de produtos está vazia");
        if (const std::optional<UserStation::Row> station = UserStation::find(connection, currentUserName())) {
            data.stationFolder = SuitePaths::toNative(exeFolder + QStringLiteral("Interfac") + station->code);
            data.stationPrinter = station->printer;
        }
    } catch (const std::exception &) {
        // Whatever the file or the database said, the designer works on with what it has.
        data.problem = QStringLiteral("banco de dados indisponível");
    }
    return data;
}

BackgroundTask *startSuiteDataRead(QObject *owner, int productCount, std::function<void(const SuiteData &)> done)
{
    return startTask<SuiteData>(owner, SuiteConnectTimeoutMs + 1000, [productCount] { return readSuiteData(productCount); },
                                std::move(done));
}
