// The print history on one database of the Firebird server, through the real
// window: each print records exactly what went out, at the price printed; the
// history fills the list back ("Preços alterados", "Repetir"); old jobs go.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "HistoryRetention.h"
#include "HistorySettings.h"
#include "HistoryStore.h"
#include "HistoryWindow.h"
#include "HistoryWork.h"
#include "ListReads.h"
#include "OutputOptionsDialog.h"
#include "PrintHandOver.h"
#include "PrintHistory.h"
#include "ProcessStarter.h"
#include "ReportModal.h"
#include "RunValues.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "TextFile.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <thread>

namespace {

struct Product
{
    const char *codigo, *name, *ean, *price;
};
// Listed by name: ALFA, BRAVO, CHARLIE, DELTA.
const Product Products[] = {{"P1", "ALFA", "7896004703398", "12.90"},
                            {"P2", "BRAVO", "7891106001212", "35.50"},
                            {"P3", "CHARLIE", "7891058017392", "8"},
                            {"P4", "DELTA", "7896094902121", "3.25"}};

} // namespace

class PrintHistoryTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<ListWindow> a, b;
    QString database;
    int runs = 0;
    int failRun = 0; // the batch run that fails, counted from 1; 0: none
    ProcessStarter::Starter previousStarter;

    // A station of its own folder on the one server database.
    void startStation(std::unique_ptr<ListWindow> &w)
    {
        w = std::make_unique<ListWindow>();
        QVERIFY(w->start(QStringLiteral("01")));
        addWorkFolder(*w, QStringLiteral("01"));
        w->dm()->SQLConnection1->setDataBase(database);
    }

    void addWorkFolder(ListWindow &w, const QString &station)
    {
        QVERIFY(QDir(w.app.suite.root()).mkpath(QStringLiteral("Interfac") + station));
        QFile batch(w.app.suite.path(QStringLiteral("Interfac%1/ImprEtiq.bat").arg(station)));
        QVERIFY(batch.open(QIODevice::WriteOnly));
    }

    // Zebra current, A4 beside it; four resale products; the list built.
    void startA()
    {
        database = TestSuite::createServerDatabase(QStringLiteral("history"));
        QVERIFY(!database.isEmpty());
        startStation(a);
        exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('01', 'Zebra - 3,0 x 1,7 - 3 colunas')"));
        exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('02', 'A4 - Pimaco 6180 (3 x 10)')"));
        exec(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('01')"));
        for (const Product &p : Products)
            exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR) values (?, ?, 'REV', ?, ?)"),
                 {p.codigo, p.name, p.ean, p.price});
        a->clickBuild();
        QVERIFY(a->form()->PainelSelvarra->isVisible());
        QCOMPARE(a->gridText(0, 1), QStringLiteral("ALFA"));
    }

    void exec(const QString &sql, const QVariantList &params = {})
    {
        SqlConnection &c = *a->dm()->SQLConnection1;
        c.acquire();
        c.exec(sql, params);
        c.release();
    }

    QStringList rows(const QString &sql)
    {
        SqlConnection &c = *a->dm()->SQLConnection1;
        c.acquire();
        QSqlQuery query = c.exec(sql);
        QStringList texts;
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << (query.isNull(i) ? QString() : query.value(i).toString());
            texts << row.join(QLatin1Char('|'));
        }
        c.release();
        return texts;
    }

    QStringList jobs()
    {
        return rows(QStringLiteral("select ID, ESTACAO, USUARIO, MODELO, SAIDA, ETIQUETAS, PRODUTOS from SELVAR_HISTORICO order by ID"));
    }
    QStringList items()
    {
        return rows(QStringLiteral("select HISTORICO, CODIGO, COMPONENTE, CODIGOEAN, cast(PRECO1 as varchar(20)), ETIQUETAS "
                                   "from SELVAR_HISTORICO_ITEM order by HISTORICO, ORDEM"));
    }
    QStringList quantities()
    {
        return rows(QStringLiteral("select CODIGO, cast(QDE as integer) from TABREV1 order by CODIGO"));
    }

    // Quantities by list row (ALFA, BRAVO, CHARLIE, DELTA), typed into the grid.
    void type(ListWindow &w, const QList<std::pair<int, QString>> &cells)
    {
        for (const auto &[row, text] : cells)
            w.typeInCell(row, 0, text);
        w.goToRow(3);
    }

    void print(ListWindow &w, const QString &etiqInicial = QString())
    {
        w.form()->EditEtiqInic->setText(etiqInicial);
        QVERIFY(clickAndWait(w.form()->btnEtiqSemPreco, w.form(), &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*w.form()->printHandOver, 60000));
        QVERIFY(historyDone(w)); // a sheet job's history
    }

    // The command files' records of the hand-over in the station's work folder.
    QStringList handOverRecords(ListWindow &w)
    {
        return QDir(w.app.suite.path(QStringLiteral("Interfac01"))).entryList({QStringLiteral("Envio-*.txt")}, QDir::Files);
    }

    // Holds every task of the window's history worker at its start until let go.
    struct HeldHistory
    {
        explicit HeldHistory(TFormSelvarra *f) : form(f)
        {
            form->historyWork()->setBeforeTask([this] {
                ++held;
                gate.acquire();
            });
        }
        ~HeldHistory() { letGo(); }
        void letGo()
        {
            if (form)
                form->historyWork()->setBeforeTask({});
            gate.release(100);
        }
        bool waitHeld(int count) { return QTest::qWaitFor([&] { return held >= count; }, 60000); }
        TFormSelvarra *form;
        QSemaphore gate;
        std::atomic<int> held{0};
    };

    QString printLine(ListWindow &w) { return w.form()->LabelImpressao->toolTip(); }

    // The history's work and the list's read after it are done.
    static bool historyDone(ListWindow &w)
    {
        TFormSelvarra *f = w.form();
        return QTest::qWaitFor([f] { return !f->historyWork()->busy() && f->listReads()->idle(); }, 60000);
    }

    // SELVAR_TEST_SCREENSHOTS=folder keeps a picture of what the clerk sees.
    static void snapshot(QWidget *widget, const QString &name)
    {
        const QString folder = qEnvironmentVariable("SELVAR_TEST_SCREENSHOTS");
        if (!folder.isEmpty())
            widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    }

private slots:
    void init()
    {
        SELVAR_REQUIRE_SERVER();
        runs = 0;
        failRun = 0;
        previousStarter = ProcessStarter::setStarter([this](const QString &, const QStringList &) {
            return ++runs != failRun;
        });
        startA();
    }

    void cleanup()
    {
        ReportModal::setHook({});
        ProcessStarter::setStarter(previousStarter);
        RunValues::StationCode = QStringLiteral("01");
        b.reset();
        a.reset();
    }

    // A thermal job and a sheet job, each with its products, prices and
    // labels; skipped positions are no labels; a cancelled sheet run records
    // nothing. The database starts without the history's tables, as one of
    // the suite that never met this program: the first print makes them.
    void thermalAndSheetJobsAreRecorded()
    {
        for (const char *drop : {"drop table SELVAR_HISTORICO_ITEM", "drop table SELVAR_HISTORICO", "drop sequence GEN_SELVAR_HISTORICO"})
            exec(QLatin1String(drop));
        type(*a, {{0, QStringLiteral("2")}, {2, QStringLiteral("1")}});
        print(*a, QStringLiteral("3"));
        QCOMPARE(runs, 2);
        QCOMPARE(jobs(), QStringList{QStringLiteral("1|01|Joana|01|TERMICA|3|2")});
        QCOMPARE(items(), QStringList({QStringLiteral("1|P1|ALFA|7896004703398|12.90|2"),
                                       QStringLiteral("1|P3|CHARLIE|7891058017392|8.00|1")}));

        QDir(a->app.suite.root()).mkpath(QStringLiteral("rpt"));
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"), a->app.suite.path(QStringLiteral("rpt/Selvar.rav"))));
        a->chooseModel(QStringLiteral("A4"));
        QString button = QStringLiteral("BotCancelar");
        const QString pdf = a->app.suite.path(QStringLiteral("etiquetas.pdf"));
        ReportModal::setHook([&](QDialog &d) {
            auto *options = qobject_cast<OutputOptionsDialog *>(&d);
            if (!options)
                return int(QDialog::Rejected);
            d.show();
            options->RadioArquivo->click();
            options->EditArquivo->setText(pdf);
            QTest::mouseClick(d.findChild<QPushButton *>(button), Qt::LeftButton);
            return d.result();
        });
        print(*a);
        QCOMPARE(printLine(*a), QStringLiteral("Impressão cancelada"));
        QCOMPARE(jobs().size(), 1);

        button = QStringLiteral("BotOK");
        print(*a);
        QCOMPARE(printLine(*a), QStringLiteral("PDF gravado em ") + pdf);
        QCOMPARE(jobs().value(1), QStringLiteral("2|01|Joana|02|PDF|3|2"));
        QCOMPARE(items().mid(2), QStringList({QStringLiteral("2|P1|ALFA|7896004703398|12.90|2"),
                                              QStringLiteral("2|P3|CHARLIE|7891058017392|8.00|1")}));
        QCOMPARE(a->app.messages, QStringList());
    }

    // One skipped position and 13 labels are five files; the third run fails:
    // files 1 and 2 went out, the skipped position and five ALFA.
    void stoppedHandOverRecordsWhatWentOut()
    {
        type(*a, {{0, QStringLiteral("7")}, {1, QStringLiteral("6")}});
        failRun = 3;
        print(*a, QStringLiteral("2"));
        QCOMPARE(runs, 3);
        QCOMPARE(a->app.messages.size(), 1);
        QCOMPARE(jobs(), QStringList{QStringLiteral("1|01|Joana|01|TERMICA|5|1")});
        QCOMPARE(items(), QStringList{QStringLiteral("1|P1|ALFA|7896004703398|12.90|5")});
    }

    // "Parar envio" while file 2 of 5 goes: files 1 and 2 are recorded (the
    // skipped position and five ALFA); "Continuar envio" adds files 3 to 5 to
    // the same job, which then holds the whole print once.
    void stopAndContinueRecordOnePrint()
    {
        type(*a, {{0, QStringLiteral("7")}, {1, QStringLiteral("6")}});
        const auto stopAtSecond = connect(a->form()->printHandOver, &PrintHandOver::sending, a->form(), [this](int file) {
            if (file == 2)
                QTest::mouseClick(a->form()->BotPararEnvio, Qt::LeftButton);
        });
        print(*a, QStringLiteral("2"));
        disconnect(stopAtSecond);
        QCOMPARE(runs, 2);
        QCOMPARE(jobs(), QStringList{QStringLiteral("1|01|Joana|01|TERMICA|5|1")});
        QCOMPARE(items(), QStringList{QStringLiteral("1|P1|ALFA|7896004703398|12.90|5")});

        QVERIFY(a->form()->BotContinuarEnvio->isVisible());
        QTest::mouseClick(a->form()->BotContinuarEnvio, Qt::LeftButton);
        QVERIFY(waitUntilIdle(*a->form()->printHandOver, 60000));
        QCOMPARE(runs, 5);
        QCOMPARE(a->app.messages, QStringList());
        QCOMPARE(jobs(), QStringList{QStringLiteral("1|01|Joana|01|TERMICA|13|2")});
        QCOMPARE(items(), QStringList({QStringLiteral("1|P1|ALFA|7896004703398|12.90|7"),
                                       QStringLiteral("1|P2|BRAVO|7891106001212|35.50|6")}));
    }

    // The history refuses every job: the labels print all the same, and the
    // print line says the history was not written.
    void failingHistoryWriteStillPrints()
    {
        exec(QStringLiteral("create exception HISTORICO_RECUSADO 'historico recusado'"));
        exec(QStringLiteral("create trigger SELVAR_HISTORICO_RECUSA for SELVAR_HISTORICO before insert as "
                            "begin exception HISTORICO_RECUSADO; end"));
        type(*a, {{0, QStringLiteral("4")}});
        print(*a);
        QCOMPARE(runs, 2);
        QCOMPARE(a->app.messages, QStringList());
        QCOMPARE(printLine(*a), QStringLiteral("4 etiquetas em 2 arquivos enviadas para a impressora") + PrintHistory::failureNote());
        QCOMPARE(jobs(), QStringList());
        QCOMPARE(items(), QStringList());
    }

    // Two stations on one list print one after the other: each job holds its
    // own station and its own labels, never the other's.
    void twoStationsInTurnRecordTheirOwnJobs()
    {
        startStation(b);
        // One process holds both windows, and its run-wide values are the
        // last started one's: the station's code, and with it the work folder,
        // is set before each print.
        for (const char *station : {"07", "08"})
            addWorkFolder(*b, QLatin1String(station));
        type(*a, {{0, QStringLiteral("2")}});
        RunValues::StationCode = QStringLiteral("07");
        print(*a);
        b->clickReopen();
        type(*b, {{0, QStringLiteral("0")}, {1, QStringLiteral("3")}, {3, QStringLiteral("1")}});
        RunValues::StationCode = QStringLiteral("08");
        print(*b);
        QCOMPARE(jobs(), QStringList({QStringLiteral("1|07|Joana|01|TERMICA|2|1"), QStringLiteral("2|08|Joana|01|TERMICA|4|2")}));
        QCOMPARE(items(), QStringList({QStringLiteral("1|P1|ALFA|7896004703398|12.90|2"),
                                       QStringLiteral("2|P2|BRAVO|7891106001212|35.50|3"),
                                       QStringLiteral("2|P4|DELTA|7896094902121|3.25|1")}));
    }

    // Prices of ALFA and CHARLIE change in COMPONEN; after a rebuild the button
    // fills ALFA with its last 2 labels, keeps the 5 typed for CHARLIE, leaves
    // BRAVO (same price) and DELTA (never printed) empty.
    void changedPricesFillTheirLastQuantities()
    {
        type(*a, {{0, QStringLiteral("1")}, {1, QStringLiteral("3")}, {2, QStringLiteral("1")}});
        print(*a);
        type(*a, {{0, QStringLiteral("2")}}); // ALFA's last label is now the second job's
        print(*a);
        exec(QStringLiteral("update COMPONEN set PRECOR = 13.9 where CODIGO = 'P1'"));
        exec(QStringLiteral("update COMPONEN set PRECOR = 9 where CODIGO = 'P3'"));
        a->clickClose(); // the build button lies under the list
        a->clickBuild();
        QCOMPARE(quantities(), QStringList({"P1|", "P2|", "P3|", "P4|"}));
        type(*a, {{2, QStringLiteral("5")}});

        QTest::mouseClick(a->form()->BotPrecosAlterados, Qt::LeftButton);
        QVERIFY(historyDone(*a));
        snapshot(a->form(), QStringLiteral("precos-alterados"));
        QCOMPARE(a->app.messages, QStringList());
        QCOMPARE(printLine(*a), QStringLiteral("2 produtos com preço diferente da última etiqueta (7 etiquetas); "
                                               "1 produto nunca impresso"));
        QCOMPARE(quantities(), QStringList({"P1|2", "P2|", "P3|5", "P4|"}));
        QCOMPARE(a->gridText(0, 0), QStringLiteral("2"));
        QCOMPARE(a->form()->LabelTotais->text(), QStringLiteral("7 etiquetas em 2 produtos"));
    }

    // "Preços alterados" pressed while the list is being read for a search key: it waits
    // for that read, writes, and the rows shown and the next print hold what
    // it wrote.
    void changedPricesDuringARead()
    {
        type(*a, {{0, QStringLiteral("1")}, {2, QStringLiteral("1")}});
        print(*a);
        exec(QStringLiteral("update COMPONEN set PRECOR = 13.9 where CODIGO = 'P1'"));
        a->clickClose();
        a->clickBuild();
        TFormSelvarra *f = a->form();

        HeldReads held(f);
        f->EditPesqComp->setFocus();
        QTest::keyClick(f->windowHandle(), 'c');
        QVERIFY(held.waitBegun(1));
        QTest::mouseClick(f->BotPrecosAlterados, Qt::LeftButton);
        QCOMPARE(quantities(), QStringList({"P1|", "P2|", "P3|", "P4|"})); // waiting for the read
        held.letGo();
        QVERIFY(historyDone(*a));

        QCOMPARE(a->app.messages, QStringList());
        QCOMPARE(printLine(*a), QStringLiteral("1 produto com preço diferente da última etiqueta (1 etiqueta); 2 produtos nunca impressos"));
        QCOMPARE(quantities(), QStringList({"P1|1", "P2|", "P3|", "P4|"}));
        QCOMPARE(a->currentProduct(), QStringLiteral("CHARLIE"));
        QCOMPARE(a->gridText(0, 0), QStringLiteral("1"));
        QCOMPARE(f->LabelTotais->text(), QStringLiteral("1 etiqueta em 1 produto"));
        print(*a);
        QCOMPARE(items().mid(2), QStringList{QStringLiteral("2|P1|ALFA|7896004703398|13.90|1")});
    }

    // The worker held at the start of "Preços alterados": the window shows
    // the work with "Cancelar" and goes on answering; a quantity the clerk
    // types meanwhile for a product the work fills is kept. Let go, the rows
    // shown hold what was written. Held again, "Cancelar" writes nothing.
    void changedPricesLeaveTheWindowFree()
    {
        type(*a, {{0, QStringLiteral("2")}, {1, QStringLiteral("3")}, {3, QStringLiteral("1")}});
        print(*a);
        exec(QStringLiteral("update COMPONEN set PRECOR = PRECOR + 1"));
        a->clickClose();
        a->clickBuild();
        a->app.questions.clear();
        TFormSelvarra *f = a->form();
        QSemaphore gate;
        std::atomic<int> held{0};
        f->historyWork()->setBeforeTask([&] {
            ++held;
            gate.acquire();
        });
        // A check that fails while the work is held must not leave it held.
        const auto letGo = qScopeGuard([&] {
            f->historyWork()->setBeforeTask({});
            gate.release(10);
        });
        auto panelText = [f] {
            auto *panel = f->findChild<QWidget *>(QStringLiteral("PainelEspera"));
            return panel && panel->isVisible() ? f->findChild<QLabel *>(QStringLiteral("LabelEspera"))->text() : QString();
        };

        QTest::mouseClick(f->BotPrecosAlterados, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return held == 1; }, 60000));
        QCOMPARE(panelText(), QStringLiteral("Comparando os preços da lista com as últimas etiquetas…"));
        bool answered = false;
        QTimer::singleShot(0, f, [&] { answered = true; });
        QVERIFY(QTest::qWaitFor([&] { return answered; }, 5000));
        a->typeInCell(1, 0, QStringLiteral("5")); // BRAVO, which the work would fill with 3
        QCOMPARE(quantities().value(1), QStringLiteral("P2|5"));
        // Closing the list or printing it would miss the quantities on their way.
        QTest::mouseClick(f->BotSairMontEtiq, Qt::LeftButton);
        QTest::mouseClick(f->btnEtiqSemPreco, Qt::LeftButton);
        QVERIFY(f->PainelSelvarra->isVisible());
        gate.release();
        QVERIFY(historyDone(*a));
        QVERIFY(f->BotSairMontEtiq->isEnabled() && f->btnEtiqSemPreco->isEnabled());
        QCOMPARE(a->app.messages, QStringList());
        QCOMPARE(panelText(), QString());
        QCOMPARE(quantities(), QStringList({"P1|2", "P2|5", "P3|", "P4|1"}));
        QCOMPARE(a->gridText(0, 0), QStringLiteral("2"));
        QCOMPARE(a->gridText(3, 0), QStringLiteral("1"));
        QCOMPARE(f->LabelTotais->text(), QStringLiteral("8 etiquetas em 3 produtos"));

        exec(QStringLiteral("update TABREV1 set QDE = null"));
        a->clickClose();
        a->clickReopen();
        QTest::mouseClick(f->BotPrecosAlterados, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return held == 2; }, 60000));
        QTest::mouseClick(f->findChild<QPushButton *>(QStringLiteral("BotCancelarEspera")), Qt::LeftButton);
        gate.release();
        QVERIFY(historyDone(*a));
        QCOMPARE(a->app.messages, QStringList());
        QCOMPARE(printLine(*a), QStringLiteral("\"Preços alterados\" cancelado; as quantidades da lista ficaram como estavam."));
        QCOMPARE(quantities(), QStringList({"P1|", "P2|", "P3|", "P4|"}));
    }

    // "Histórico de etiquetas" by keyboard: a filter that finds nothing, then
    // Enter on the job repeats it; the list gets its quantities at today's
    // prices, the other typed quantity goes once the clerk agrees.
    void repeatPutsAJobBackIntoTheList()
    {
        type(*a, {{0, QStringLiteral("2")}, {2, QStringLiteral("1")}});
        print(*a);
        exec(QStringLiteral("update COMPONEN set PRECOR = 14 where CODIGO = 'P1'"));
        a->clickClose(); // the build button lies under the list
        a->clickBuild();
        a->app.questions.clear(); // the build asked first about the quantities typed
        type(*a, {{3, QStringLiteral("4")}});

        QStringList seen;
        ReportModal::setHook([&](QDialog &d) {
            auto &window = static_cast<HistoryWindow &>(d);
            d.show();
            auto shown = [&] { return QTest::qWaitFor([&] { return !window.reading(); }, 60000); };
            shown();
            seen << d.windowTitle() << QString::number(window.GradeTrabalhos->rowCount())
                 << QString::number(window.GradeItens->rowCount());
            QTest::keyClicks(window.EditHistProduto, QStringLiteral("bravo"));
            QTest::keyClick(window.EditHistProduto, Qt::Key_Return);
            shown();
            seen << QString::number(window.GradeTrabalhos->rowCount()) << window.LabelHistorico->text();
            window.EditHistProduto->clear();
            QTest::keyClicks(window.EditHistProduto, QStringLiteral("P3"));
            QTest::keyClick(window.EditHistProduto, Qt::Key_Return);
            // Enter on the jobs before they are read repeats the one the filter finds.
            QTest::keyClick(window.GradeTrabalhos, Qt::Key_Return);
            seen << QString::number(d.result());
            shown();
            seen << QString::number(window.GradeTrabalhos->rowCount()) << window.GradeItens->item(0, 3)->text();
            snapshot(&window, QStringLiteral("historico-de-etiquetas"));
            return d.result();
        });
        QTest::mouseClick(a->form()->BotHistorico, Qt::LeftButton);
        QVERIFY(historyDone(*a));
        QCOMPARE(seen, QStringList({"Histórico de etiquetas", "1", "2", "0", "Nenhum trabalho impresso com esses filtros",
                                    "0", "1", "12,90"}));
        QCOMPARE(a->app.questions, QStringList{QStringLiteral("A lista tem quantidades digitadas em 1 produto que não estão no trabalho 1; elas serão apagadas. Continuar?")});
        QCOMPARE(quantities(), QStringList({"P1|2", "P2|", "P3|1", "P4|"}));
        QCOMPARE(printLine(*a), QStringLiteral("Trabalho 1 na lista: 3 etiquetas em 2 produtos, aos preços de hoje"));
        QCOMPARE(a->gridText(0, 3), QStringLiteral("14,00"));
    }

    // A thermal job's history is brought up to the files that went out from
    // its record alone, by whichever program and however often: files 1 and
    // 2 by the program that was killed after them, file 3 by the one started
    // again, which is asked twice (a stop and then the rest, say). ALFA 4 and
    // BRAVO 3 after one skipped position: files of 3, 3 and 2 positions.
    void thermalHistoryFollowsTheRecord()
    {
        HistoryStore store([this] { return database; });
        PrintedJob job;
        job.station = QStringLiteral("01");
        job.skipped = 1;
        job.items = {PrintedItem{1, QStringLiteral("P1"), QStringLiteral("ALFA"), QString(), Decimal(1290, 2), 4},
                     PrintedItem{2, QStringLiteral("P2"), QStringLiteral("BRAVO"), QString(), Decimal(3550, 2), 3}};
        const QByteArray record = PrintHistory::thermalRecord(job, store.reserveJobId());
        QCOMPARE(PrintHistory::recordThermal(store, record, {3, 3, 2}, 0), QString());
        QCOMPARE(jobs(), QStringList());
        QCOMPARE(PrintHistory::recordThermal(store, record, {3, 3, 2}, 2), QString());
        QCOMPARE(jobs(), QStringList{"1|01|||TERMICA|5|2"});
        HistoryStore again([this] { return database; });
        QCOMPARE(PrintHistory::recordThermal(again, record, {3, 3, 2}, 3), QString());
        QCOMPARE(PrintHistory::recordThermal(again, record, {3, 3, 2}, 3), QString());
        QCOMPARE(jobs(), QStringList{"1|01|||TERMICA|7|2"});
        QCOMPARE(items(), QStringList({"1|P1|ALFA||12.90|4", "1|P2|BRAVO||35.50|3"}));
    }

    // The history's worker held as a thermal print is queued: the job waits
    // in the line for its history number, unrecorded and unsent, while the
    // window answers. The number given, the labels go out; held again as the
    // print ends, the job's record of the hand-over stays while its history
    // waits. Let go, the history holds the job once, with its labels, the
    // print line says what went out, and the record is gone.
    void printRecordedWhileTheWorkerIsHeld()
    {
        type(*a, {{0, QStringLiteral("4")}, {1, QStringLiteral("2")}});
        TFormSelvarra *f = a->form();
        HeldHistory worker(f);
        QSignalSpy ended(f->printHandOver, &PrintHandOver::jobEnded);
        QTest::mouseClick(f->btnEtiqSemPreco, Qt::LeftButton);
        QVERIFY(worker.waitHeld(1));
        bool answered = false;
        QTimer::singleShot(0, f, [&] { answered = true; });
        QVERIFY(QTest::qWaitFor([&] { return answered; }, 5000));
        QVERIFY(f->printHandOver->handingOver());
        QCOMPARE(runs, 0);
        QCOMPARE(handOverRecords(*a), QStringList());

        worker.gate.release(1);
        QVERIFY(worker.waitHeld(2));
        QCOMPARE(runs, 2);
        answered = false;
        QTimer::singleShot(0, f, [&] { answered = true; });
        QVERIFY(QTest::qWaitFor([&] { return answered; }, 5000));
        QVERIFY(f->printHandOver->busy());
        QCOMPARE(ended.count(), 0);
        QCOMPARE(jobs(), QStringList());
        QCOMPARE(handOverRecords(*a).size(), 1);

        worker.letGo();
        QVERIFY(waitUntilIdle(*f->printHandOver, 60000));
        QCOMPARE(ended.count(), 1);
        QCOMPARE(a->app.messages, QStringList());
        QCOMPARE(printLine(*a), QStringLiteral("6 etiquetas em 2 arquivos enviadas para a impressora"));
        QCOMPARE(jobs(), QStringList{QStringLiteral("1|01|Joana|01|TERMICA|6|2")});
        QCOMPARE(items(), QStringList({QStringLiteral("1|P1|ALFA|7896004703398|12.90|4"),
                                       QStringLiteral("1|P2|BRAVO|7891106001212|35.50|2")}));
        QCOMPARE(handOverRecords(*a), QStringList());
    }

    // Closed while its thermal job waits for its history number: the clerk
    // is asked, the window says it keeps the job, and once the number comes
    // the job is on its record for "Continuar envio", with nothing sent.
    void closingWhileTheJobWaitsForItsNumberKeepsIt()
    {
        type(*a, {{0, QStringLiteral("3")}});
        TFormSelvarra *f = a->form();
        HeldHistory worker(f);
        QTest::mouseClick(f->btnEtiqSemPreco, Qt::LeftButton);
        QVERIFY(worker.waitHeld(1));
        a->app.questions.clear();
        QVERIFY(!f->close());
        QCOMPARE(a->app.questions.size(), 1);
        QVERIFY2(a->app.questions[0].startsWith(QStringLiteral("Ainda há etiquetas sendo enviadas à impressora (o trabalho está na fila).")),
                 qPrintable(a->app.questions[0]));
        auto *panel = f->findChild<QFrame *>(QStringLiteral("PainelFechando"));
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(panel->findChild<QLabel *>()->text(), QStringLiteral("Fechando: guardando o trabalho da fila para \"Continuar envio\"."));

        worker.gate.release(1);
        QTRY_VERIFY_WITH_TIMEOUT(!f->isVisible(), 30000);
        QCOMPARE(runs, 0);
        QCOMPARE(handOverRecords(*a).size(), 1);
        QCOMPARE(a->app.messages, QStringList());
    }

    // Two prints whose history waits behind the held worker, and the window
    // closed: closing gives the records in line a few seconds, and each job
    // is in the history once. The second job's number waits behind the first
    // one's record: it goes out without one after a few seconds, and is
    // recorded whole.
    void closingWritesTheRecordsInLine()
    {
        type(*a, {{0, QStringLiteral("3")}});
        TFormSelvarra *f = a->form();
        HeldHistory worker(f);
        QTest::mouseClick(f->btnEtiqSemPreco, Qt::LeftButton);
        QVERIFY(worker.waitHeld(1));
        worker.gate.release(1);
        QVERIFY(worker.waitHeld(2));
        type(*a, {{2, QStringLiteral("2")}});
        QTest::mouseClick(f->btnEtiqSemPreco, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return runs == 3 && !f->printHandOver->handingOver(); }, 60000));
        worker.form = nullptr; // the window goes with its worker
        std::thread later([&] {
            QThread::msleep(300);
            worker.gate.release(100);
        });
        a.reset();
        later.join();
        HistoryStore store([this] { return database; });
        QList<HistoryStore::JobRow> rows = store.jobs({});
        std::sort(rows.begin(), rows.end(), [](const auto &x, const auto &y) { return x.id < y.id; });
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].labels, 3);
        QCOMPARE(store.items(rows[0].id).value(0).componente, QStringLiteral("ALFA"));
        QCOMPARE(rows[1].labels, 5);
    }

    // The station keeps 300 days: 45 jobs of 400 days go, in batches, with
    // their products; jobs of 299 days and of today stay.
    void retentionRemovesOnlyOldJobs()
    {
        HistoryStore store([this] { return database; });
        PrintedJob job;
        job.station = QStringLiteral("01");
        job.items = {PrintedItem{1, QStringLiteral("P1"), QStringLiteral("ALFA"), QString(), Decimal(1290, 2), 2}};
        for (int i = 0; i < 47; ++i) {
            qint64 id = 0;
            store.record(job, HistoryStore::thermalOutput(), &id);
        }
        exec(QStringLiteral("update SELVAR_HISTORICO set DATAHORA = dateadd(day, -400, current_timestamp) where ID <= 45"));
        exec(QStringLiteral("update SELVAR_HISTORICO set DATAHORA = dateadd(day, -299, current_timestamp) where ID = 46"));
        const QString folder = a->app.suite.path(QStringLiteral("Interfac01"));
        TextFile::writeLines(QDir(folder).filePath(QStringLiteral("Selvar.ini")),
                             {QStringLiteral("TEMPO LIMITE POR ARQUIVO=60"), HistorySettings::retentionKey() + QStringLiteral("=300")});
        QCOMPARE(HistorySettings::retentionDays(folder), 300);

        HistoryWork work;
        HistoryRetention retention(work, [this] { return database; }, [&] { return HistorySettings::retentionDays(folder); },
                                   [] { return false; });
        QSignalSpy ended(&retention, &HistoryRetention::passEnded);
        retention.start(0);
        QVERIFY(ended.wait(20000));
        QCOMPARE(retention.removed(), 45);
        QCOMPARE(rows(QStringLiteral("select ID from SELVAR_HISTORICO order by ID")), QStringList({"46", "47"}));
        QCOMPARE(rows(QStringLiteral("select distinct HISTORICO from SELVAR_HISTORICO_ITEM order by 1")), QStringList({"46", "47"}));
    }
};

QTEST_MAIN(PrintHistoryTest)
#include "tst_print_history.moc"
