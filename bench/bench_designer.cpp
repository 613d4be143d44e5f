// The designer must keep up with a hand dragging an element: one drag step
// (the edit, the label drawn again by the printing code, the warnings checked
// and the canvas repainted) on a label of 10 elements at 400 %, for a sheet
// report and a thermal one (and a thermal label with a 300 x 100-dot logo and
// a QR code); a screen refresh is 16 ms. And opening the
// sample project as the window does. The window's products come from the
// suite's database in the background: how long until they are there, from a
// list of 20,000 products, and until a server that refuses gives up.
#include "BenchRegistry.h"
#include "DesignDocument.h"
#include "LabelCanvas.h"
#include "SuiteData.h"
#include "TestSuite.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

const QString Sample = QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav");

// The report's four elements and six more small texts along its bottom, ten in all.
SheetReport tenElements(SheetReport report)
{
    const double width = report.grid.cellWidth / 6;
    for (int i = 0; report.elements.size() < 10; ++i) {
        CellElement e;
        e.kind = i % 2 ? CellElement::Kind::Text : CellElement::Kind::Field;
        e.value = i % 2 ? QStringLiteral("Lote") : QStringLiteral("CODIGO");
        e.fontSize = 4;
        e.box = QRectF(i * width, report.grid.cellHeight - 1.2, width, 1.2);
        report.elements.append(e);
    }
    return report;
}

double medianMs(QList<qint64> nanoseconds)
{
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds[nanoseconds.size() / 2] / 1e6;
}

double dragStepMs(const QString &project, const QString &reportName, QSize *picture)
{
    DesignDocument document;
    document.open(project);
    for (int i = 0; i < document.project().reports.size(); ++i) {
        if (document.project().reports[i].name == reportName)
            document.selectReport(i);
    }
    document.edit(tenElements(document.report()), QStringLiteral("Elementos"));
    LabelCanvas canvas(&document);
    canvas.resize(1000, 700);
    canvas.setZoom(400);
    canvas.show();
    canvas.viewport()->repaint();
    const SheetReport start = document.report();
    QList<qint64> steps;
    for (int step = 1; step <= 60; ++step) {
        SheetReport moved = start;
        moved.elements[1].box.translate((step % 10) * 0.1, 0);
        QElapsedTimer timer;
        timer.start();
        document.edit(moved, QStringLiteral("Mover"), 1);
        canvas.viewport()->repaint();
        steps << timer.nsecsElapsed();
    }
    *picture = canvas.picture().image.size();
    return medianMs(steps);
}

// readSuiteData as the window runs it, with BOTICON.INI naming `server`.
double suiteReadMs(const TestSuite &suite, const QString &server)
{
    QFile ini(suite.path(QStringLiteral("BOTICON.INI")));
    if (!ini.open(QIODevice::WriteOnly))
        return -1;
    ini.write((QStringLiteral("IP DO SERVIDOR CENTRAL").leftJustified(47, QLatin1Char('.')) + QStringLiteral(": ") + server).toLatin1());
    ini.close();
    QList<qint64> reads;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer timer;
        timer.start();
        readSuiteData(12);
        reads << timer.nsecsElapsed();
    }
    return medianMs(reads);
}

void benchSuiteData(QTextStream &out)
{
    TestSuite suite;
    if (!suite.createMainDatabase())
        return;
    suite.exec(QStringLiteral("execute block as declare i integer = 0; begin while (i < 20000) do begin "
                              "insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values ('R' || lpad(:i, 6, '0'), "
                              "'Produto nº ' || lpad(:i, 5, '0'), 1234.5); i = i + 1; end end"));
    suite.disconnect();
    qputenv("SELVAR_EXE_FOLDER", suite.root().toLocal8Bit());
    out << "suite_products_ms_20000: " << QString::number(suiteReadMs(suite, QString()), 'f', 2) << Qt::endl;
    out << "suite_refused_ms: " << QString::number(suiteReadMs(suite, QStringLiteral("127.0.0.1/1")), 'f', 2) << Qt::endl;
    qunsetenv("SELVAR_EXE_FOLDER");
}

int benchDesigner(const QStringList &)
{
    QTextStream out(stdout);
    QList<qint64> opens;
    for (int run = 0; run < 20; ++run) {
        QElapsedTimer timer;
        timer.start();
        DesignDocument document;
        document.open(Sample);
        LabelCanvas canvas(&document);
        opens << timer.nsecsElapsed();
    }
    out << "open_project_ms: " << QString::number(medianMs(opens), 'f', 2) << Qt::endl;
    // The sample with a thermal label carrying a 300 x 100-dot logo and a QR code.
    QTemporaryDir folder;
    const QString withLogo = folder.filePath(QStringLiteral("Selvar.rav"));
    QImage logo(600, 200, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter(&logo).fillRect(QRect(20, 20, 560, 160), Qt::darkGreen);
    logo.save(folder.filePath(QStringLiteral("logo.png")));
    QFile sample(Sample);
    QFile copy(withLogo);
    if (sample.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly)) {
        copy.write(sample.readAll() + "\nrelatorio \"Logo QR\"\n  modelos \"Logo\"\n  termica linguagem=ZPL\n  etiqueta largura=50 altura=40\n"
                                      "  imagem \"logo.png\" x=1 y=1 largura=37.5 altura=12.5\n"
                                      "  campo COMPONENTE x=1 y=14 largura=48 altura=4 tamanho=8\n"
                                      "  qr \"https://farmacia.example/p/\" + CODIGOEAN x=32 y=20 largura=17 altura=17\nfim\n");
        copy.close();
    }
    // The picture each step draws anew: the sheet at the zoom's resolution, the thermal row at the printer's.
    for (const auto &[figure, project, report] :
         {std::tuple{"sheet", Sample, QStringLiteral("A4 6x20")}, std::tuple{"thermal", Sample, QStringLiteral("Zebra ZPL 30x17")},
          std::tuple{"thermal_logo_qr", withLogo, QStringLiteral("Logo QR")}}) {
        QSize picture;
        const double ms = dragStepMs(project, report, &picture);
        out << "drag_repaint_ms_" << figure << ": " << QString::number(ms, 'f', 2) << Qt::endl;
        out << "drag_picture_px_" << figure << ": " << picture.width() << 'x' << picture.height() << Qt::endl;
    }
    benchSuiteData(out);
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("designer", benchDesigner);
