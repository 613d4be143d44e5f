// The data module's connection when the database drops its attachment (as a
// server restart or a network lost would), on a real embedded database:
// outside a job the next read or single write is done once on a new
// attachment; inside a job the job fails whole; what reaches the clerk leads
// with Portuguese.
#include "DatabaseErrors.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QtTest>
#include <memory>

class ConnectionLostTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> dm;

    int count(const QString &table) { return suite->scalar(QStringLiteral("select count(*) from ") + table).toInt(); }
    // Every attachment but the suite's own is shut down.
    void dropAttachments() { suite->exec(QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID <> CURRENT_CONNECTION")); }

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        QVERIFY(suite->createMainDatabase());
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
        suite->exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('01', 'A4')"));
    }

    void cleanup()
    {
        dm.reset();
        suite.reset();
    }

    void readsAndSingleWritesGoOnOnANewAttachment()
    {
        SqlConnection &connection = *dm->SQLConnection1;
        dm->TabRev1->Open(); // holds the attachment, as the window's list does
        dropAttachments();
        dm->EtiqPar->Open();
        QCOMPARE(dm->EtiqPar->RecordCount(), 1);
        QCOMPARE(connection.reconnections(), quint64(1));

        dropAttachments();
        connection.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('D1', 'Direto')"));
        QCOMPARE(count(QStringLiteral("TABREV1")), 1);

        // A quantity posted through the data set: written once, not twice or never.
        dropAttachments();
        dm->TabRev1->Append();
        dm->TabRev1->FieldByName(QStringLiteral("CODIGO")).setAsString(QStringLiteral("P1"));
        dm->TabRev1->FieldByName(QStringLiteral("QDE")).setAsString(QStringLiteral("3"));
        dm->TabRev1->Post();
        QCOMPARE(dm->TabRev1->ChangeCount(), 0);
        QCOMPARE(suite->scalar(QStringLiteral("select cast(QDE as integer) from TABREV1 where CODIGO = 'P1'")).toInt(), 3);

        // An update after a prepared insert of the same data set: prepared anew.
        QVERIFY(dm->TabRev1->FindKey({QStringLiteral("P1")}));
        dropAttachments();
        dm->TabRev1->Edit();
        dm->TabRev1->FieldByName(QStringLiteral("QDE")).setAsString(QStringLiteral("5"));
        dm->TabRev1->Post();
        QCOMPARE(suite->scalar(QStringLiteral("select cast(QDE as integer) from TABREV1 where CODIGO = 'P1'")).toInt(), 5);

        QCOMPARE(connection.reconnections(), quint64(4));
        QCOMPARE(count(QStringLiteral("TABREV1")), 2);
    }

    // The job's rows went with the attachment: nothing of it is done again
    // behind its back, every later statement of it fails, and once it is
    // rolled back the connection serves again.
    void insideAJobTheJobFailsWhole()
    {
        SqlConnection &connection = *dm->SQLConnection1;
        connection.BeginTransaction();
        connection.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO) values ('J1')"));
        dropAttachments();
        try {
            connection.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO) values ('J2')"));
            QFAIL("a job's statement on a dropped attachment must fail");
        } catch (const DatabaseError &error) {
            QVERIFY(isConnectionFailure(error));
        }
        QVERIFY_THROWS_EXCEPTION(DatabaseError, connection.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO) values ('J3')")));
        connection.RollbackTransaction();
        QCOMPARE(connection.reconnections(), quint64(0));
        QCOMPARE(count(QStringLiteral("TABREV1")), 0);
        connection.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO) values ('J4')"));
        QCOMPARE(count(QStringLiteral("TABREV1")), 1);
    }

    // The driver commits a single statement by itself and did not fail the
    // statement when that commit failed: a quantity refused at its commit
    // passed for stored. It is refused like any other now, stays pending, and
    // nothing of it is left behind in the database.
    void aWriteRefusedAtItsCommitStaysPending()
    {
        suite->exec(QStringLiteral("create exception VETADO 'vetado na confirmação'"));
        suite->exec(QStringLiteral("create trigger VETO_NA_CONFIRMACAO on transaction commit as begin "
                                   "if (exists(select 1 from TABREV1 where CODIGO = 'VETO')) then exception VETADO; end"));
        dm->TabRev1->Open();
        dm->TabRev1->Append();
        dm->TabRev1->FieldByName(QStringLiteral("CODIGO")).setAsString(QStringLiteral("VETO"));
        QVERIFY_THROWS_EXCEPTION(SelvarError, dm->TabRev1->Post());
        QCOMPARE(dm->TabRev1->ChangeCount(), 1);
        QCOMPARE(count(QStringLiteral("TABREV1")), 0);
        // The attachment that held the refused row was let go: the next write goes through.
        dm->SQLConnection1->ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO) values ('OK')"));
        QCOMPARE(count(QStringLiteral("TABREV1")), 1);
    }

    // A database that cannot be reached is said in Portuguese, the client's
    // words after it; the clerk never gets them alone.
    void unreachableDatabaseIsToldInPortuguese()
    {
        dm->SQLConnection1->setDataBase(QStringLiteral("127.0.0.1/1:/nada/boticon.bd"));
        try {
            dm->EtiqPar->Open();
            QFAIL("a database nobody serves cannot be opened");
        } catch (const ConnectionLost &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Não foi possível conectar ao banco de dados: nada foi lido "
                                                               "nem gravado.")),
                     qPrintable(error.message()));
        }
        const DatabaseError driver(QStringLiteral("Error reading data from the connection."), -902);
        QVERIFY(userMessage(driver).startsWith(QStringLiteral("A conexão com o servidor foi perdida;")));
    }
};

QTEST_MAIN(ConnectionLostTest)
#include "tst_connection_lost.moc"
