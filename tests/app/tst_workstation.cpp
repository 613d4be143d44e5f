// Finding the user's station: letter case, apostrophes, several rows, a station
// without a database name and a user without a station.
#include "AppFixture.h"
#include "Cp1252.h"
#include "MessageBoxSink.h"
#include "ProgramEnd.h"
#include "RunValues.h"
#include "SelvarProgram.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "Workstation.h"

#include <QAbstractButton>
#include <QMessageBox>
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
    void namesCompareAsTheDatabaseCapitalises();
    void noStationForTheUser();
    void messagesThroughTheRealBox();
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
    // Accented letters capitalise on both sides, as the database's upper() does.
    QTest::newRow("José finds José") << "José" << QStringList{"01|José|p1"} << "01" << "p1";
    QTest::newRow("JOSÉ finds José") << "JOSÉ" << QStringList{"01|José|p1"} << "01" << "p1";
    QTest::newRow("josé finds JOSÉ") << "josé" << QStringList{"02|JOSÉ|p2"} << "02" << "p2";
    QTest::newRow("José is not Jose") << "José" << QStringList{"01|Jose|p1", "02|JOSÉ|p2"} << "02" << "p2";
    QTest::newRow("João finds JOÃO") << "João" << QStringList{"03|JOÃO|p3"} << "03" << "p3";
    QTest::newRow("márcia finds Márcia") << "márcia" << QStringList{"04|Márcia|p4"} << "04" << "p4";
    // Trailing blanks count for nothing, on either side.
    QTest::newRow("joana finds 'JOANA '") << "joana" << QStringList{"05|JOANA |p5"} << "05" << "p5";
    QTest::newRow("'joana ' finds JOANA") << "joana " << QStringList{"05|JOANA|p5"} << "05" << "p5";
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

void TstWorkstation::namesCompareAsTheDatabaseCapitalises()
{
    // Every character of WIN1252 but the five it leaves undefined and ƒ, whose
    // capital the code page lacks, so that the database refuses to capitalise it.
    QString all;
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D || byte == 0x83)
            continue;
        all += fromCp1252(QByteArray(1, char(byte)));
    }
    TestSuite suite;
    QVERIFY(suite.createMainDatabase());
    // Capitalised where the program's query capitalises: in USUARIO, a WIN1252 column.
    for (qsizetype at = 0; at < all.size(); at += 50)
        suite.exec(QStringLiteral("insert into ESTACOES (ESTACAO, USUARIO) values (?, ?)"),
                   {QString::number(at / 50), all.mid(at, 50)});
    QString database;
    for (const QVariantList &row : suite.rows(QStringLiteral("select upper(USUARIO) from ESTACOES order by ESTACAO")))
        database += row[0].toString();
    const QString ours = userNameKey(all);
    QCOMPARE(ours.size(), database.size());
    for (qsizetype i = 0; i < all.size(); ++i)
        QVERIFY2(ours[i] == database[i], qPrintable(QStringLiteral("%1: %2 here, %3 in the database").arg(all[i], ours[i], database[i])));
    QCOMPARE(userNameKey(QStringLiteral("ƒ µß ")), QStringLiteral("ƒ µß"));
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

// The same explanation as the user sees it: the real box, its lines broken
// where the suite breaks them, and one button.
void TstWorkstation::messagesThroughTheRealBox()
{
    AppFixture app;
    QVERIFY(app.suite.createMainDatabase());
    app.writeStandardIni();
    app.setUser(QStringLiteral("Márcia"));
    installMessageBoxSink();
    QStringList texts, buttons;
    bool started = false;
    std::function<void()> answer = [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box) {
            texts << box->text();
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            QTest::keyClick(box, Qt::Key_Return);
        }
        if (!started)
            QTimer::singleShot(20, answer);
    };
    QTimer::singleShot(0, answer);
    QVERIFY(!app.start());
    started = true;
    QCOMPARE(texts, (QStringList{
                        QStringLiteral("Não foi possível selecionar uma área de trabalho para o usuário \"Márcia\". \n\n"
                                       "Causas prováveis: \n\n"
                                       "  1) Na tabela \"Estacoes.db\" não foi incluída uma estação para o usuário \"Márcia\".\n"
                                       "     Obs: Criar também a área de trabalho física (pasta C:\\Boticon\\InterfacXX) para este usuário.\n"
                                       "  --> Favor contactar o suporte técnico da VELTRA SISTEMAS <--"),
                        Closing}));
    QCOMPARE(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("OK")}));
    QVERIFY(app.messages.isEmpty()); // nothing went to the recorder
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
