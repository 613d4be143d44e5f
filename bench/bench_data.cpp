// Write-through against plain SQL: 10,000 posts on TabRev1, each applied and
// committed at once, next to 10,000 single-row committed inserts; and reading
// 10,000 components exactly next to reading them through the driver's doubles.
#include "BenchRegistry.h"
#include "TDM.h"
#include "TableDefs.h"
#include "TestSuite.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

namespace {

constexpr int kRows = 10000;

qint64 timePosts(TDM &dm)
{
    ClientDataSet *ds = dm.TabRev1;
    ds->Open();
    ds->DisableControls();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kRows; ++i) {
        ds->Append();
        ds->FieldByName(QStringLiteral("CODIGO")).setAsString(QStringLiteral("P%1").arg(i, 6, 10, QLatin1Char('0')));
        ds->FieldByName(QStringLiteral("COMPONENTE")).setAsString(QStringLiteral("Produto de revenda nº %1").arg(i));
        ds->FieldByName(QStringLiteral("CODIGOEAN")).setAsString(QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')));
        ds->FieldByName(QStringLiteral("PRECO1")).setAsString(QStringLiteral("%1,90").arg(i % 300));
        ds->Post();
    }
    const qint64 ms = timer.elapsed();
    ds->EnableControls();
    if (ds->RecordCount() != kRows)
        qFatal("expected %d rows, read %d", kRows, ds->RecordCount());
    ds->Close();
    return ms;
}

qint64 timeBareInserts(TestSuite &suite)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), QStringLiteral("bench-bare"));
    db.setDatabaseName(suite.mainDatabasePath());
    db.setUserName(QStringLiteral("sysdba"));
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1252"));
    if (!db.open())
        qFatal("cannot open the benchmark database");
    qint64 ms = 0;
    {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) values (?, ?, ?, ?)"));
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kRows; ++i) {
            query.bindValue(0, QStringLiteral("P%1").arg(i, 6, 10, QLatin1Char('0')));
            query.bindValue(1, QStringLiteral("Produto de revenda nº %1").arg(i));
            query.bindValue(2, QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')));
            query.bindValue(3, QStringLiteral("%1.90").arg(i % 300));
            // Without an explicit transaction the driver commits every statement.
            if (!query.exec())
                qFatal("bare insert failed: %s", qPrintable(query.lastError().text()));
        }
        ms = timer.elapsed();
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("bench-bare"));
    return ms;
}

// Reading the components table, every one of its 26 decimal columns filled:
// through the data set, which reads each as the database's exact text, and
// through the driver alone, which hands each over through a double.
std::pair<qint64, qint64> timeComponentReads(TDM &dm, TestSuite &suite)
{
    QStringList decimals;
    for (const FieldDef &def : TableDefs::componen())
        if (def.type == FieldType::Decimal)
            decimals << def.name;
    suite.exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, %1) select CODIGO, COMPONENTE, 'REV', %2 from TABREV1")
                   .arg(decimals.join(QStringLiteral(", ")),
                        QStringList(decimals.size(), QStringLiteral("PRECO1 * 1000 + 0.12345678")).join(QStringLiteral(", "))));
    QElapsedTimer timer;
    timer.start();
    dm.Componentes->Open();
    if (dm.Componentes->RecordCount() != kRows)
        qFatal("expected %d components, read %d", kRows, dm.Componentes->RecordCount());
    const qint64 exact = timer.elapsed();
    dm.Componentes->Close();
    timer.restart();
    SqlConnection &connection = *dm.SQLConnection1;
    connection.acquire();
    {
        QSqlQuery query = connection.exec(dm.SQLDS_Compon->CommandText());
        const int columns = query.record().count();
        int rows = 0;
        for (; query.next(); ++rows)
            for (int i = 0; i < columns; ++i)
                query.value(i);
        if (rows != kRows)
            qFatal("expected %d components, read %d", kRows, rows);
    }
    connection.release();
    return {exact, timer.elapsed()};
}

int runDataBench(const QStringList &)
{
    TestSuite suite;
    if (!suite.createMainDatabase())
        return 1;
    TDM dm;
    dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    const qint64 posts = timePosts(dm);
    const qint64 bare = timeBareInserts(suite);
    const auto [exactReads, driverReads] = timeComponentReads(dm, suite);
    QTextStream out(stdout);
    out << "post_10000_ms: " << posts << '\n';
    out << "bare_insert_10000_ms: " << bare << '\n';
    out << "post_to_bare_ratio: " << QString::number(double(posts) / double(bare), 'f', 2) << '\n';
    out << "componen_read_10000_ms: " << exactReads << '\n';
    out << "componen_driver_read_10000_ms: " << driverReads << '\n';
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("data", runDataBench);
