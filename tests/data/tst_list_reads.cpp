// Reading a list off the window's thread: a newer read makes the older ones
// give way, the stamp of the rows in hand spares a read that would give the
// same rows and never hides a change, and an engine without record versions
// is read whole every time.
#include "BackgroundRead.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QSemaphore>
#include <QThread>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <memory>

namespace {

const QString kDatabase = QStringLiteral(":C:\\boticon\\dados\\boticon.bd");

BackgroundRead::Request listRequest(TDM &dm, const QString &order)
{
    BackgroundRead::Request request;
    request.database = kDatabase;
    request.statement = QStringLiteral("select %1 from TABREV1 order by %2")
                            .arg(QStringLiteral("CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1"), order);
    request.defs = dm.TabRev1->fieldDefs();
    request.stamped = true;
    request.versionColumn = QStringLiteral("rdb$record_version");
    return request;
}

std::shared_ptr<BackgroundRead::Result> answer(QSignalSpy &spy)
{
    if (spy.isEmpty() && !spy.wait(60000))
        return {};
    return spy.takeFirst().at(0).value<std::shared_ptr<BackgroundRead::Result>>();
}

} // namespace

class ListReadsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> dm;

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        QVERIFY(suite->createMainDatabase());
        suite->exec(QStringLiteral("execute block as declare i integer = 0; begin while (i < 2000) do begin "
                                   "insert into TABREV1 (CODIGO, COMPONENTE) values (lpad(:i, 5, '0'), "
                                   "'P' || lpad(2000 - :i, 5, '0')); i = i + 1; end end"));
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(kDatabase);
        dm->SQLDS_TabRev1->setCommandText(listRequest(*dm, QStringLiteral("CODIGO")).statement);
    }

    void cleanup()
    {
        dm.reset();
        suite.reset();
    }

    // Three reads asked while the first is held at its start: only the newest
    // answers, the one in between never begins, and its rows are its own order.
    void newerReadsMakeOlderOnesGiveWay()
    {
        BackgroundRead reader;
        QSemaphore gate;
        std::atomic<int> begun{0};
        reader.setBeforeFetch([&] {
            ++begun;
            gate.acquire();
        });
        QSignalSpy answers(&reader, &BackgroundRead::finished);
        reader.read(listRequest(*dm, QStringLiteral("CODIGO")));
        QVERIFY(QTest::qWaitFor([&] { return begun.load() == 1; }, 60000));
        reader.read(listRequest(*dm, QStringLiteral("COMPONENTE desc")));
        const quint64 newest = reader.read(listRequest(*dm, QStringLiteral("COMPONENTE")));
        gate.release(10);

        const auto result = answer(answers);
        QVERIFY(result);
        QCOMPARE(result->id, newest);
        QVERIFY(!result->failed);
        QCOMPARE(int(result->rows.size()), 2000);
        QCOMPARE(result->rows.at(0).at(0).toString(), QStringLiteral("01999")); // "P00001", the first by name
        QCOMPARE(begun.load(), 2);
    }

    // A commit out of order (a transaction begun earlier commits after a later
    // one) leaves the count of rows and the highest version as they were; the
    // stamp still tells the rows in hand from the database's.
    void stampSeesACommitOutOfOrder()
    {
        TDM early, late;
        early.SQLConnection1->setDataBase(kDatabase);
        late.SQLConnection1->setDataBase(kDatabase);
        ClientDataSet &list = *dm->TabRev1;
        list.Open();

        early.SQLConnection1->BeginTransaction();
        early.SQLConnection1->exec(QStringLiteral("update TABREV1 set QDE = 7 where CODIGO = '00001'"));
        late.SQLConnection1->BeginTransaction();
        late.SQLConnection1->exec(QStringLiteral("update TABREV1 set QDE = 9 where CODIGO = '00002'"));
        late.SQLConnection1->CommitTransaction();
        list.Reopen();
        QCOMPARE(list.FieldByName(QStringLiteral("CODIGO")).AsString(), QStringLiteral("00000"));
        list.Next();
        QVERIFY(list.FieldByName(QStringLiteral("QDE")).IsNull());
        early.SQLConnection1->CommitTransaction();

        // The background read compares with the stamp in hand as the window does.
        BackgroundRead reader;
        QSignalSpy answers(&reader, &BackgroundRead::finished);
        BackgroundRead::Request request = listRequest(*dm, QStringLiteral("CODIGO"));
        request.stampInHand = list.currentStamp();
        QVERIFY(!request.stampInHand.isEmpty());
        reader.read(request);
        const auto result = answer(answers);
        QVERIFY(result && !result->failed);
        QVERIFY2(!result->unchanged, "a commit out of order was taken for no change");
        list.installRead(std::move(result->rows), result->stamp, false);
        list.Next();
        QVERIFY2(!list.FieldByName(QStringLiteral("QDE")).IsNull(), "the rows shown miss the earlier transaction's change");

        // Nothing committed since: the rows in hand stand.
        request.stampInHand = list.currentStamp();
        reader.read(request);
        const auto again = answer(answers);
        QVERIFY(again && again->unchanged);
    }

    // The rows come made ready by the reading thread, with what was worked
    // out from them there; putting them in place hands back the rows they
    // replace, and a row put in place so is edited and stored like one the
    // data set read itself.
    void rowsComeReadyFromTheReadingThread()
    {
        ClientDataSet &list = *dm->TabRev1;
        list.Open();
        suite->exec(QStringLiteral("update TABREV1 set QDE = 2 where CODIGO in ('00001', '00004')"));
        BackgroundRead reader;
        QSignalSpy answers(&reader, &BackgroundRead::finished);
        BackgroundRead::Request request = listRequest(*dm, QStringLiteral("CODIGO"));
        const int quantity = list.FieldByName(QStringLiteral("QDE")).Index();
        std::atomic<bool> onTheWindowsThread{true};
        request.summary = [&](const ClientDataSet::ReadyRows &rows) {
            onTheWindowsThread = QThread::currentThread() == QCoreApplication::instance()->thread();
            int withQuantity = 0;
            for (std::size_t row = 0; row < rows.size(); ++row)
                withQuantity += rows.at(row).at(quantity).isNull() ? 0 : 1;
            return QVariant(withQuantity);
        };
        reader.read(request);
        const auto result = answer(answers);
        QVERIFY(result && !result->failed);
        QVERIFY(!onTheWindowsThread);
        QCOMPARE(result->summary.toInt(), 2);

        const quint64 before = list.revision();
        const ClientDataSet::ReadyRows replaced = list.installRead(std::move(result->rows), result->stamp, false);
        QCOMPARE(int(replaced.size()), 2000);
        QVERIFY(replaced.at(1).at(quantity).isNull()); // the rows as they were before the change
        QVERIFY(list.revision() != before);
        QCOMPARE(list.RecordCount(), 2000);
        QCOMPARE(list.RecNo(), 1);
        list.setRecNo(2);
        QCOMPARE(list.FieldByName(QStringLiteral("QDE")).AsString(), QStringLiteral("2"));

        const quint64 installed = list.revision();
        list.setRecNo(4);
        list.FieldByName(QStringLiteral("QDE")).setAsString(QStringLiteral("5"));
        list.Post(); // stored at once, as every TABREV1 post
        QVERIFY(list.revision() != installed);
        QCOMPARE(list.ChangeCount(), 0);
        QCOMPARE(suite->rows(QStringLiteral("select cast(QDE as integer) from TABREV1 where CODIGO = '00003'")).value(0).value(0).toInt(),
                 5);

        // Nothing changed since the stamp in hand: nothing is handed back and
        // what was worked out from the rows still holds.
        list.Refresh();
        QCOMPARE(list.RecordCount(), 2000);
        request.stampInHand = list.currentStamp();
        reader.read(request);
        const auto again = answer(answers);
        QVERIFY(again && again->unchanged && !again->summary.isValid());
        const quint64 held = list.revision();
        QCOMPARE(int(list.installRead(std::move(again->rows), again->stamp, true).size()), 0);
        QCOMPARE(list.revision(), held);
    }

    // Rows put into a closed set open it with no round trip to the database:
    // the window's attachment is made by the first statement the list needs,
    // a store or a read of its own.
    void closedSetOpensWithoutAttaching()
    {
        ClientDataSet &list = *dm->TabRev1;
        BackgroundRead reader;
        QSignalSpy answers(&reader, &BackgroundRead::finished);
        reader.read(listRequest(*dm, QStringLiteral("CODIGO")));
        const auto result = answer(answers);
        QVERIFY(result && !result->failed);
        QVERIFY(!dm->SQLConnection1->Connected());
        list.installRead(std::move(result->rows), result->stamp, false);
        QVERIFY(list.Active());
        QVERIFY2(!dm->SQLConnection1->Connected(), "the rows in hand were put in place by a round trip");
        QCOMPARE(list.RecordCount(), 2000);

        list.setRecNo(3);
        list.FieldByName(QStringLiteral("QDE")).setAsString(QStringLiteral("4"));
        list.Post();
        QCOMPARE(suite->scalar(QStringLiteral("select cast(QDE as integer) from TABREV1 where CODIGO = '00002'")).toInt(), 4);
        list.Refresh();
        list.setRecNo(3);
        QCOMPARE(list.FieldByName(QStringLiteral("QDE")).AsString(), QStringLiteral("4"));
        list.Close();
        QVERIFY(!dm->SQLConnection1->Connected());
    }

    // An engine that refuses the version column: the list is read whole, and
    // the same rows come back each time, never an error.
    void engineWithoutRecordVersions()
    {
        BackgroundRead reader;
        QSignalSpy answers(&reader, &BackgroundRead::finished);
        BackgroundRead::Request request = listRequest(*dm, QStringLiteral("CODIGO"));
        request.versionColumn = QStringLiteral("RDB$VERSAO_QUE_NAO_HA");
        for (int round = 0; round < 2; ++round) {
            reader.read(request);
            const auto result = answer(answers);
            QVERIFY(result);
            QVERIFY2(!result->failed, qPrintable(result->error));
            QVERIFY(!result->unchanged);
            QVERIFY(result->stamp.isEmpty());
            QCOMPARE(int(result->rows.size()), 2000);
            request.stampInHand = result->stamp;
        }
    }
};

QTEST_MAIN(ListReadsTest)
#include "tst_list_reads.moc"
