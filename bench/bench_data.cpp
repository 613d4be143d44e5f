// Write-through against plain SQL: 10,000 posts on TabRev1, each applied and
// committed at once, next to 10,000 single-row committed inserts.
#include "BenchRegistry.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
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

int runDataBench(const QStringList &)
{
    TestSuite suite;
    if (!suite.createMainDatabase())
        return 1;
    TDM dm;
    dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    const qint64 posts = timePosts(dm);
    const qint64 bare = timeBareInserts(suite);
    QTextStream out(stdout);
    out << "post_10000_ms: " << posts << '\n';
    out << "bare_insert_10000_ms: " << bare << '\n';
    out << "post_to_bare_ratio: " << QString::number(double(posts) / double(bare), 'f', 2) << '\n';
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("data", runDataBench);
