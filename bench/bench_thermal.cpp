// Seeing a job before it prints must not cost much more than writing it: 1000
// labels of the fixed three-across layout (334 command files) built by the
// thermal output from a real job table and written by the hand-over, then
// every file read back from disk,
// imaged and checked against its stock as the preview does. And a thermal
// report's label with a logo and a QR code beside today's.
#include "BenchRegistry.h"
#include "HandOverIdle.h"
#include "LabelStock.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "TDM.h"
#include "TestSuite.h"
#include "ThermalOutput.h"
#include "ThermalRenderer.h"
#include "ThermalReportFiles.h"
#include "ProjectParser.h"

#include <QPainter>
#include <QTemporaryDir>

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

// A report's 1000 labels, one across: written (the logo converted once for
// the job) and every file imaged as the preview does.
void benchReportLabels(QTextStream &out, const QString &figure, const SheetReport &report)
{
    QList<LabelRecord> rows;
    for (int n = 1; n <= kLabels; ++n) {
        LabelRecord row;
        row.set(QStringLiteral("CODIGO"), {QString::number(n), QString::number(n)});
        const QString ean = QStringLiteral("789%1").arg(n, 10, 10, QLatin1Char('0'));
        row.set(QStringLiteral("COMPONENTE"), {QStringLiteral("PRODUTO DE REVENDA %1").arg(n), {}});
        row.set(QStringLiteral("CODIGOEAN"), {ean, ean});
        row.set(QStringLiteral("PRECO1"), {QStringLiteral("12,90"), QStringLiteral("12.90")});
        rows << row;
    }
    QList<QByteArray> files;
    const qint64 writeMs = bestOf([&] { files = thermalCommandFiles(report, rows, QPointF()); });
    qint64 bytes = 0;
    for (const QByteArray &file : std::as_const(files))
        bytes += file.size();
    const qint64 renderMs = bestOf([&] {
        PrinterMemory printer;
        for (const QByteArray &file : std::as_const(files)) {
            const RenderedFile rendered = readCommandFile(file, report.thermal->dpi, &printer);
            if (paintPrintImage(rendered.images.value(0), printArea(rendered.images.value(0))).isNull())
                qFatal("nothing painted");
        }
    });
    out << "report_" << figure << "_write_1000_labels_ms: " << writeMs << Qt::endl;
    out << "report_" << figure << "_render_1000_labels_ms: " << renderMs << Qt::endl;
    out << "report_" << figure << "_bytes_a_label: " << bytes / kLabels << Qt::endl;
    out << "report_" << figure << "_first_file_bytes: " << files.value(0).size() << Qt::endl;
}

// Today's label (name, price, EAN-13 on 50 x 30 mm) and the same with a logo
// of 300 x 100 dots and a QR code of the product's page, in both languages.
void benchDrawnLabels(QTextStream &out)
{
    QTemporaryDir folder;
    QImage logo(600, 200, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.setBrush(Qt::darkGreen);
    painter.drawEllipse(QRect(10, 10, 180, 180));
    painter.fillRect(QRect(220, 40, 360, 120), QColor(90, 90, 90));
    painter.end();
    logo.save(folder.filePath(QStringLiteral("logo.png")));
    for (const QString &language : {QStringLiteral("ZPL"), QStringLiteral("EPL2")}) {
        const QString today = QStringLiteral("relatorio \"T\"\n termica linguagem=%1\n etiqueta largura=50 altura=40\n"
                                             " campo COMPONENTE x=1 y=14 largura=48 altura=4 tamanho=8\n"
                                             " preco PRECO1 x=1 y=19 largura=20 altura=4 tamanho=10\n"
                                             " barras CODIGOEAN x=1 y=24 largura=30 altura=15\n")
                                  .arg(language);
        const QString drawn = QStringLiteral(" imagem \"logo.png\" x=1 y=1 largura=37.5 altura=12.5\n"
                                             " qr \"https://farmacia.example/p/\" + CODIGOEAN x=32 y=23 largura=17 altura=17\n");
        const QString head = QStringLiteral("ativo \"F\"\nrelatorio \"F\"\n papel A4\n grade colunas=1 linhas=1\n margens esquerda=0 topo=0\n"
                                            " etiqueta largura=50 altura=40\nfim\n");
        const QString file = folder.filePath(QStringLiteral("Selvar.rav"));
        const ReportProject plain = parseReportProject(head + today + QStringLiteral("fim\n"), file);
        const ReportProject withLogo = parseReportProject(head + today + drawn + QStringLiteral("fim\n"), file);
        benchReportLabels(out, language.toLower() + QStringLiteral("_today"), *plain.findReport(QStringLiteral("T")));
        benchReportLabels(out, language.toLower() + QStringLiteral("_logo_qr"), *withLogo.findReport(QStringLiteral("T")));
    }
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
        waitUntilIdle(handOver);
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
    benchDrawnLabels(out);
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("thermal", benchThermal);
