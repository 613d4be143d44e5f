// Sheet labels through the whole report engine: the sample project loaded from
// the suite folder, 1,200 labels (ten A4 6 x 20 sheets) laid out and written
// to a PDF, the "Output Options" answer given by the benchmark.
#include "BenchRegistry.h"
#include "OutputOptionsDialog.h"
#include "ReportModal.h"
#include "TRvDataSetConnection.h"
#include "TRvProject.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr int kLabels = 1200;

QList<LabelRecord> labelJob()
{
    QList<LabelRecord> rows;
    for (int i = 1; i <= kLabels; ++i) {
        LabelRecord r;
        const QString code = QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
        const QString price = QStringLiteral("%1.90").arg(i % 300);
        r.set(QStringLiteral("CODIGO"), {code, code});
        const QString name = QStringLiteral("Produto de revenda com nome comprido nº %1").arg(i / 10);
        const QString ean = QStringLiteral("789%1").arg(i / 10, 9, 10, QLatin1Char('0'));
        r.set(QStringLiteral("COMPONENTE"), {name, name});
        r.set(QStringLiteral("CODIGOEAN"), {ean, ean});
        r.set(QStringLiteral("PRECO1"), {QString(price).replace(QLatin1Char('.'), QLatin1Char(',')), price});
        rows.append(r);
    }
    return rows;
}

int benchReport(const QStringList &)
{
    QTemporaryDir root;
    qputenv("BOTICON_ROOT", root.path().toLocal8Bit());
    QDir(root.path()).mkpath(QStringLiteral("rpt"));
    QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"), root.filePath(QStringLiteral("rpt/Selvar.rav")));

    QObject owner;
    auto *engine = new TRvSystem(QStringLiteral("RvSystem2"), &owner);
    auto *project = new TRvProject(QStringLiteral("rvprjct1"), &owner);
    auto *connection = new TRvDataSetConnection(QStringLiteral("RvDataSetConnection1"), &owner);
    project->setEngine(engine);
    connection->setRows({QStringLiteral("CODIGO"), QStringLiteral("COMPONENTE"), QStringLiteral("QDE"),
                         QStringLiteral("CODIGOEAN"), QStringLiteral("PRECO1")},
                        labelJob());
    const QString pdf = qEnvironmentVariableIsSet("BENCH_PDF") ? qEnvironmentVariable("BENCH_PDF") : root.filePath(QStringLiteral("etiquetas.pdf"));
    ReportModal::setHook([&](QDialog &dialog) {
        auto &options = static_cast<OutputOptionsDialog &>(dialog);
        options.RadioArquivo->setChecked(true);
        options.EditArquivo->setText(pdf);
        options.accept();
        return dialog.result();
    });

    QList<qint64> times;
    int pages = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        project->Close();
        project->setProjectFile(QStringLiteral("c:\\boticon\\rpt\\Selvar.rav"));
        project->setModelDescription(QStringLiteral("A4 - 6 colunas x 20 linhas"));
        project->Execute();
        times.append(timer.elapsed());
        pages = int(engine->statusTexts().size());
    }
    ReportModal::setHook({});
    std::sort(times.begin(), times.end());
    const qint64 median = std::max<qint64>(1, times[times.size() / 2]);
    QTextStream out(stdout);
    out << "sheet_pdf_1200_ms: " << median << '\n';
    out << "sheet_pages_per_s: " << QString::number(pages * 1000.0 / median, 'f', 1) << '\n';
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("report", benchReport);
