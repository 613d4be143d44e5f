// Seeing a job before it prints must not cost much more than writing it: 1000
// labels of the fixed three-across layout (334 command files) built by the
// thermal output from a real job table and written by the hand-over, then
// every file read back from disk,
// imaged and checked against its stock as the preview does.
#include "BenchRegistry.h"
#include "LabelStock.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "TDM.h"
#include "TestSuite.h"
#include "ThermalOutput.h"
#include "ThermalRenderer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <limits>

namespace {

constexpr int kLabels = 1000;
constexpr int kRuns = 5;

qint64 bestOf(const std::function<void()> &work)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.elapsed());
    }
    return best;
}

int renderFolder(const QString &folder, int files)
{
    int notes = 0;
    for (int n = 1; n <= files; ++n) {
        QFile file(QDir(folder).filePath(QStringLiteral("Etiq%1.txt").arg(n, 3, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("command file %d missing", n);
        const RenderedFile rendered = readCommandFile(file.readAll(), 203);
        for (const PrintImage &image : rendered.images) {
            const LabelStock stock = LabelStock::fromMillimetres(QSizeF(30, 17), columnStartsOf(image, 240), 203);
            notes += int(checkAgainstStock(image, stock).size());
            if (paintOnStock(image, stock).isNull())
                qFatal("nothing painted");
        }
    }
    return notes;
}

int benchThermal(const QStringList &)
{
    TestSuite suite;
    if (!suite.createMainDatabase())
        return 1;
    suite.exec(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) "
                              "select lpad(cast(n as varchar(7)), 6, '0'), 'PRODUTO DE REVENDA COM NOME COMPRIDO ' || n, "
                              "'789' || lpad(cast(n as varchar(10)), 10, '0'), 12.9 "
                              "from (select row_number() over () as n from rdb$types a cross join rdb$types b rows %1)")
                   .arg(kLabels));
    TDM dm;
    dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    QDir(suite.root()).mkpath(QStringLiteral("InterfacBE"));
    const QString workFolder = QDir::toNativeSeparators(suite.path(QStringLiteral("InterfacBE")));
    QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
    batch.open(QIODevice::WriteOnly);
    batch.close();
    // Batch runs are stood in for: thousands of shells would time the
    // operating system rather than the output.
    const auto previous = ProcessStarter::setStarter([](const QString &, const QStringList &) { return true; });
    dm.TabRev2->Open();

    // Building the files alone, without writing them, for a stricter comparison.
    const qint64 buildMs = bestOf([&] { ThermalOutput(workFolder, QStringLiteral("/dev/null")).build(*dm.TabRev2); });
    int files = 0;
    const qint64 writeMs = bestOf([&] {
        PrintHandOver handOver;
        files = ThermalOutput(workFolder, QStringLiteral("/dev/null")).run(*dm.TabRev2, handOver);
        handOver.waitUntilIdle();
    });
    dm.TabRev2->Close();
    ProcessStarter::setStarter(previous);

    int notes = 0;
    const qint64 renderMs = bestOf([&] { notes = renderFolder(workFolder, files); });

    QTextStream out(stdout);
    out << "command_files: " << files << Qt::endl;
    out << "build_1000_labels_ms: " << buildMs << Qt::endl;
    out << "write_1000_labels_ms: " << writeMs << Qt::endl;
    out << "render_1000_labels_ms: " << renderMs << Qt::endl;
    out << "render_to_write_ratio: " << QString::number(double(renderMs) / double(std::max<qint64>(writeMs, 1)), 'f', 2) << Qt::endl;
    out << "stock_notes: " << notes << Qt::endl;
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("thermal", benchThermal);
