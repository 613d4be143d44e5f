#include "BenchRegistry.h"
#include "HistoryBench.h"
#include "StallProbe.h"

#include "HistoryFlow.h"
#include "HistoryRetention.h"
#include "HistoryStore.h"
#include "HistoryWindow.h"
#include "HistoryWork.h"
#include "ListReads.h"
#include "PrintHistory.h"
#include "ListWindow.h"
#include "ReportModal.h"
#include "TFormSelvarra.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextStream>
#include <QtTest>
#include <algorithm>
#include <limits>

qint64 timeHistoryRecord10000(const QString &database)
{
    PrintedJob job;
    job.station = QStringLiteral("BE");
    job.user = QStringLiteral("bench");
    job.modelCode = QStringLiteral("03");
    job.modelDescription = QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas");
    for (int i = 0; i < 1000; ++i)
        job.items.append(PrintedItem{i + 1, QStringLiteral("R%1").arg(i, 5, 10, QLatin1Char('0')),
                                     QStringLiteral("Produto de revenda com nome comprido nº %1").arg(i),
                                     QStringLiteral("789%1").arg(i, 10, 10, QLatin1Char('0')), Decimal((i % 300) * 100 + 90, 2),
                                     10});
    HistoryStore store([&] { return database; });
    qint64 warmUp = 0;
    store.record(job, HistoryStore::thermalOutput(), &warmUp); // the attachment and the tables' check
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run) {
        qint64 id = 0;
        QElapsedTimer timer;
        timer.start();
        store.record(job, HistoryStore::thermalOutput(), &id);
        best = std::min(best, timer.elapsed());
    }
    return best;
}

namespace {

// `jobs` jobs of ten products each, numbered from `firstId`, printed `daysAgo`
// days ago: job j holds products R(10j) to R(10j + 9), one label each.
QString printedJobs(int jobs, int firstId, int daysAgo)
{
    return QStringLiteral("execute block as declare j integer = 0; declare k integer; begin while (j < %1) do begin "
                          "insert into SELVAR_HISTORICO (ID, DATAHORA, ESTACAO, ETIQUETAS, PRODUTOS) values "
                          "(%2 + :j, dateadd(day, -%3, current_timestamp), '01', 10, 10); k = 0; while (k < 10) do begin "
                          "insert into SELVAR_HISTORICO_ITEM (HISTORICO, ORDEM, CODIGO, COMPONENTE, PRECO1, ETIQUETAS) "
                          "values (%2 + :j, :k, 'R' || lpad(:j * 10 + :k, 6, '0'), 'x', 1.2, 1); k = k + 1; end "
                          "j = j + 1; end end")
        .arg(jobs)
        .arg(firstId)
        .arg(daysAgo);
}

struct Stall
{
    qint64 longest = 0; // the window's longest stall
    qint64 whole = 0;   // from the click to the list shown again
};

// Runs the action and waits, the probe ticking, until the history's work and
// the list's read after it are done.
Stall stallOf(TFormSelvarra *form, const std::function<void()> &action)
{
    StallProbe probe;
    QElapsedTimer whole;
    probe.start();
    whole.start();
    QTimer::singleShot(0, [&] { action(); });
    QTest::qWait(20);
    const bool done = QTest::qWaitFor([form] { return !form->historyWork()->busy() && form->listReads()->idle(); }, 600000);
    const qint64 took = done ? whole.elapsed() : -1;
    QTest::qWait(20);
    return {probe.stop(), took};
}

void print(QTextStream &out, const QString &what, const Stall &stall)
{
    // A work not done within ten minutes shows as done in -1 ms.
    out << what << ": longest stall " << stall.longest << " ms (done in " << stall.whole << " ms)\n";
    out.flush();
}

} // namespace

bool benchHistoryWindow(QTextStream &out)
{
    ListWindow w;
    if (!w.start())
        return false;
    w.app.suite.exec(QStringLiteral("execute block as declare i integer = 0; begin while (i < 10000) do begin "
                                    "insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values ('R' || lpad(:i, 6, '0'), "
                                    "'Produto nº ' || lpad(:i, 5, '0'), 1.5); i = i + 1; end end"));
    w.app.suite.exec(printedJobs(1000, 1, 0));
    w.app.suite.disconnect();
    w.clickReopen();
    TFormSelvarra *f = w.form();
    print(out, QStringLiteral("price changes, 10,000 products and 1,000 jobs"),
          stallOf(f, [&] { QTest::mouseClick(f->BotPrecosAlterados, Qt::LeftButton); }));

    w.app.suite.exec(QStringLiteral("execute block as declare j integer = 1000; begin while (j < 10000) do begin "
                                    "insert into SELVAR_HISTORICO (ID, DATAHORA, ESTACAO, ETIQUETAS, PRODUTOS) values "
                                    "(:j + 1, current_timestamp, '01', 10, 10); j = j + 1; end end"));
    w.app.suite.disconnect();
    // The window shown until its jobs and the first job's products are in.
    bool repeat = false;
    ReportModal::setHook([&](QDialog &d) {
        auto &window = static_cast<HistoryWindow &>(d);
        d.show();
        if (!QTest::qWaitFor([&] { return !window.reading(); }, 600000) || !repeat)
            return int(QDialog::Rejected);
        // The newest job with products, the 1,000th, found by one of them.
        window.EditHistProduto->setText(QStringLiteral("R009990"));
        window.reload();
        if (!QTest::qWaitFor([&] { return !window.reading(); }, 600000))
            return int(QDialog::Rejected);
        QTest::mouseClick(window.BotRepetir, Qt::LeftButton);
        return d.result();
    });
    print(out, QStringLiteral("history window over 10,000 jobs"),
          stallOf(f, [&] { QTest::mouseClick(f->BotHistorico, Qt::LeftButton); }));
    repeat = true;
    print(out, QStringLiteral("repeat a job of 10 products on 10,000 (the others emptied)"),
          stallOf(f, [&] { QTest::mouseClick(f->BotHistorico, Qt::LeftButton); }));
    ReportModal::setHook({});
    return benchHistoryRecording(out);
}

bool benchHistoryRecording(QTextStream &out)
{
    ListWindow w;
    if (!w.start())
        return false;
    // 10,000 labels over 3,000 products: 1,000 of 4 and 2,000 of 3.
    w.app.suite.exec(QStringLiteral("execute block as declare i integer = 0; begin while (i < 3000) do begin "
                                    "insert into TABREV1 (CODIGO, COMPONENTE, PRECO1, QDE, CODIGOEAN) values "
                                    "('R' || lpad(:i, 6, '0'), 'Produto de revenda nº ' || lpad(:i, 5, '0'), 12.5, "
                                    "iif(:i < 1000, 4, 3), '789' || lpad(:i, 10, '0')); i = i + 1; end end"));
    w.app.suite.disconnect();
    w.clickReopen();
    TFormSelvarra *f = w.form();
    const QString description = QStringLiteral("A4 - Pimaco 6180 (3 x 10)");
    // What the machine alone costs the timer over as long as a removal pass: the
    // floor under the figures below.
    print(out, QStringLiteral("nothing to do for 12 s"), stallOf(f, [] { QTest::qWait(12000); }));

    print(out, QStringLiteral("record a sheet job of 10,000 labels over 3,000 products"), stallOf(f, [&] {
              f->jobWritten(description);
              f->historyFlow()->printHistory().wholeJobOut(HistoryStore::printerOutput(), [](const QString &) {});
          }));

    // A thermal job: three positions a file, its history brought up to every file at once.
    // Its number is taken on the history's worker; the window waits for it in the open.
    QByteArray record;
    const auto numbered = [&] {
        f->jobWritten(QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"));
        record.clear();
        return stallOf(f, [&] { f->historyFlow()->printHistory().thermalRecord([&record](const QByteArray &given) { record = given; }); });
    };
    print(out, QStringLiteral("thermal job queued, its history number taken (the first: the attachment made)"), numbered());
    print(out, QStringLiteral("thermal job queued, its history number taken (the next)"), numbered());
    const QList<int> positions(3334, 3);
    print(out, QStringLiteral("thermal recorder, 10,000 labels over 3,000 products"),
          stallOf(f, [&] { f->historyFlow()->printHistory().thermalOut(record, positions, int(positions.size()), [](const QString &) {}); }));

    w.app.suite.exec(printedJobs(1000, 100000, 400));
    w.app.suite.disconnect();
    const int before = f->historyFlow()->retention().removed();
    QSignalSpy ended(&f->historyFlow()->retention(), &HistoryRetention::passEnded);
    Stall pass = stallOf(f, [&] { f->historyFlow()->retention().start(0); });
    QElapsedTimer waited;
    waited.start();
    StallProbe probe;
    probe.start();
    const bool passDone = ended.count() > 0 || ended.wait(600000);
    pass.longest = std::max(pass.longest, probe.stop());
    pass.whole = passDone ? pass.whole + waited.elapsed() : -1;
    print(out, QStringLiteral("retention pass removing %1 old jobs").arg(f->historyFlow()->retention().removed() - before), pass);
    return true;
}

namespace {

int benchHistory(const QStringList &)
{
    QTextStream out(stdout);
    return benchHistoryRecording(out) ? 0 : 1;
}

} // namespace

SELVAR_BENCH_GROUP("history", benchHistory);
