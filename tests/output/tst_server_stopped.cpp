// The Firebird server dies in the middle of a list build and of an expansion
// (a server of the test's own, killed and started again): once it is back, the
// previous list and the previous job are there exactly as they were, the
// message said so, and the lock is free.
#include "ClientDataSet.h"
#include "ColumnLists.h"
#include "Field.h"
#include "JobProgress.h"
#include "LabelJobExpansion.h"
#include "PrivateServer.h"
#include "ProductListBuilder.h"
#include "SqlConnection.h"
#include "SuiteJob.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QtTest>
#include <functional>
#include <memory>

namespace {

// Kills the server once the build has stored `after` products.
class KillingDisplay : public ListBuildDisplay
{
public:
    KillingDisplay(PrivateServer &server, int after) : m_server(server), m_after(after) {}
    void loadingSetValue(int value) override
    {
        if (value >= m_after)
            m_server.kill();
    }

private:
    PrivateServer &m_server;
    int m_after;
};

// Kills the server once the expansion has started `after` labels.
class KillingProgress : public NoJobProgress
{
public:
    KillingProgress(PrivateServer &server, int after) : m_server(server), m_after(after) {}
    void labelStarted(const QString &) override
    {
        if (++m_labels == m_after)
            m_server.kill();
    }

private:
    PrivateServer &m_server;
    int m_after;
    int m_labels = 0;
};

// Does something to the database right after the job's commit, before it is read back.
class AfterCommit : public NoJobProgress
{
public:
    explicit AfterCommit(std::function<void()> action) : m_action(std::move(action)) {}
    void jobCommitted() override { m_action(); }

private:
    std::function<void()> m_action;
};

} // namespace

class ServerStoppedTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateServer> server;
    std::unique_ptr<TDM> dm;

    QStringList table(const QString &name)
    {
        QStringList rows;
        QSqlQuery query = dm->SQLConnection1->exec(
            QStringLiteral("select CODIGO, COMPONENTE, cast(QDE as varchar(20)) from %1 order by CODIGO").arg(name));
        while (query.next())
            rows << query.value(0).toString() + QLatin1Char('|') + query.value(1).toString() + QLatin1Char('|')
                        + query.value(2).toString();
        return rows;
    }

    QStringList tableNow(const QString &name)
    {
        dm->SQLConnection1->acquire();
        const QStringList rows = table(name);
        dm->SQLConnection1->release();
        return rows;
    }

    void execute(const QString &statement) { dm->SQLConnection1->ExecuteDirect(statement); }

private slots:
    void init()
    {
        setColumnLists();
        server = std::make_unique<PrivateServer>();
        // Forced writes, as a pharmacy keeps them: a killed server loses nothing committed.
        SELVAR_START_PRIVATE_SUITE(*server, database, TestSuite::Writes::Forced);
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(database);
        execute(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE) values ('OLD1', 'Lista anterior 1', 2)"));
        execute(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE) values ('OLD2', 'Lista anterior 2', 5)"));
        execute(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE) values ('000001', 'Trabalho anterior')"));
    }

    void cleanup()
    {
        dm.reset();
        server.reset();
    }

    void stoppedMidBuild()
    {
        execute(QStringLiteral("execute block as declare i integer = 0; begin while (i < 20000) do begin "
                               "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values ('X' || :i, 'Item ' || :i, 'REV'); "
                               "i = i + 1; end end"));
        const QStringList before = tableNow(QStringLiteral("TABREV1"));
        KillingDisplay display(*server, 2000);
        QString message;
        try {
            SuiteJob job(*dm->SQLConnection1, QStringLiteral("01"), SuiteJob::Kind::ListBuild);
            ProductListBuilder(*dm, display).run(job);
        } catch (const SelvarError &error) {
            message = error.message();
        }
        QVERIFY2(message.endsWith(QStringLiteral("\nA lista anterior foi mantida.")), qPrintable(message));

        QVERIFY(server->start());
        QCOMPARE(tableNow(QStringLiteral("TABREV1")), before);
        SuiteJob next(*dm->SQLConnection1, QStringLiteral("02"), SuiteJob::Kind::ListBuild);
    }

    void stoppedMidExpansion()
    {
        execute(QStringLiteral("update TABREV1 set QDE = 3000"));
        const QStringList before = tableNow(QStringLiteral("TABREV2"));
        KillingProgress progress(*server, 3000);
        QString message;
        try {
            SuiteJob job(*dm->SQLConnection1, QStringLiteral("01"), SuiteJob::Kind::Print);
            LabelJobExpansion(*dm).run(QString(), progress, job);
        } catch (const SelvarError &error) {
            message = error.message();
        }
        QVERIFY2(message.endsWith(QStringLiteral("\nNenhuma etiqueta foi gerada; o trabalho anterior foi mantido.")),
                 qPrintable(message));

        QVERIFY(server->start());
        QCOMPARE(tableNow(QStringLiteral("TABREV2")), before);
        SuiteJob next(*dm->SQLConnection1, QStringLiteral("02"), SuiteJob::Kind::Print);
    }

    // The server dies right after the commit: the new job is written and not
    // printed, and the message says so instead of claiming the old job stayed.
    void stoppedAfterTheCommit()
    {
        AfterCommit progress([this] { server->kill(); });
        QString message;
        try {
            SuiteJob job(*dm->SQLConnection1, QStringLiteral("01"), SuiteJob::Kind::Print);
            LabelJobExpansion(*dm).run(QString(), progress, job);
        } catch (const JobNotReadBack &error) {
            message = error.message();
        }
        QVERIFY2(message.startsWith(QStringLiteral("O trabalho novo (7 etiquetas) foi gravado em TABREV2, mas não foi impresso")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("a conexão com o banco de dados caiu")), qPrintable(message));

        QVERIFY(server->start());
        const QStringList job = tableNow(QStringLiteral("TABREV2"));
        QCOMPARE(job.size(), 7);
        QCOMPARE(job.constFirst(), QStringLiteral("000001|Lista anterior 1|"));
    }

    // Only this station's attachment is cut after the commit (as SYSDBA, from
    // another attachment): the second read opens a new one and the job is read.
    void attachmentCutAfterTheCommit()
    {
        SqlConnection other(QStringLiteral("Outra"), QStringLiteral("OutraEstacao"));
        other.setDataBase(dm->SQLConnection1->DataBase());
        AfterCommit progress([&] {
            const SqlConnection::Use station(*dm->SQLConnection1);
            QSqlQuery own = dm->SQLConnection1->exec(QStringLiteral("select current_connection from rdb$database"));
            QVERIFY(own.next());
            const QVariant id = own.value(0);
            own.finish();
            const SqlConnection::Use use(other);
            other.exec(QStringLiteral("delete from mon$attachments where mon$attachment_id = ?"), {id});
        });
        SuiteJob job(*dm->SQLConnection1, QStringLiteral("01"), SuiteJob::Kind::Print);
        QCOMPARE(LabelJobExpansion(*dm).run(QString(), progress, job), 7);
        QCOMPARE(dm->TabRev2->RecordCount(), 7);
        QCOMPARE(dm->TabRev2->FieldByName(QStringLiteral("CODIGO")).AsString(), QStringLiteral("000001"));
    }
};

QTEST_MAIN(ServerStoppedTest)
#include "tst_server_stopped.moc"
