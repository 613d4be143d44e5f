// The list flow alone, with no window: a screen that notes what it is shown,
// the data module on an embedded database of the test's own, and the
// workers, the counter and the model box the window would lend it.
#include "ColumnLists.h"
#include "Counter.h"
#include "JobWorker.h"
#include "ListFlow.h"
#include "ListReads.h"
#include "ListScreen.h"
#include "ListWrites.h"
#include "Messages.h"
#include "RunValues.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QComboBox>
#include <QtTest>
#include <memory>

namespace {

class RecordingScreen : public ListScreen
{
public:
    QString searchLine, printLine = QStringLiteral("impresso antes"), totals;
    QString nameBox, codeBox;
    bool panelShown = false, actionsEnabled = true, jobRunning = false;
    int gridFocused = 0, loadingMaximum = -1, loadingValue = -1;
    QStringList log;

    void showListPanel() override { panelShown = true; }
    void hideListPanel() override { panelShown = false; }
    bool listPanelShown() const override { return panelShown; }
    void showSearchLine(const QString &text) override { searchLine = text; }
    void showPrintLine(const QString &text) override { printLine = text; }
    void showTotals(const QString &text) override { totals = text; }
    QString searchText(ProductSearch::Column column) const override
    {
        return column == ProductSearch::Column::Codigo ? codeBox : nameBox;
    }
    void focusGridQuantity() override { ++gridFocused; }
    bool commitGridEdit() override { return true; }
    bool mainActionsEnabled() const override { return actionsEnabled; }
    void setMainActionsEnabled(bool enabled) override { actionsEnabled = enabled; }
    void setJobRunning(bool running) override { jobRunning = running; }
    void loadingBegin(int maximum) override { loadingMaximum = maximum; }
    void loadingSetValue(int value) override { loadingValue = value; }
    void loadingEnd() override {}
    void buildLogClear() override { log.clear(); }
    void buildLogAppend(const QString &lines) override { log += lines.split(QLatin1Char('\n')); }
    void buildLogFlush() override {}
    void waitingInLine(const QString &, int) override {}
    void waitEnded() override {}
};

} // namespace

class ListFlowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<Counter> counter;
    std::unique_ptr<ListReads> reads;
    std::unique_ptr<ListWrites> writes;
    std::unique_ptr<JobWorker> worker;
    std::unique_ptr<QComboBox> modelBox;
    std::unique_ptr<RecordingScreen> screen;
    std::unique_ptr<ListFlow> flow;
    QStringList messages, questions;
    bool answerYes = false;

    bool settled()
    {
        return QTest::qWaitFor([this] { return !worker->busy() && reads->idle() && !writes->writing() && counter->idle(); },
                               60000);
    }

    QString current(const char *column) { return dm->TabRev1->FieldByName(QString::fromLatin1(column)).AsString(); }

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        QVERIFY(suite->createMainDatabase());
        const char *names[] = {"Sabonete de aveia", "Shampoo neutro", "Creme dental", "Protetor solar 50"};
        for (int i = 0; i < 4; ++i)
            suite->exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR) "
                                       "values (?, ?, 'REV', ?, 12.5)"),
                        {QStringLiteral("R%1").arg(i), QString::fromUtf8(names[i]), QStringLiteral("789100000000%1").arg(i)});
        suite->exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL) values ('01', 'A4 - Pimaco 6180', 3)"));
        suite->exec(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('01')"));
        setColumnLists();
        RunValues::StationCode = QStringLiteral("01");
        Messages::setSink([this](const QString &text) { messages << text; });
        Messages::setQuestionSink([this](const QString &text) {
            questions << text;
            return answerYes;
        });
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
        counter = std::make_unique<Counter>();
        reads = std::make_unique<ListReads>(*dm);
        writes = std::make_unique<ListWrites>(*dm);
        worker = std::make_unique<JobWorker>();
        modelBox = std::make_unique<QComboBox>();
        screen = std::make_unique<RecordingScreen>();
        flow = std::make_unique<ListFlow>(*screen, ListFlow::Parts{*dm, *counter, *reads, *writes, *worker, *modelBox});
    }

    void cleanup()
    {
        worker.reset();
        flow.reset();
        writes.reset();
        reads.reset();
        dm.reset();
        suite.reset();
        Messages::setSink([](const QString &) {});
        Messages::setQuestionSink({});
        RunValues::reset();
    }

    // The build fills the list, shows it with its totals and the current
    // model, and gives the window back; a search finds by name; a quantity
    // that another station's new list refuses is dropped and told.
    void buildSearchAndRefusedQuantity()
    {
        flow->build();
        QVERIFY(!screen->actionsEnabled); // inactive while the worker builds
        QVERIFY(settled());
        QVERIFY2(screen->panelShown, qPrintable(messages.join(QLatin1Char('|'))));
        QVERIFY(screen->actionsEnabled);
        QCOMPARE(screen->loadingMaximum, 4);
        QVERIFY(screen->log.contains(QStringLiteral("Código: 7891000000001  Componente: Shampoo neutro")));
        QCOMPARE(dm->TabRev1->RecordCount(), 4);
        QCOMPARE(current("COMPONENTE"), QStringLiteral("Creme dental"));
        QCOMPARE(modelBox->currentText(), QStringLiteral("A4 - Pimaco 6180"));
        QVERIFY(screen->printLine.isEmpty());
        QVERIFY(!screen->totals.isEmpty());

        screen->nameBox = QStringLiteral("Sh");
        flow->searchChanged(ProductSearch::Column::Componente);
        QVERIFY(settled());
        QCOMPARE(current("COMPONENTE"), QStringLiteral("Shampoo neutro"));
        const int focused = screen->gridFocused;
        flow->searchEnter(ProductSearch::Column::Componente);
        QCOMPARE(screen->gridFocused, focused + 1);
        screen->codeBox.clear();
        flow->searchEnter(ProductSearch::Column::Codigo);
        QCOMPARE(messages, QStringList{QStringLiteral("Digite o Código de um produto.")});
        messages.clear();

        // Another station builds a list without the shampoo meanwhile.
        suite->exec(QStringLiteral("delete from TABREV1 where CODIGO = 'R1'"));
        dm->TabRev1->Edit();
        dm->TabRev1->FieldByName(QStringLiteral("QDE")).setAsString(QStringLiteral("3"));
        QVERIFY(flow->postListEdit());
        QVERIFY(settled());
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(QStringLiteral("A lista foi montada de novo por outra estação e Shampoo neutro não está "
                                                       "mais nela; a quantidade 3")),
                 qPrintable(messages[0]));
        QVERIFY(screen->searchLine.startsWith(QStringLiteral("Não gravada: quantidade 3")));
        QCOMPARE(dm->TabRev1->ChangeCount(), 0);
        QCOMPARE(suite->scalar(QStringLiteral("select count(*) from TABREV1 where QDE is not null")).toInt(), 0);
    }

    // Typed quantities are erased only with the clerk's yes; a no leaves
    // the list and the window as they were. Closing drops the list.
    void buildAsksBeforeErasingQuantities()
    {
        flow->build();
        QVERIFY(settled());
        dm->TabRev1->Edit();
        dm->TabRev1->FieldByName(QStringLiteral("QDE")).setAsString(QStringLiteral("2"));
        QVERIFY(flow->postListEdit());
        QVERIFY(settled());
        QCOMPARE(suite->scalar(QStringLiteral("select sum(QDE) from TABREV1")).toInt(), 2);

        flow->build();
        QVERIFY(settled());
        QCOMPARE(questions.size(), 1);
        QVERIFY(questions[0].startsWith(QStringLiteral("A lista tem 2 etiquetas digitadas em 1 produto.")));
        QVERIFY(screen->actionsEnabled);
        QVERIFY(!screen->jobRunning);
        QCOMPARE(suite->scalar(QStringLiteral("select sum(QDE) from TABREV1")).toInt(), 2);

        flow->closeList();
        QVERIFY(!screen->panelShown);
        QVERIFY(!dm->TabRev1->Active());
        QVERIFY(flow->windowMayClose([] { QFAIL("nothing was on its way"); }));
    }
};

QTEST_MAIN(ListFlowTest)
#include "tst_list_flow.moc"
