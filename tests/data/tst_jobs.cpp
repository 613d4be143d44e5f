// Jobs on a shared database: the suite-wide lock and the job's one transaction,
// with two data modules (two stations) on one embedded database.
#include "SuiteJob.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QtTest>
#include <memory>

class JobsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> a, b;

    static std::unique_ptr<TDM> station()
    {
        auto dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
        return dm;
    }

    static QStringList codes(ClientDataSet *list)
    {
        QStringList result;
        list->Close();
        list->Open();
        for (list->First(); !list->Eof(); list->Next())
            result << list->FieldByName(QStringLiteral("CODIGO")).AsString();
        list->Close();
        result.sort();
        return result;
    }

    static void append(ClientDataSet *list, const QString &codigo)
    {
        list->Append();
        list->FieldByName(QStringLiteral("CODIGO")).setAsString(codigo);
        list->Post();
    }

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        QVERIFY(suite->createMainDatabase());
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO) values ('OLD')"));
        a = station();
        b = station();
    }

    void cleanup()
    {
        b.reset();
        a.reset();
        suite.reset();
    }

    // Inside the job its own rows are seen, by re-reads too; the other station
    // sees the previous list until the commit, and a rollback keeps it whole.
    void allOrNothing()
    {
        for (bool commit : {false, true}) {
            SuiteJob job(*a->SQLConnection1, QStringLiteral("07"), SuiteJob::Kind::ListBuild);
            job.Begin();
            a->SQLConnection1->ExecuteDirect(QStringLiteral("delete from TABREV1"));
            a->TabRev1->Open();
            append(a->TabRev1, QStringLiteral("NEW1"));
            append(a->TabRev1, QStringLiteral("NEW2"));
            QCOMPARE(a->TabRev1->RecordCount(), 2); // the re-read after the posts, inside the job
            a->TabRev1->Close();
            QCOMPARE(codes(b->TabRev1), QStringList{QStringLiteral("OLD")});
            commit ? job.Commit() : job.Rollback();
            QCOMPARE(codes(b->TabRev1), commit ? (QStringList{QStringLiteral("NEW1"), QStringLiteral("NEW2")})
                                               : QStringList{QStringLiteral("OLD")});
        }
        QVERIFY(!a->SQLConnection1->InTransaction());
        QVERIFY(!a->SQLConnection1->Connected());
    }

    // On a counter the program is alone with its embedded database: the lock's
    // attachment, then the one that hands the engine its settings, open it
    // first, and the job runs as with anyone else there.
    void jobOnADatabaseTheProgramOpensFirst()
    {
        suite->disconnect();
        {
            SuiteJob job(*a->SQLConnection1, QStringLiteral("07"), SuiteJob::Kind::ListBuild);
            job.Begin();
            a->SQLConnection1->ExecuteDirect(QStringLiteral("delete from TABREV1"));
            a->TabRev1->Open();
            append(a->TabRev1, QStringLiteral("NEW1"));
            a->TabRev1->Close();
            job.Commit();
        }
        QCOMPARE(codes(b->TabRev1), QStringList{QStringLiteral("NEW1")});
    }

    // The driver starts the job's transaction with Firebird's defaults: it waits
    // on locks (as the suite asks) in snapshot isolation (which the README
    // explains). Should the driver ever change, the README must too.
    void jobTransactionWaitsOnLocks()
    {
        SuiteJob job(*a->SQLConnection1, QStringLiteral("07"), SuiteJob::Kind::Print);
        job.Begin();
        QSqlQuery query = a->SQLConnection1->exec(QStringLiteral(
            "select MON$LOCK_TIMEOUT, MON$ISOLATION_MODE from MON$TRANSACTIONS where MON$TRANSACTION_ID = CURRENT_TRANSACTION"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), -1);
        QCOMPARE(query.value(1).toInt(), 1);
    }

    // A database of the suite without the lock's table gets it from the first job.
    void lockTableCreatedWhenMissing()
    {
        suite->exec(QStringLiteral("drop table SELVAR_TRAVA"));
        {
            SuiteJob job(*a->SQLConnection1, QStringLiteral("07"), SuiteJob::Kind::Print);
            QVERIFY_THROWS_EXCEPTION(JobBusyError, SuiteJob(*b->SQLConnection1, QStringLiteral("08"), SuiteJob::Kind::Print));
        }
        QCOMPARE(suite->scalar(QStringLiteral("select ESTACAO from SELVAR_TRAVA where ID = 2")).toString(), QStringLiteral("07"));
    }
};

QTEST_MAIN(JobsTest)
#include "tst_jobs.moc"
