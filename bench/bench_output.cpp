// The label job through the code "Etiquetas com preços" runs: expanding a list
// into 5,000 and 10,000 label rows (each posted and committed at once), the
// same number of bare committed inserts for comparison, and the thermal output
// of 10,000 labels.
#include "BenchRegistry.h"
#include "JobProgress.h"
#include "LabelJobExpansion.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
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

// Each job replaces one of its own size, as a reprint does, so both sizes
// pay for deleting the same number of old rows; the best of five runs, since
// the machine is shared and the database engine's own threads add noise.
qint64 timeExpansion(TestSuite &suite, TDM &dm, int labels)
{
    fillList(suite, labels / kProducts);
    dm.TabRev1->Close();
    NoJobProgress quiet;
    LabelJobExpansion(dm).run(QString(), quiet);
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const qint64 written = LabelJobExpansion(dm).run(QString(), quiet);
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
    handOver.waitUntilIdle();
    const qint64 ms = timer.elapsed();
    dm.TabRev2->Close();
    ProcessStarter::setStarter(previous);
    return ms;
}

int benchOutput(const QStringList &)
{
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
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("output", benchOutput);
