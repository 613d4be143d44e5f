// The Firebird server (one of the test's own) dies in the middle of a list
// build started from the real window, and between two builds: the clerk is
// told in Portuguese what was and was not done, the previous list is there as
// it was, and once the server is back the same button builds the list.
#include "ListWindow.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "PrivateServer.h"
#include "SqlConnection.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QFrame>
#include <QPushButton>
#include <QtTest>

class TstListBuildServer : public QObject
{
    Q_OBJECT
    std::unique_ptr<PrivateServer> server;
    std::unique_ptr<ListWindow> w;
    std::unique_ptr<SqlConnection> setup;

    QStringList storedCodes()
    {
        const SqlConnection::Use use(*setup);
        QSqlQuery query = setup->exec(QStringLiteral("select CODIGO from TABREV1 order by CODIGO"));
        QStringList codes;
        while (query.next())
            codes << query.value(0).toString();
        return codes;
    }

private slots:
    void init()
    {
        server = std::make_unique<PrivateServer>();
        SELVAR_START_PRIVATE_SUITE(*server, database, TestSuite::Writes::Forced);
        setup = std::make_unique<SqlConnection>(QStringLiteral("Preparo"), QStringLiteral("Preparo"));
        setup->setDataBase(database);
        setup->ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('OLD1', 'Lista anterior')"));
        setup->ExecuteDirect(QStringLiteral("execute block as declare i integer = 0; begin while (i < 50) do begin "
                                            "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, PRECOR) values "
                                            "('P' || lpad(:i, 2, '0'), 'Produto ' || :i, 'REV', 1); i = i + 1; end end"));
        w = std::make_unique<ListWindow>();
        QVERIFY(w->start());
        w->dm()->SQLConnection1->setDataBase(database);
    }

    void cleanup()
    {
        w.reset();
        setup.reset();
        server.reset();
    }

    void killedMidBuildThenBack()
    {
        {
            HeldBuild held(w->form(), 1);
            QTest::mouseClick(w->form()->BotSelvarProdRev, Qt::LeftButton);
            QVERIFY(held.waitReached());
            server->kill();
            held.letGo();
            QVERIFY(w->waitForBuild());
        }
        QCOMPARE(w->app.messages,
                 QStringList{QStringLiteral("A conexão com o banco de dados caiu no meio da montagem da lista, depois de "
                                            "1 produto: o que foi montado foi desfeito e a lista anterior foi mantida. "
                                            "Confira a rede e o servidor e pressione \"Códigos de Barras de Produtos "
                                            "Prontos\" de novo.")});
        TFormSelvarra *f = w->form();
        QVERIFY(f->mainActionsEnabled());
        QVERIFY(!f->PainelSelvarra->isVisible());

        QVERIFY(server->start());
        QCOMPARE(storedCodes(), QStringList{QStringLiteral("OLD1")});
        w->clickBuild();
        QCOMPARE(w->app.messages.size(), 1);
        QCOMPARE(storedCodes().size(), 50);
        QVERIFY(f->PainelSelvarra->isVisible());
        QCOMPARE(f->DBGrid1Model->rowCount(), 50);
    }

    // Killed and started again while nobody used it: the next build attaches
    // anew and does its work, with nothing to say.
    void restartedBetweenBuilds()
    {
        w->clickBuild();
        QCOMPARE(storedCodes().size(), 50);
        QTest::mouseClick(w->form()->BotSairMontEtiq, Qt::LeftButton);
        setup->ExecuteDirect(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values ('Q1', 'Novo', 'REV')"));
        server->kill();
        QVERIFY(server->start());
        w->clickBuild();
        for (const QString &message : w->app.messages)
            QVERIFY2(!message.contains(QLatin1String("connection"), Qt::CaseInsensitive), qPrintable(message));
        QCOMPARE(storedCodes().size(), 51);
        QVERIFY(w->form()->PainelSelvarra->isVisible());
        QCOMPARE(w->form()->DBGrid1Model->rowCount(), 51);
    }
};

QTEST_MAIN(TstListBuildServer)
#include "tst_list_build_server.moc"
