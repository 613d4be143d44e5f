// The INI file, the client-library file, the database path texts and the in-use
// stamp's age: what start-up reads and composes before the window shows.
#include "AppFixture.h"
#include "DataModuleCreate.h"
#include "Guarded.h"
#include "InUseStamp.h"
#include "IniSettings.h"
#include "ProgramEnd.h"
#include "RunValues.h"
#include "SelvarError.h"
#include "SelvarProgram.h"
#include "TDM.h"
#include "TextFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString ServerKey = QStringLiteral("IP DO SERVIDOR CENTRAL");
const QString ColorKey = QStringLiteral("COR DE FUNDO DAS TELAS");
const QString MissingIni =
    QStringLiteral("Arquivo BOTICON.INI não encontrado. Execute o programa Instalix.exe para criá-lo.");

QString line(const QString &key, const QString &value)
{
    return AppFixture::iniLine(key, value);
}

} // namespace

class TstStartup : public QObject
{
    Q_OBJECT
private slots:
    void trimSpaces_data();
    void trimSpaces();
    void iniSettings_data();
    void iniSettings();
    void colourThatIsNotANumberStopsReadingButNotStartUp();
    void missingIniEndsBeforeAnythingElse();
    void folderOverSixtyCharactersIsCut();
    void vendorLibrary_data();
    void vendorLibrary();
    void databasePathsOfAStation();
    void unreachableServerIsReportedAndTheWindowStillComes();
    void stampAge_data();
    void stampAge();
    void stampThatIsNotADate();
    void guardShowsTheErrorAndAbandons();
};

void TstStartup::trimSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("both sides") << "  SRV  " << "SRV";
    QTest::newRow("inner blanks kept") << " a  b " << "a  b";
    QTest::newRow("only blanks") << "    " << "";
    QTest::newRow("tabs are not blanks") << "\tSRV\t" << "\tSRV\t";
}

void TstStartup::trimSpaces()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(TrimSpaces(text), trimmed);
}

void TstStartup::iniSettings_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("color");

    const QString key48 = ServerKey.leftJustified(47, QLatin1Char('.')) + QLatin1Char(':');
    QTest::newRow("both values") << QStringList{line(ServerKey, "SRV"), line(ColorKey, "255")} << "SRV" << 255;
    QTest::newRow("key one dot short")
        << QStringList{ServerKey.leftJustified(46, QLatin1Char('.')) + QStringLiteral(":  SRV")} << "" << 0;
    QTest::newRow("key in lower case") << QStringList{line(ServerKey.toLower(), "SRV")} << "" << 0;
    QTest::newRow("value from column 49 loses its first character") << QStringList{key48 + QStringLiteral("SRV")} << "RV" << 0;
    QTest::newRow("no server line") << QStringList{line(ColorKey, "8421504")} << "" << 8421504;
    QTest::newRow("no colour line is black") << QStringList{line(ServerKey, "10.0.0.1")} << "10.0.0.1" << 0;
    QTest::newRow("last duplicate wins")
        << QStringList{line(ServerKey, "A"), line(ColorKey, "1"), line(ServerKey, "B"), line(ColorKey, "2")} << "B" << 2;
    QTest::newRow("blanks around the value")
        << QStringList{line(ServerKey, "   SRV2   "), line(ColorKey, "  -16777201 ")} << "SRV2" << -16777201;
    QTest::newRow("value ends at column 109")
        << QStringList{line(ServerKey, QString(59, QLatin1Char('x')) + QStringLiteral("YZ"))} << QString(59, QLatin1Char('x')) + "Y"
        << 0;
    QTest::newRow("keys of other programs are passed over")
        << QStringList{line(QStringLiteral("IP DA ESTACAO DO USUARIO"), "1.2.3.4"), line(QStringLiteral("LOG ATIVADO"), "S"),
                       line(ServerKey, "SRV"), QString(), QStringLiteral("lixo")}
        << "SRV" << 0;
}

void TstStartup::iniSettings()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, server);
    QFETCH(int, color);
    AppFixture app;
    app.writeIni(lines);
    RunValues::reset();
    ProgramEnd::reset();
    LoadIniSettings();
    QVERIFY(!ProgramEnd::requested());
    QCOMPARE(RunValues::ServerAddress, server);
    QCOMPARE(RunValues::ScreenColor, color);
    QVERIFY(app.messages.isEmpty());
}

void TstStartup::colourThatIsNotANumberStopsReadingButNotStartUp()
{
    AppFixture app;
    QVERIFY(app.suite.createMainDatabase());
    app.setUser(QStringLiteral("ana"));
    app.addStation(QStringLiteral("01"), QStringLiteral("ana"));
    app.writeIni({line(ServerKey, ""), line(ColorKey, "azul"), line(ServerKey, "NAO-LIDO")});
    QVERIFY(app.start());
    QCOMPARE(app.messages, QStringList{QStringLiteral("'azul' is not a valid integer value")});
    QCOMPARE(RunValues::ServerAddress, QString());
    QCOMPARE(RunValues::StationCode, QStringLiteral("01"));
}

void TstStartup::missingIniEndsBeforeAnythingElse()
{
    AppFixture app;
    QVERIFY(!app.start());
    QCOMPARE(app.messages, QStringList{MissingIni});
    QVERIFY(ProgramEnd::requested());
    QVERIFY(app.program().dataModule() == nullptr);
}

void TstStartup::folderOverSixtyCharactersIsCut()
{
    AppFixture app;
    const QString deep = app.suite.path(QString(70, QLatin1Char('p')));
    QVERIFY(QDir().mkpath(deep));
    TextFile::writeLines(deep + QStringLiteral("/BOTICON.INI"), {line(ServerKey, "SRV")});
    qputenv("SELVAR_EXE_FOLDER", deep.toLocal8Bit());
    QVERIFY(!app.start());
    QCOMPARE(RunValues::ExeFolder, (deep + QLatin1Char('/')).left(60));
    QCOMPARE(app.messages, QStringList{MissingIni});
}

void TstStartup::vendorLibrary_data()
{
    QTest::addColumn<QStringList>("file"); // empty list: no file at all
    QTest::addColumn<QString>("library");
    QTest::newRow("folder") << QStringList{"D:\\ib\\bin"} << "D:\\ib\\bin\\GDS32.DLL";
    QTest::newRow("folder with backslash") << QStringList{"D:\\ib\\bin\\", "segunda linha"} << "D:\\ib\\bin\\GDS32.DLL";
    QTest::newRow("empty first line") << QStringList{"", "D:\\outra"} << "gds32.dll";
    QTest::newRow("no file") << QStringList{} << "gds32.dll";
}

void TstStartup::vendorLibrary()
{
    QFETCH(QStringList, file);
    QFETCH(QString, library);
    AppFixture app;
    if (!file.isEmpty())
        TextFile::writeLines(app.suite.path(QStringLiteral("caminhogds.TXT")), file);
    TDM dm;
    SetVendorLibrary(dm);
    QCOMPARE(dm.SQLConnection1->VendorLib(), library);
    QCOMPARE(dm.SQLConnection2->VendorLib(), QStringLiteral("gds32.dll"));
}

void TstStartup::databasePathsOfAStation()
{
    AppFixture app;
    QVERIFY(app.suite.createMainDatabase());
    app.setUser(QStringLiteral("ana"));
    app.addStation(QStringLiteral("031"), QStringLiteral("ana"));
    app.writeStandardIni();
    QVERIFY(app.start());
    TDM &dm = *app.program().dataModule();
    QCOMPARE(dm.SQLConnection1->DataBase(), QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    QCOMPARE(dm.SQLConnection2->DataBase(), QStringLiteral(":C:\\boticon\\interfac03\\boticon.bd"));
    QCOMPARE(RunValues::WorkFolder(), RunValues::ExeFolder + QStringLiteral("Interfac03"));
    QVERIFY(!dm.SQLConnection1->Connected());
    QVERIFY(!dm.SQLConnection2->Connected());
}

void TstStartup::unreachableServerIsReportedAndTheWindowStillComes()
{
    AppFixture app;
    app.setUser(QStringLiteral("ana"));
    // Port 1 of the loopback refuses at once: the server-colon-path form reaches a
    // server that is not there.
    app.writeIni({line(ServerKey, "127.0.0.1/1")});
    QVERIFY(app.start());
    QCOMPARE(app.messages.size(), 1);
    QVERIFY(!app.messages.first().isEmpty());
    TDM &dm = *app.program().dataModule();
    QCOMPARE(dm.SQLConnection1->DataBase(), QStringLiteral("127.0.0.1/1:C:\\boticon\\dados\\boticon.bd"));
    QCOMPARE(dm.SQLConnection2->DataBase(), QString());
    QCOMPARE(RunValues::StationCode, QString());
}

void TstStartup::stampAge_data()
{
    QTest::addColumn<int>("ageMs");
    QTest::addColumn<bool>("stale");
    QTest::newRow("40 s is fresh") << 40000 << false;
    QTest::newRow("41 s is stale") << 41000 << true;
    QTest::newRow("a moment past 40 s is stale") << 40001 << true;
    QTest::newRow("from the future is fresh") << -5000 << false;
}

void TstStartup::stampAge()
{
    QFETCH(int, ageMs);
    QFETCH(bool, stale);
    const QDateTime stamp(QDate(2025, 12, 8), QTime(13, 7, 45));
    QCOMPARE(InUseStamp::isStale(stamp, stamp.addMSecs(ageMs)), stale);
}

void TstStartup::stampThatIsNotADate()
{
    AppFixture app;
    TextFile::writeLines(app.suite.path(QStringLiteral("Em_Uso.txt")), {QStringLiteral("ontem à tarde")});
    try {
        InUseStamp::needsRewrite(QDateTime::currentDateTime());
        QFAIL("an unreadable stamp must raise the conversion error");
    } catch (const ConvertError &error) {
        QCOMPARE(error.message(), QStringLiteral("'ontem à tarde' is not a valid date and time"));
    }
    // What this program writes, it reads back.
    const QDateTime now(QDate(2025, 12, 8), QTime(13, 7, 45));
    InUseStamp::write(now);
    QCOMPARE(TextFile::readLines(InUseStamp::path()), QStringList{QStringLiteral("08/12/2025 13:07:45")});
    QVERIFY(!InUseStamp::needsRewrite(now.addSecs(40)));
    QVERIFY(InUseStamp::needsRewrite(now.addSecs(41)));
}

void TstStartup::guardShowsTheErrorAndAbandons()
{
    AppFixture app;
    bool reachedEnd = false;
    QVERIFY(!guarded([&] {
        throw InOutError(QStringLiteral("I/O error 3: Path not found (x)"));
        reachedEnd = true;
    }));
    QVERIFY(!reachedEnd);
    QVERIFY(guarded([] {}));
    QCOMPARE(app.messages, QStringList{QStringLiteral("I/O error 3: Path not found (x)")});
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
