// Products holding the decimals a compounding pharmacy's data holds (conversion
// factors of a million, doses of 0.00005, prices with eight places, values up
// to the 64-bit end of a column) through the real window: the list build, a
// stored quantity of 100000 reopened, the job expansion and the thermal labels;
// on an embedded database and on the Firebird server.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "ProcessStarter.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>
#include <memory>

class PrintDecimalsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ListWindow> window;
    ProcessStarter::Starter previousStarter;

    void exec(const QString &sql) { window->dm()->SQLConnection1->ExecuteDirect(sql); }

    // Rows as the database writes them, columns joined by "|".
    QStringList rows(const QString &sql)
    {
        SqlConnection *connection = window->dm()->SQLConnection1;
        connection->acquire();
        QStringList texts;
        {
            QSqlQuery query = connection->exec(sql);
            const int count = query.record().count();
            while (query.next()) {
                QStringList columns;
                for (int i = 0; i < count; ++i)
                    columns << query.value(i).toString();
                texts << columns.join(QLatin1Char('|'));
            }
        }
        connection->release();
        return texts;
    }

    QByteArray commandFile(const QString &name)
    {
        QFile file(window->app.suite.path(QStringLiteral("Interfac01/") + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        previousStarter = ProcessStarter::setStarter([](const QString &, const QStringList &) { return true; });
    }

    void cleanup()
    {
        window.reset();
        ProcessStarter::setStarter(previousStarter);
    }

    void listBuildExpansionAndLabels_data()
    {
        QTest::addColumn<bool>("server");
        QTest::newRow("embedded") << false;
        QTest::newRow("server") << true;
    }

    void listBuildExpansionAndLabels()
    {
        QFETCH(bool, server);
        if (server)
            SELVAR_REQUIRE_SERVER();
        window = std::make_unique<ListWindow>();
        QVERIFY(window->start());
        QVERIFY(QDir(window->app.suite.root()).mkpath(QStringLiteral("Interfac01")));
        QFile batch(window->app.suite.path(QStringLiteral("Interfac01/ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly)); // the hand-over checks that the station has one
        batch.close();
        if (server) {
            const QString database = TestSuite::createServerDatabase(QStringLiteral("decimals"));
            QVERIFY(!database.isEmpty());
            window->dm()->SQLConnection1->setDataBase(database);
            exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL) values ('02', 'Zebra - 3,0 x 1,7 - 3 colunas', 3)"));
            exec(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('02')"));
        }
        // A column the build does not read, holding what no decimal of 8 places can.
        exec(QStringLiteral("alter table COMPONEN drop ICMS"));
        exec(QStringLiteral("alter table COMPONEN add ICMS double precision"));
        exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR, MULTIPLICADOR, DIVISORUNID, DOSAGEMMIN, ICMS) "
                            "values ('P1', 'ACIDO FOLICO 5MG', 'REV', '7891000000011', 9999999.99999999, 1000000, 100000, 0.00005, 12345678901.5)"));
        exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR, CUSTOUNITUS, DOSAGEMMAX, CST, ICMS) "
                            "values ('P2', 'BICARBONATO 100G', 'REV', '7891000000028', 1234567.125, 92233720368.54775807, "
                            "-92233720368.54775808, 1234567.12345678, 1e30)"));
        exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR, FATORCORRECAO) "
                            "values ('P3', 'CALAMINA LOCAO', 'REV', '7891000000035', 0.005, -0.00000001)"));

        window->clickBuild();
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(rows(QStringLiteral("select CODIGO, cast(PRECO1 as varchar(24)) from TABREV1 order by CODIGO")),
                 QStringList({QStringLiteral("P1|10000000.00"), QStringLiteral("P2|1234567.13"), QStringLiteral("P3|0.01")}));
        QVERIFY(window->log().contains(QStringLiteral("CódigoEAN: 7891000000011  Preco: 9999999,99999999")));
        QCOMPARE(window->gridText(0, 3), QStringLiteral("10000000,00"));

        // A quantity of a hundred thousand stored with the list opens with it.
        exec(QStringLiteral("update TABREV1 set QDE = 100000 where CODIGO = 'P1'"));
        window->clickClose();
        window->clickReopen();
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(window->gridText(0, 0), QStringLiteral("100000"));
        QCOMPARE(window->gridText(0, 3), QStringLiteral("10000000,00"));

        window->typeInCell(0, 0, QStringLiteral("2,5"));
        window->typeInCell(1, 0, QStringLiteral("0,5"));
        window->typeInCell(2, 0, QStringLiteral("1,5"));
        window->goToRow(0);
        QVERIFY(clickAndWait(window->form()->btnEtiqSemPreco, window->form(), &TFormSelvarra::printEnded));
        // The command files are written once the job's history number is taken.
        QVERIFY(waitUntilIdle(*window->form()->printHandOver, 60000));
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(rows(QStringLiteral("select CODIGO, COMPONENTE, cast(PRECO1 as varchar(24)) from TABREV2 order by CODIGO")),
                 QStringList({QStringLiteral("000001|ACIDO FOLICO 5MG|10000000.00"), QStringLiteral("000002|ACIDO FOLICO 5MG|10000000.00"),
                              QStringLiteral("000003|CALAMINA LOCAO|0.01"), QStringLiteral("000004|CALAMINA LOCAO|0.01")}));
        const QByteArray labels = commandFile(QStringLiteral("Etiq001.txt"));
        QVERIFY2(labels.contains("A0,119,0,4,1,1,N,\"R$ 10.000.000,00\"\r\n"), labels.constData());
        QVERIFY2(labels.contains("A285,119,0,4,1,1,N,\"R$ 10.000.000,00\"\r\n"), labels.constData());
        QVERIFY2(labels.contains("A570,119,0,4,1,1,N,\"R$ 0,01\"\r\n"), labels.constData());
        QVERIFY(commandFile(QStringLiteral("Etiq002.txt")).contains("A0,119,0,4,1,1,N,\"R$ 0,01\"\r\nP1\r\n"));
    }
};

QTEST_MAIN(PrintDecimalsTest)
#include "tst_print_decimals.moc"
