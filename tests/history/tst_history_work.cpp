// The history's worker and what it answers with: an answer's callback (which
// may hold a panel over the list) is destroyed on the window's thread only,
// on a real embedded database.
#include "HistoryStore.h"
#include "HistoryWork.h"
#include "TestSuite.h"

#include <QThread>
#include <QtTest>
#include <atomic>
#include <memory>

namespace {

// Stands for what an answer holds: counts every copy of it destroyed on a
// thread other than the window's.
struct HeldByAnswer
{
    std::shared_ptr<std::atomic<int>> offThread = std::make_shared<std::atomic<int>>(0);
    HeldByAnswer() = default;
    HeldByAnswer(const HeldByAnswer &) = default;
    HeldByAnswer &operator=(const HeldByAnswer &) = default;
    ~HeldByAnswer()
    {
        if (offThread && QThread::currentThread() != QCoreApplication::instance()->thread())
            ++*offThread;
    }
};

} // namespace

class TstHistoryWork : public QObject
{
    Q_OBJECT

private slots:
    // Many tasks, each answered with a callback that holds something of the
    // window's: every callback is called once, and nothing of any of them is
    // destroyed on the worker, however the two threads interleave.
    void answersDieOnTheWindowsThread()
    {
        TestSuite suite;
        QVERIFY(suite.createMainDatabase());
        const QString database = QStringLiteral(":C:\\boticon\\dados\\boticon.bd");
        HeldByAnswer held;
        int answered = 0;
        {
            HistoryWork work;
            for (int i = 0; i < 40; ++i) {
                work.run(
                    database, [](HistoryWork::Context &context) { context.history().labelsRecorded(1); },
                    [held, &answered](const HistoryWork::Outcome &outcome) {
                        QVERIFY2(!outcome.failed, qPrintable(outcome.error));
                        ++answered;
                    },
                    i % 2 ? HistoryWork::Kind::Action : HistoryWork::Kind::Record);
            }
            // Asked and not answered when the work goes: dropped here too.
            QVERIFY(QTest::qWaitFor([&] { return !work.busy(); }, 60000));
            work.run(database, [](HistoryWork::Context &) { QThread::msleep(50); }, [held](const HistoryWork::Outcome &) {});
        }
        QCOMPARE(answered, 40);
        QCOMPARE(held.offThread->load(), 0);
    }
};

QTEST_GUILESS_MAIN(TstHistoryWork)
#include "tst_history_work.moc"
