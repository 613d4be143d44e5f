// Finding the user's station: letter case, apostrophes, several rows, a station
// without a database name and a user without a station.
#include "AppFixture.h"
#include "ProgramEnd.h"
#include "RunValues.h"
#include "SelvarProgram.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QtTest>

namespace {

const QString Closing = QStringLiteral("O programa será fechado.");

QString title(const QString &user, const QString &station)
{
    return QStringLiteral("  BOTICON - ETIQUETAS DE CODIGO DE BARRAS  -  Usuário: \"%1\"   Estação: %2").arg(user, station);
}

} // namespace

class TstWorkstation : public QObject
{
    Q_OBJECT
private slots:
    void found_data();
    void found();
    void noStationForTheUser();
    void stationWithoutDatabaseName();
    void stationRowIsNotChanged();
};

void TstWorkstation::found_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QStringList>("stations"); // "ESTACAO|USUARIO|ROTULO1", in insertion order
    QTest::addColumn<QString>("station");
    QTest::addColumn<QString>("printer");

    QTest::newRow("Maria finds MARIA") << "Maria" << QStringList{"01|MARIA|/dev/usb/lp0"} << "01" << "/dev/usb/lp0";
    QTest::newRow("Maria finds maria") << "Maria" << QStringList{"02|joao|x", "05|maria|\\\\CAIXA\\ZEBRA"} << "05"
                                       << "\\\\CAIXA\\ZEBRA";
    QTest::newRow("MARIA finds Maria") << "MARIA" << QStringList{"01|Maria|p"} << "01" << "p";
    QTest::newRow("apostrophe in the name") << "d'avila" << QStringList{"07|D'Avila|p7"} << "07" << "p7";
    QTest::newRow("two rows: the first station wins") << "ana" << QStringList{"09|ana|p9", "04|ANA|p4"} << "04" << "p4";
    QTest::newRow("three-character station keeps two") << "ana" << QStringList{"031|ana|p"} << "03" << "p";
}

void TstWorkstation::found()
{
    QFETCH(QString, user);
    QFETCH(QStringList, stations);
    QFETCH(QString, station);
    QFETCH(QString, printer);

    AppFixture app;
    QVERIFY(app.suite.createMainDatabase());
    app.writeStandardIni();
    app.setUser(user);
    for (const QString &row : stations) {
        const QStringList f = row.split(QLatin1Char('|'));
        app.addStation(f[0], f[1], QStringLiteral("C:\\boticon\\interfac%1\\boticon.bd").arg(f[0]), f[2]);
    }
    QVERIFY(app.start());
    QVERIFY(app.messages.isEmpty());
    QCOMPARE(RunValues::WindowsUserName, user);
    QCOMPARE(RunValues::StationCode, station);
    QCOMPARE(RunValues::LabelPrinterPath, printer);
    QCOMPARE(app.program().form()->windowTitle(), title(user, station));
    QCOMPARE(app.program().dataModule()->SQLConnection2->DataBase(),
             QStringLiteral(":C:\\boticon\\interfac%1\\boticon.bd").arg(station));
    QVERIFY(!app.program().dataModule()->Estacoes->Active());
}

void TstWorkstation::noStationForTheUser()
{
    AppFixture app;
    QVERIFY(app.suite.createMainDatabase());
    app.writeStandardIni();
    // A name built to break out of a quoted SQL text finds nothing, as any unknown name.
    const QString user = QStringLiteral("x' or '1'='1");
    app.setUser(user);
    app.addStation(QStringLiteral("01"), QStringLiteral("maria"));
    QVERIFY(!app.start());
    QVERIFY(ProgramEnd::requested());
    const QString expected = QStringLiteral(
        "Não foi possível selecionar uma área de trabalho para o usuário \"x' or '1'='1\". \r\r"
        "Causas prováveis: \r\r"
        "  1) Na tabela \"Estacoes.db\" não foi incluída uma estação para o usuário \"x' or '1'='1\".\r"
        "     Obs: Criar também a área de trabalho física (pasta C:\\Boticon\\InterfacXX) para este usuário.\r"
        "  --> Favor contactar o suporte técnico da VELTRA SISTEMAS <--");
    QCOMPARE(app.messages, (QStringList{expected, Closing}));
    QCOMPARE(RunValues::StationCode, QString());
    QCOMPARE(app.program().dataModule()->SQLConnection2->DataBase(), QString());
}

void TstWorkstation::stationWithoutDatabaseName()
{
    AppFixture app;
    QVERIFY(app.suite.createMainDatabase());
    app.writeStandardIni();
    app.setUser(QStringLiteral("Ana"));
    app.addStation(QStringLiteral("02"), QStringLiteral("ana"), QString(), QStringLiteral("/dev/usb/lp1"));
    QVERIFY(!app.start());
    QCOMPARE(app.messages, QStringList{Closing});
    QCOMPARE(RunValues::StationCode, QStringLiteral("02"));
    QCOMPARE(RunValues::LabelPrinterPath, QStringLiteral("/dev/usb/lp1"));
    QCOMPARE(app.program().form()->windowTitle(), title(QStringLiteral("Ana"), QStringLiteral("02")));
}

void TstWorkstation::stationRowIsNotChanged()
{
    AppFixture app;
    QVERIFY(app.suite.createMainDatabase());
    app.writeStandardIni();
    app.setUser(QStringLiteral("ana"));
    app.addStation(QStringLiteral("01"), QStringLiteral("ana"));
    QVERIFY(app.start());
    const auto rows = app.suite.rows(QStringLiteral("select EMUSO, ATCAIXA from ESTACOES"));
    QCOMPARE(rows.size(), 1);
    QVERIFY(rows[0][0].isNull());
    QVERIFY(rows[0][1].isNull());
}

QTEST_MAIN(TstWorkstation)
#include "tst_workstation.moc"
