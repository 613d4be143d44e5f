// The window's longest stall: a 5 ms timer on the window's thread notes the
// largest gap between two of its ticks while the window does one thing on a
// large list. A gap is how long the clerk's keys, clicks and paint wait.
//   open the list     the list of 50,000 products read and shown, the
//                     first time and again after it was closed
//   nothing to do     the same wait with no action: what a loaded machine
//                     alone costs the timer
//   search key        a key in the name box of 50,000 products, right after
//                     another connection changed a row (the list read whole)
//   store quantity    a quantity typed with Enter on 50,000 products
//   build             "Códigos de Barras de Produtos Prontos" on 50,000
//   price changes     "Preços alterados" on 10,000 products, 1,000 jobs printed
//   history window    "Histórico" opened over 10,000 jobs, and "Repetir"
//                     (bench_history.cpp)
//   thermal           "Etiquetas com preços" of 10,000 labels on the thermal
//                     model, to the last command file written and handed over
//   journal           the list shown over 20 jobs of 1,000 labels with a logo
//                     left on their records
//   silent            a quantity typed with the server out of reach
//                     (bench_window_print.cpp)
// Parts may be named to run only those: list (the first four), build,
// history, thermal, journal, silent.
#include "BenchRegistry.h"
#include "HistoryBench.h"
#include "WindowPrintBench.h"
#include "StallProbe.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "ListReads.h"
#include "ListWindow.h"
#include "ReportModal.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>
#include <QtTest>

namespace {

// n rows of "Sabonete nº 00000", "Shampoo nº 00001", ... into TABREV1 or
// COMPONEN (as resale products), in one statement.
QString fill(const QString &table, int products)
{
    const bool components = table == QLatin1String("COMPONEN");
    return QStringLiteral("execute block as declare i integer = 0; begin while (i < %1) do begin "
                          "insert into %2 (CODIGO, COMPONENTE, %3) values ('R' || lpad(:i, 6, '0'), "
                          "decode(mod(:i, 6), 0, 'Sabonete', 1, 'Shampoo', 2, 'Creme', 3, 'Protetor solar', 4, "
                          "'Vitamina C', 'Hidratante') || ' nº ' || lpad(:i, 5, '0'), %4); i = i + 1; end end")
        .arg(products)
        .arg(table, components ? QStringLiteral("GRUPO, PRECOR") : QStringLiteral("PRECO1"),
             components ? QStringLiteral("'REV', 1.5") : QStringLiteral("1.5"));
}

// Runs the action and waits, the probe ticking, until the window is done with it.
qint64 stallOf(ListWindow &w, const std::function<void()> &action)
{
    StallProbe probe;
    probe.start();
    QTimer::singleShot(0, [&] { action(); });
    QTest::qWait(20);
    w.settle();
    QTest::qWait(20);
    return probe.stop();
}

int benchWindow(const QStringList &parts)
{
    const auto wanted = [&parts](const char *part) { return parts.isEmpty() || parts.contains(QLatin1String(part)); };
    QTextStream out(stdout);
    if (wanted("list")) {
        ListWindow w;
        if (!w.start())
            return 1;
        w.app.suite.exec(fill(QStringLiteral("TABREV1"), 50000));
        w.app.suite.disconnect();
        TFormSelvarra *f = w.form();
        // The first list shown: the window's attachment is not made yet.
        out << "open the list, 50,000 products, first time: longest stall "
            << stallOf(w, [&] { QTest::mouseClick(f->btnConfigEtiq, Qt::LeftButton); }) << " ms\n";
        TDM other;
        other.SQLConnection1->setDataBase(w.dm()->SQLConnection1->DataBase());
        other.SQLConnection1->ExecuteDirect(QStringLiteral("update TABREV1 set QDE = 1 where CODIGO = 'R000007'"));
        f->EditPesqComp->setFocus();
        // What the machine alone costs the timer: the floor under the figures below.
        out << "nothing to do, 50,000 products shown: longest stall " << stallOf(w, [] {}) << " ms\n";
        out << "search key after a change, 50,000 products: longest stall "
            << stallOf(w, [&] { QTest::keyClick(f->EditPesqComp, 'V'); }) << " ms\n";
        out.flush();
        w.settle();
        out << "store a quantity, 50,000 products: longest stall "
            << stallOf(w, [&] { w.typeInCell(3, 0, QStringLiteral("2")); }) << " ms\n";
        w.settle();
        w.clickClose();
        out << "open the closed list again, 50,000 products: longest stall "
            << stallOf(w, [&] { QTest::mouseClick(f->btnConfigEtiq, Qt::LeftButton); }) << " ms\n";
        out.flush();
    }
    if (wanted("build")) {
        ListWindow w;
        if (!w.start())
            return 1;
        w.app.suite.exec(fill(QStringLiteral("COMPONEN"), 50000));
        w.app.suite.disconnect();
        QElapsedTimer clock;
        clock.start();
        out << "build a list of 50,000: longest stall " << stallOf(w, [&] { w.clickBuild(); }) << " ms";
        out << " (build and list shown: " << clock.elapsed() << " ms, "
            << w.form()->DBGrid1Model->rowCount() << " rows)\n";
        out.flush();
    }
    if (wanted("history") && !benchHistoryWindow(out))
        return 1;
    if (wanted("thermal") && !benchThermalJobWindow(out))
        return 1;
    if (wanted("journal") && !benchJournalScanWindow(out))
        return 1;
    if (wanted("silent") && !benchSilentServerWindow(out))
        return 1;
    return 0;
}

} // namespace

SELVAR_BENCH_GROUP("window", benchWindow);
