// What the counter does with each input in each state of the station,
// without a window: the table it decides by, and the order in which what it
// holds goes once the work it waits for is done.
#include "Counter.h"
#include "CounterPolicy.h"

#include <QSignalSpy>
#include <QtTest>

using CounterPolicy::Activities;
using CounterPolicy::Activity;
using CounterPolicy::Input;
using CounterPolicy::Verdict;

Q_DECLARE_METATYPE(CounterPolicy::Input)
Q_DECLARE_METATYPE(CounterPolicy::Verdict)

namespace {

struct Situation
{
    const char *name;
    Activities busy;
    bool holding;
};

const Situation kIdle{"idle", Activities(), false};
const Situation kReading{"reading the list", Activity::ListRead, false};
const Situation kReadingHolding{"reading, keys waiting", Activity::ListRead, true};
const Situation kStoring{"storing a quantity", Activity::QuantityWrite, false};
const Situation kBuilding{"building the list", Activity::Build, false};
const Situation kPrinting{"writing a print job", Activity::PrintJob, false};
const Situation kHandingOver{"handing a job over", Activity::HandOver, false};
const Situation kHistory{"history writing quantities", Activity::History, false};
const Situation kHistoryReading{"history, list read", Activities(Activity::History) | Activity::ListRead, false};

} // namespace

class TstCounterPolicy : public QObject
{
    Q_OBJECT

private slots:
    void table_data();
    void table();
    void heldGoesInOrderOnceTheReadIsDone();
    void workThatStartsAReadMakesTheRestWait();
    void refusedAtItsTurnIsSaid();
    void ownWorkWaitsOnlyForTheRows();
};

void TstCounterPolicy::table_data()
{
    QTest::addColumn<int>("situation");
    QTest::addColumn<CounterPolicy::Input>("input");
    QTest::addColumn<CounterPolicy::Verdict>("verdict");

    const Situation situations[] = {kIdle,     kReading,     kReadingHolding, kStoring, kBuilding,
                                    kPrinting, kHandingOver, kHistory,        kHistoryReading};
    const std::pair<Input, const char *> inputs[] = {
        {Input::SearchText, "search text"}, {Input::SearchKey, "Enter in a search box"}, {Input::Grid, "grid"},
        {Input::StartLabel, "Etiq. Inicial"}, {Input::ModelBox, "model box"}, {Input::Print, "Etiquetas com preços"},
        {Input::CloseList, "Fechar"}, {Input::HistoryAction, "Preços alterados"}, {Input::Build, "build"},
        {Input::Reopen, "reopen"}, {Input::CloseWindow, "close window"}, {Input::Cancel, "Cancelar"}};
    // Each row: the verdict for every input above, in order. T take, H hold, R refuse.
    const char *expected[] = {
        "TTTTTTTTTTTT", // idle: everything goes at once
        "THHTHHTHTHTT", // reading: what needs the rows waits; typing in a box, closing and the build go on
        "HHHHHHHHTHHT", // keys waiting: everything but the build and Cancelar waits behind them
        "HHHTHHHHTHHT", // a quantity on its way: the list waits for it, closing too
        "RRRRRRRRRRRT", // a build owns the station: only Cancelar
        "RRRRRRRRRRRT", // a print job being written: only Cancelar
        "TTTTTTTTTTTT", // a hand-over runs behind the clerk, who goes on
        "TTTTRRRRRRTT", // history: typing goes on; what would meet its writes is refused
        "THHTRRRRRRTT", // history while the list is read
    };
    for (int s = 0; s < int(std::size(situations)); ++s) {
        for (int i = 0; i < int(std::size(inputs)); ++i) {
            const char mark = expected[s][i];
            const Verdict verdict = mark == 'T' ? Verdict::Take : mark == 'H' ? Verdict::Hold : Verdict::Refuse;
            QTest::addRow("%s / %s", situations[s].name, inputs[i].second) << s << inputs[i].first << verdict;
        }
    }
}

void TstCounterPolicy::table()
{
    const Situation situations[] = {kIdle,     kReading,     kReadingHolding, kStoring, kBuilding,
                                    kPrinting, kHandingOver, kHistory,        kHistoryReading};
    QFETCH(int, situation);
    QFETCH(CounterPolicy::Input, input);
    QFETCH(CounterPolicy::Verdict, verdict);
    const Situation &s = situations[situation];
    const CounterPolicy::Decision decision = CounterPolicy::decide(s.busy, s.holding, input);
    QCOMPARE(decision.verdict, verdict);
    // A refusal always says why, in the clerk's words.
    QCOMPARE(decision.reason.isEmpty(), verdict != Verdict::Refuse);
}

void TstCounterPolicy::heldGoesInOrderOnceTheReadIsDone()
{
    Counter counter;
    QSignalSpy holding(&counter, &Counter::holdingChanged);
    QStringList served;
    counter.setBusy(Activity::ListRead, true);
    QVERIFY(!counter.admit(Input::SearchKey, [&] { served << "Enter"; QVERIFY(counter.admit(Input::SearchKey, {})); }));
    QVERIFY(!counter.admit(Input::CloseList, [&] { served << "Fechar"; QVERIFY(counter.admit(Input::CloseList, {})); }));
    // Typing in the box goes on no longer: it would overtake what waits.
    QVERIFY(!counter.admit(Input::SearchText, [&] { served << "a"; counter.admit(Input::SearchText, {}); }));
    QCOMPARE(holding.count(), 1);
    QVERIFY(holding.at(0).at(0).toBool());
    QVERIFY(served.isEmpty());
    QVERIFY(!counter.idle());

    counter.setBusy(Activity::ListRead, false);
    QCOMPARE(served, QStringList({"Enter", "Fechar", "a"}));
    QVERIFY(counter.idle());
    QCOMPARE(holding.count(), 2);
    QVERIFY(!holding.at(1).at(0).toBool());
    // Nothing waits: the next goes at once.
    QVERIFY(counter.admit(Input::Print, {}));
}

void TstCounterPolicy::workThatStartsAReadMakesTheRestWait()
{
    Counter counter;
    QStringList served;
    counter.setBusy(Activity::ListRead, true);
    counter.admit(Input::SearchKey, [&] {
        served << "search";
        counter.setBusy(Activity::ListRead, true); // its own read
    });
    counter.admit(Input::Print, [&] { served << "print"; });
    counter.setBusy(Activity::ListRead, false);
    QCOMPARE(served, QStringList{"search"});
    QVERIFY(counter.holding());
    counter.setBusy(Activity::ListRead, false);
    QCOMPARE(served, QStringList({"search", "print"}));
}

void TstCounterPolicy::refusedAtItsTurnIsSaid()
{
    Counter counter;
    QSignalSpy refused(&counter, &Counter::refused);
    QStringList served;
    counter.setBusy(Activity::ListRead, true);
    // The held print starts its job; the model choice typed after it meets the job.
    counter.admit(Input::Print, [&] {
        served << "print";
        counter.setBusy(Activity::PrintJob, true);
    });
    counter.admit(Input::ModelBox, [&] { served << "model"; });
    counter.setBusy(Activity::ListRead, false);
    QCOMPARE(served, QStringList{"print"});
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.at(0).at(0).toString(),
             QStringLiteral("As etiquetas estão sendo geradas; aguarde o fim ou pressione \"Cancelar\"."));
    QVERIFY(!counter.holding());
}

void TstCounterPolicy::ownWorkWaitsOnlyForTheRows()
{
    Counter counter;
    QStringList served;
    counter.setBusy(Activity::PrintJob, true);
    counter.afterHeld([&] { served << "now"; });
    QCOMPARE(served, QStringList{"now"});
    counter.setBusy(Activity::QuantityWrite, true);
    counter.afterHeld([&] { served << "after the write"; });
    QCOMPARE(served, QStringList{"now"});
    counter.setBusy(Activity::QuantityWrite, false);
    QCOMPARE(served, QStringList({"now", "after the write"}));
}

QTEST_MAIN(TstCounterPolicy)
#include "tst_counter_policy.moc"
