// The product list: building it from 5,000 and 10,000 resale products through
// the builder the button runs, with a log memo and a loading bar like the
// window's, next to the same number of bare single-row inserts (each committed,
// and all in one transaction as a build's job writes them), and
// the keystrokes of the name search on the larger list next to the bare select
// under them: keys with the list unchanged (a cheap check says so), the box's
// first key (the list read in its order), and keys each after another station
// changed a row (read again whole). A build that read the
// list again after every post would show a ratio near 4, not 2.
#include "BenchRegistry.h"

#include "ColumnLists.h"
#include "ClientDataSet.h"
#include "CurrentModel.h"
#include "Decimal.h"
#include "ProductListBuilder.h"
#include "ProductSearch.h"
#include "SuiteJob.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>
#include <functional>

namespace {

const QString kConnection = QStringLiteral("bench-list");

// The window's part of a build: the log in a memo and the loading bar, as the
// main window shows them (there they arrive from the build's worker).
class BenchDisplay : public ListBuildDisplay
{
public:
    BenchDisplay()
    {
        m_window.resize(632, 438);
        m_log.setGeometry(23, 24, 586, 321);
        m_log.hide(); // the build log is hidden unless the user asks for it
        m_bar.setGeometry(134, 353, 471, 20);
        m_window.show();
    }
    void logClear() override { m_log.clear(); }
    void logAppend(const QString &lines) override { m_log.appendPlainText(lines); }
    void loadingBegin(int maximum) override { m_bar.setRange(0, maximum); }
    void loadingSetValue(int value) override { m_bar.setValue(value); }

private:
    QWidget m_window;
    QPlainTextEdit m_log{&m_window};
    QProgressBar m_bar{&m_window};
};

QString productName(int i)
{
    static const char *const kinds[] = {"Sabonete", "Shampoo", "Creme", "Protetor solar", "Vitamina C", "Hidratante"};
    return QStringLiteral("%1 nº %2").arg(QLatin1String(kinds[i % 6])).arg(i, 5, 10, QLatin1Char('0'));
}

// The same product, row i, for COMPONEN and for the bare inserts into TABREV1:
// code, name, bar-code number and price, bound in that order.
void bindProduct(QSqlQuery &query, int i)
{
    query.bindValue(0, QStringLiteral("R%1").arg(i, 6, 10, QLatin1Char('0')));
    query.bindValue(1, productName(i));
    query.bindValue(2, QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')));
    query.bindValue(3, QStringLiteral("%1.90").arg(i % 300));
}

// Runs body with a connection of the benchmark's own on the suite's database.
void withDatabase(TestSuite &suite, const std::function<void(QSqlDatabase &)> &body)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), kConnection);
        db.setDatabaseName(suite.mainDatabasePath());
        db.setUserName(QStringLiteral("sysdba"));
        db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1252"));
        if (!db.open())
            qFatal("cannot open the benchmark database");
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(kConnection);
}

void seedProducts(TestSuite &suite, int count)
{
    withDatabase(suite, [count](QSqlDatabase &db) {
        db.transaction();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR) values (?, ?, 'REV', ?, ?)"));
        for (int i = 0; i < count; ++i) {
            bindProduct(query, i);
            if (!query.exec())
                qFatal("seeding COMPONEN failed");
        }
        db.commit();
    });
}

qint64 timeBuild(TDM &dm, int expected)
{
    BenchDisplay display;
    ProductListBuilder builder(dm, display);
    QElapsedTimer timer;
    timer.start();
    SuiteJob job(*dm.SQLConnection1, QStringLiteral("BE"), SuiteJob::Kind::ListBuild);
    builder.run(job);
    // The button ends by reselecting the model, which keeps the model data sets,
    // and so the connection, open for the searches that follow.
    CurrentModel::reselect(dm, nullptr);
    const qint64 ms = timer.elapsed();
    if (dm.TabRev1->RecordCount() != expected)
        qFatal("expected %d rows in the list, read %d", expected, dm.TabRev1->RecordCount());
    return ms;
}

qint64 timeBareInserts(TestSuite &suite, int count)
{
    qint64 ms = 0;
    withDatabase(suite, [&](QSqlDatabase &db) {
        QSqlQuery(db).exec(QStringLiteral("delete from TABREV1"));
        QSqlQuery query(db);
        query.prepare(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) values (?, ?, ?, ?)"));
        QElapsedTimer timer;
        timer.start();
        // Without an explicit transaction the driver commits every statement.
        for (int i = 0; i < count; ++i) {
            bindProduct(query, i);
            if (!query.exec())
                qFatal("bare insert failed: %s", qPrintable(query.lastError().text()));
        }
        ms = timer.elapsed();
    });
    return ms;
}

// The floor under a build in one transaction: the same inserts with plain SQL,
// committed once at the end.
qint64 timeBareBatchInserts(TestSuite &suite, int count)
{
    qint64 ms = 0;
    withDatabase(suite, [&](QSqlDatabase &db) {
        QSqlQuery(db).exec(QStringLiteral("delete from TABREV1"));
        QElapsedTimer timer;
        timer.start();
        db.transaction();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) values (?, ?, ?, ?)"));
        for (int i = 0; i < count; ++i) {
            bindProduct(query, i);
            if (!query.exec())
                qFatal("bare insert failed: %s", qPrintable(query.lastError().text()));
        }
        query.clear();
        db.commit();
        ms = timer.elapsed();
    });
    return ms;
}

const QString kTyped = QStringLiteral("Vitamina C nº 0");

// The quantity the list in hand shows for a code, as text ("3" for 3.000).
QString quantityOf(ClientDataSet &list, const QString &code)
{
    const int codeColumn = 0, quantityColumn = 2; // CODIGO, COMPONENTE, QDE, ...
    for (int row = 0; row < list.RecordCount(); ++row)
        if (list.valueAt(row, codeColumn).toString() == code)
            return list.valueAt(row, quantityColumn).value<Decimal>().toPlainString().section(QLatin1Char('.'), 0, 0);
    return QString();
}

struct KeystrokeFigures
{
    double firstMs = 0;     // the box's first key: the list is read in the box's order
    double unchangedMs = 0; // the keys after it, nothing changed meanwhile
    double changedMs = 0;   // the same keys, each after another station changed one row
};

// A user typing "Vitamina C nº 0" into the name box, one keystroke at a time;
// then again with another station storing a quantity before every key.
KeystrokeFigures timeKeystrokes(TDM &dm, TestSuite &suite)
{
    const QString &typed = kTyped;
    KeystrokeFigures figures;
    QElapsedTimer timer;
    timer.start();
    ProductSearch::reload(dm, ProductSearch::Column::Componente, typed.left(1));
    figures.firstMs = double(timer.nsecsElapsed()) / 1e6;
    timer.start();
    for (int n = 2; n <= typed.size(); ++n)
        ProductSearch::reload(dm, ProductSearch::Column::Componente, typed.left(n));
    figures.unchangedMs = double(timer.nsecsElapsed()) / 1e6 / (typed.size() - 1);
    if (!dm.TabRev1->FieldByName(QStringLiteral("Componente")).AsString().startsWith(typed))
        qFatal("the search did not land on a matching product");

    withDatabase(suite, [&](QSqlDatabase &other) {
        QSqlQuery store(other);
        store.prepare(QStringLiteral("update TABREV1 set QDE = ? where CODIGO = ?"));
        qint64 ns = 0;
        for (int n = 1; n <= typed.size(); ++n) {
            store.bindValue(0, n);
            store.bindValue(1, QStringLiteral("R%1").arg(n * 7, 6, 10, QLatin1Char('0')));
            if (!store.exec())
                qFatal("the other station's update failed: %s", qPrintable(store.lastError().text()));
            timer.start();
            ProductSearch::reload(dm, ProductSearch::Column::Componente, typed.left(n));
            ns += timer.nsecsElapsed();
            if (quantityOf(*dm.TabRev1, QStringLiteral("R%1").arg(n * 7, 6, 10, QLatin1Char('0'))) != QString::number(n))
                qFatal("the keystroke after another station's change did not read it");
        }
        figures.changedMs = double(ns) / 1e6 / typed.size();
    });
    return figures;
}

// The floor under a keystroke: the select the name box sets, sent through the
// same driver on the same connection, every row fetched and every value taken,
// nothing else done. Timed as many times as the keystrokes are.
double timeBareSelects(TDM &dm)
{
    QSqlDatabase &db = dm.SQLConnection1->acquire();
    const QString statement = ProductSearch::statementFor(ProductSearch::Column::Componente);
    QElapsedTimer timer;
    timer.start();
    qint64 cells = 0;
    for (int n = 0; n < kTyped.size(); ++n) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.exec(statement))
            qFatal("bare select failed: %s", qPrintable(query.lastError().text()));
        const int columns = query.record().count();
        while (query.next()) {
            for (int c = 0; c < columns; ++c)
                cells += query.value(c).isNull() ? 0 : 1;
        }
    }
    const double ms = double(timer.elapsed()) / kTyped.size();
    dm.SQLConnection1->release();
    if (cells == 0)
        qFatal("the bare select read nothing");
    return ms;
}

struct BuildFigures
{
    qint64 buildMs = 0;
    qint64 bareMs = 0;
    qint64 bareBatchMs = 0;
    KeystrokeFigures keystrokes;
    double bareSelectMs = 0;
};

BuildFigures measureOnce(int products, TestSuite::Writes writes)
{
    TestSuite suite;
    if (!suite.createMainDatabase(writes))
        qFatal("cannot create the benchmark database");
    seedProducts(suite, products);
    BuildFigures figures;
    TDM dm;
    dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    figures.buildMs = timeBuild(dm, products);
    figures.keystrokes = timeKeystrokes(dm, suite);
    figures.bareSelectMs = timeBareSelects(dm);
    dm.TabRev1->Close();
    dm.EtiqPar->Close();
    dm.EtiqCorr->Close();
    figures.bareMs = timeBareInserts(suite, products);
    figures.bareBatchMs = timeBareBatchInserts(suite, products);
    return figures;
}

// The machine is shared: each figure is the best of a few runs, each on a fresh database.
BuildFigures measure(int products, TestSuite::Writes writes, int runs)
{
    BuildFigures best = measureOnce(products, writes);
    for (int run = 1; run < runs; ++run) {
        const BuildFigures next = measureOnce(products, writes);
        best.buildMs = qMin(best.buildMs, next.buildMs);
        best.bareMs = qMin(best.bareMs, next.bareMs);
        best.bareBatchMs = qMin(best.bareBatchMs, next.bareBatchMs);
        best.keystrokes.firstMs = qMin(best.keystrokes.firstMs, next.keystrokes.firstMs);
        best.keystrokes.unchangedMs = qMin(best.keystrokes.unchangedMs, next.keystrokes.unchangedMs);
        best.keystrokes.changedMs = qMin(best.keystrokes.changedMs, next.keystrokes.changedMs);
        best.bareSelectMs = qMin(best.bareSelectMs, next.bareSelectMs);
    }
    return best;
}

QString ratio(qint64 a, qint64 b)
{
    return QString::number(double(a) / double(b), 'f', 2);
}

// "selvar-bench list" measures 5,000 and 10,000 products; "selvar-bench list N" N and 2N.
// With --forced-writes the databases keep Firebird's forced writes on, as a
// pharmacy's does: one run of each size, and the larger one again with async
// writes next to it.
int runListBench(const QStringList &args)
{
    setColumnLists();
    QStringList rest = args;
    const bool forced = rest.removeAll(QStringLiteral("--forced-writes")) > 0;
    const int half = rest.isEmpty() ? 5000 : qMax(10, rest.first().toInt());
    const auto writes = forced ? TestSuite::Writes::Forced : TestSuite::Writes::Async;
    const int runs = forced ? 1 : 5;
    const BuildFigures small = measure(half, writes, runs);
    const BuildFigures large = measure(2 * half, writes, runs);
    const QString prefix = forced ? QStringLiteral("forced_writes_") : QString();
    QTextStream out(stdout);
    out << prefix << "list_build_" << half << "_ms: " << small.buildMs << '\n';
    out << prefix << "list_build_" << 2 * half << "_ms: " << large.buildMs << '\n';
    out << prefix << "list_build_ratio: " << ratio(large.buildMs, small.buildMs) << '\n';
    out << prefix << "bare_insert_" << 2 * half << "_ms: " << large.bareMs << '\n';
    out << prefix << "bare_batch_insert_" << 2 * half << "_ms: " << large.bareBatchMs << '\n';
    out << prefix << "list_build_to_bare_batch_insert_" << 2 * half << ": " << ratio(large.buildMs, large.bareBatchMs) << '\n';
    out << prefix << "bare_select_" << 2 * half << "_ms: " << QString::number(large.bareSelectMs, 'f', 1) << '\n';
    const KeystrokeFigures &keys = large.keystrokes;
    out << prefix << "search_keystroke_" << 2 * half << "_ms: " << QString::number(keys.unchangedMs, 'f', 1) << '\n';
    out << prefix << "search_first_keystroke_" << 2 * half << "_ms: " << QString::number(keys.firstMs, 'f', 1) << '\n';
    out << prefix << "search_keystroke_list_changed_" << 2 * half << "_ms: " << QString::number(keys.changedMs, 'f', 1) << '\n';
    out << prefix << "search_keystroke_list_changed_to_bare_select_" << 2 * half << ": "
        << QString::number(keys.changedMs / large.bareSelectMs, 'f', 2) << '\n';
    if (forced) {
        const BuildFigures async = measure(2 * half, TestSuite::Writes::Async, 3);
        out << "list_build_" << 2 * half << "_ms: " << async.buildMs << '\n';
        out << "forced_writes_to_async_list_build_" << 2 * half << ": " << ratio(large.buildMs, async.buildMs) << '\n';
    }
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("list", runListBench);
