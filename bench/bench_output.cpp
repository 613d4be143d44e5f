// The label job through the code "Etiquetas com preços" runs: expanding a list
// into 5,000 and 10,000 label rows (a job in one transaction, lock included),
// the same number of bare inserts for comparison (each committed, and all in
// one transaction), and the thermal output of 10,000 labels. With
// --forced-writes: the 10,000-label expansion on a database with Firebird's
// forced writes on, as a pharmacy keeps it, next to the same with async writes.
// With --million: a job of 1,000,002 labels written and read back, its order checked.
#include "BenchRegistry.h"
#include "HandOverIdle.h"
#include "HistoryBench.h"
#include "JobProgress.h"
#include "LabelJobExpansion.h"
#include "LabelNumbers.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "SuiteJob.h"
#include "TDM.h"
#include "TestSuite.h"
#include "ThermalOutput.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <limits>

namespace {

constexpr int kProducts = 1000;

// A product list of kProducts rows asking labelsEach labels apiece.
void fillList(TestSuite &suite, int labelsEach)
{
    suite.exec(QStringLiteral("delete from TABREV1"));
    for (int i = 0; i < kProducts; ++i)
        suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) values (?, ?, ?, ?, ?)"),
                   {QStringLiteral("R%1").arg(i, 5, 10, QLatin1Char('0')),
                    QStringLiteral("Produto de revenda com nome comprido nº %1").arg(i), labelsEach,
                    QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')), QStringLiteral("%1.90").arg(i % 300)});
}

// One print's expansion, lock and transaction included, as the button runs it.
qint64 expandOnce(TDM &dm, JobProgress &progress)
{
    SuiteJob job(*dm.SQLConnection1, QStringLiteral("BE"), SuiteJob::Kind::Print);
    return LabelJobExpansion(dm).run(QString(), progress, job);
}

// Each job replaces one of its own size, as a reprint does, and that one had
// replaced one of its own size too: the old versions a job's delete leaves are
// cleaned up by the next job's delete, so every timed run pays for exactly one
// job's worth of both, whatever size ran before. The best of five runs, since
// the machine is shared.
qint64 timeExpansion(TestSuite &suite, TDM &dm, int labels, int runs = 5)
{
    fillList(suite, labels / kProducts);
    suite.disconnect();
    dm.TabRev1->Close();
    NoJobProgress quiet;
    expandOnce(dm, quiet);
    expandOnce(dm, quiet);
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const qint64 written = expandOnce(dm, quiet);
        best = std::min(best, timer.elapsed());
        if (qEnvironmentVariableIsSet("SELVAR_BENCH_VERBOSE"))
            QTextStream(stderr) << labels << " run " << run << ": " << timer.elapsed() << " ms\n";
        if (written != labels)
            qFatal("expected %d labels, wrote %lld", labels, written);
    }
    return best;
}

// The floor under any expansion: the same inserts, prepared once and each
// committed on its own, with no data set around them.
qint64 timeBareInserts(TDM &dm, int rows)
{
    SqlConnection &connection = *dm.SQLConnection1;
    connection.ExecuteDirect(QStringLiteral("delete from TABREV2"));
    connection.acquire();
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= rows; ++i)
        connection.execWrite(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) values (?, ?, ?, ?)"),
                             {QString::number(i).rightJustified(6, QLatin1Char('0')), QStringLiteral("Produto nº %1").arg(i),
                              QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')), QStringLiteral("12.90")});
    const qint64 ms = timer.elapsed();
    connection.release();
    return ms;
}

// The floor under a job in one transaction: the same inserts, prepared once,
// committed together at the end.
qint64 timeBareBatchInserts(TDM &dm, int rows)
{
    SqlConnection &connection = *dm.SQLConnection1;
    connection.ExecuteDirect(QStringLiteral("delete from TABREV2"));
    QElapsedTimer timer;
    timer.start();
    connection.BeginTransaction();
    for (int i = 1; i <= rows; ++i)
        connection.execWrite(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) values (?, ?, ?, ?)"),
                             {QString::number(i).rightJustified(6, QLatin1Char('0')), QStringLiteral("Produto nº %1").arg(i),
                              QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')), QStringLiteral("12.90")});
    connection.CommitTransaction();
    return timer.elapsed();
}

qint64 bestBareBatchInserts(TDM &dm, int rows)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run)
        best = std::min(best, timeBareBatchInserts(dm, rows));
    return best;
}

// One 10,000-label expansion on a fresh database with the given writes.
qint64 expansionOn(TestSuite::Writes writes, int runs)
{
    TestSuite suite;
    if (!suite.createMainDatabase(writes))
        qFatal("cannot create the benchmark database");
    TDM dm;
    dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    return timeExpansion(suite, dm, 10000, runs);
}

int forcedWritesOutput()
{
    QTextStream out(stdout);
    const qint64 forced = expansionOn(TestSuite::Writes::Forced, 1);
    out << "forced_writes_expand_10000_ms: " << forced << Qt::endl;
    const qint64 async = expansionOn(TestSuite::Writes::Async, 3);
    out << "expand_10000_ms: " << async << Qt::endl;
    out << "forced_writes_to_async_expand_10000: " << QString::number(double(forced) / double(qMax<qint64>(async, 1)), 'f', 2)
        << Qt::endl;
    return 0;
}

// The command files are built and written, the batch runs counted, not run:
// thousands of shells would time the operating system rather than the output.
qint64 timeThermal(TestSuite &suite, TDM &dm, int *starts, qint64 *buildMs)
{
    QDir(suite.root()).mkpath(QStringLiteral("InterfacBE"));
    const QString workFolder = QDir::toNativeSeparators(suite.path(QStringLiteral("InterfacBE")));
    QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
    batch.open(QIODevice::WriteOnly);
    batch.close();
    const auto previous = ProcessStarter::setStarter([starts](const QString &, const QStringList &) {
        ++*starts;
        return true;
    });
    PrintHandOver handOver;
    dm.TabRev2->Open();
    QElapsedTimer timer;
    timer.start();
    PrintJob print = ThermalOutput(workFolder, QStringLiteral("/dev/null")).build(*dm.TabRev2);
    *buildMs = timer.elapsed();
    handOver.enqueue(std::move(print));
    waitUntilIdle(handOver);
    const qint64 ms = timer.elapsed();
    dm.TabRev2->Close();
    ProcessStarter::setStarter(previous);
    return ms;
}

// A job of 1,000,002 labels, past the six digits of the running number: it is
// written and read back as the button does, and every row must come back in
// the order it was written ("999999", "1000000", ... not "100000", "1000000").
int millionOutput()
{
    constexpr qint64 kLabels = 1000002;
    TestSuite suite;
    if (!suite.createMainDatabase())
        return 1;
    suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) values "
                              "('P1', 'Produto de revenda', 1000000, '7891058017392', 12.9)"));
    suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) values "
                              "('P2', 'Outro produto', 2, '7896004703397', 3.5)"));
    suite.disconnect();
    TDM dm;
    dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    NoJobProgress quiet;
    QElapsedTimer timer;
    timer.start();
    SuiteJob job(*dm.SQLConnection1, QStringLiteral("BE"), SuiteJob::Kind::Print);
    const qint64 written = LabelJobExpansion(dm).run(QStringLiteral("3"), quiet, job);
    const qint64 ms = timer.elapsed();
    ClientDataSet &rows = *dm.TabRev2;
    qint64 position = 0;
    qint64 outOfOrder = 0;
    const Field &codigo = rows.FieldByName(QStringLiteral("CODIGO"));
    for (rows.First(); !rows.Eof(); rows.Next()) {
        ++position;
        const QString expected = position <= 2 ? LabelNumbers::skippedPositionCode(position) : LabelNumbers::labelNumber(position - 2);
        if (codigo.AsString() != expected)
            ++outOfOrder;
    }
    QTextStream out(stdout);
    out << "expand_and_read_back_1000002_ms: " << ms << Qt::endl;
    out << "labels_written: " << written << Qt::endl;
    out << "rows_read_back: " << position << Qt::endl;
    out << "rows_out_of_order: " << outOfOrder << Qt::endl;
    return written == kLabels && position == kLabels + 2 && outOfOrder == 0 ? 0 : 1;
}

int benchOutput(const QStringList &args)
{
    if (args.contains(QStringLiteral("--forced-writes")))
        return forcedWritesOutput();
    if (args.contains(QStringLiteral("--million")))
        return millionOutput();
    TestSuite suite;
    if (!suite.createMainDatabase())
        return 1;
    TDM dm;
    dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    QTextStream out(stdout);

    const qint64 ms5k = timeExpansion(suite, dm, 5000);
    out << "expand_5000_ms: " << ms5k << Qt::endl;
    const qint64 ms10k = timeExpansion(suite, dm, 10000);
    out << "expand_10000_ms: " << ms10k << Qt::endl;
    out << "history_record_10000_ms: " << timeHistoryRecord10000(dm.SQLConnection1->DataBase()) << Qt::endl;
    out << "expand_ratio: " << QString::number(double(ms10k) / double(qMax<qint64>(ms5k, 1)), 'f', 2) << Qt::endl;
    dm.TabRev1->Close();
    dm.TabRev2->Close();

    int starts = 0;
    qint64 buildMs = 0;
    const qint64 thermalMs = timeThermal(suite, dm, &starts, &buildMs);
    out << "thermal_10000_build_ms: " << buildMs << Qt::endl;
    out << "thermal_10000_ms: " << thermalMs << Qt::endl;
    out << "thermal_10000_batch_starts: " << starts << Qt::endl;

    out << "bare_insert_tabrev2_10000_ms: " << timeBareInserts(dm, 10000) << Qt::endl;
    const qint64 batchMs = bestBareBatchInserts(dm, 10000);
    out << "bare_batch_insert_10000_ms: " << batchMs << Qt::endl;
    out << "expand_10000_to_bare_batch_insert: " << QString::number(double(ms10k) / double(qMax<qint64>(batchMs, 1)), 'f', 2)
        << Qt::endl;
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("output", benchOutput);
