// selvar-setup-station as an installer runs it: the station's files and row
// with the values exactly as typed, and every refusal and every dry run
// leaving the folder and the database as they were.

#include "SqlConnection.h"
#include "TestSuite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runSetup(const QStringList &args, const QString &path = QString())
{
    QProcess process;
    if (!path.isNull()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"), path);
        process.setProcessEnvironment(env);
    }
    process.start(QStringLiteral(SELVAR_SETUP_STATION), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<ausente>");
}

QByteArray deployed(const char *name)
{
    return fileBytes(QStringLiteral(SELVAR_DEPLOY_DIR "/") + QLatin1String(name));
}

// Every file and folder under `root`, so that "nothing changed" is checked
// on the whole tree and not on the files a test thinks of.
QStringList tree(const QString &root)
{
    QStringList entries;
    QDir dir(root);
    for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        entries << info.fileName() + (info.isDir() ? QStringLiteral("/") : QString());
        if (info.isDir()) {
            for (const QString &inner : tree(info.filePath()))
                entries << info.fileName() + QLatin1Char('/') + inner;
        }
    }
    return entries;
}

} // namespace

class TstSetupStation : public QObject
{
    Q_OBJECT

    QString database;
    std::unique_ptr<QTemporaryDir> suite;
    std::unique_ptr<SqlConnection> connection;

    QList<QStringList> estacoes()
    {
        connection->acquire();
        QSqlQuery query = connection->exec(QStringLiteral("select ESTACAO, DATBASNAM, USUARIO, ROTULO1 from ESTACOES order by ESTACAO"));
        QList<QStringList> rows;
        while (query.next())
            rows << QStringList{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(), query.value(3).toString()};
        query.finish();
        connection->release();
        return rows;
    }

    // ETIQPAR's codes and descriptions, then ETIQCORR's rows.
    QStringList labelModels()
    {
        connection->acquire();
        QStringList rows;
        QSqlQuery models = connection->exec(QStringLiteral("select MODELO, DESCRICAO, PAPEL from ETIQPAR order by MODELO"));
        while (models.next())
            rows << models.value(0).toString() + QLatin1Char(' ') + models.value(1).toString() + QStringLiteral(" / ") + models.value(2).toString();
        models.finish();
        QSqlQuery current = connection->exec(QStringLiteral("select MODELOCORRENTE from ETIQCORR"));
        while (current.next())
            rows << QStringLiteral("corrente ") + current.value(0).toString();
        current.finish();
        connection->release();
        return rows;
    }

    void execute(const QString &sql, const QVariantList &params)
    {
        connection->acquire();
        connection->exec(sql, params);
        connection->release();
    }

    QStringList stationArgs(const QString &code, const QString &user, const QString &printer) const
    {
        return {QStringLiteral("--suite"), suite->path(), QStringLiteral("--database"), database, QStringLiteral("--station"), code,
                QStringLiteral("--user"), user, QStringLiteral("--printer"), printer};
    }

private slots:
    void init()
    {
        SELVAR_REQUIRE_SERVER();
        database = TestSuite::createServerDatabase(QStringLiteral("setup-station"));
        QVERIFY(!database.isEmpty());
        suite = std::make_unique<QTemporaryDir>();
        QVERIFY(suite->isValid());
        connection = std::make_unique<SqlConnection>(QStringLiteral("SQLConnection1"), QStringLiteral("BoticonDados"));
        connection->setDataBase(database);
        // A station of another counter, which no run may touch.
        execute(QStringLiteral("insert into ESTACOES (ESTACAO, DATBASNAM, USUARIO, ROTULO1) values (?, ?, ?, ?)"),
                {QStringLiteral("05"), QStringLiteral("C:\\boticon\\interfac05\\boticon.bd"), QStringLiteral("joao"),
                 QStringLiteral("/dev/usb/lp1")});
    }

    void cleanup()
    {
        connection.reset();
        suite.reset();
    }

    void setsUpAndUpdatesAStation();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void dryRunChangesNothing();
    void failureMidwayUndoesEverything();
    void makesARawCupsQueue();
    void addsTheStartingModelsOnce();
    void leavesTheShopsModelsAlone();
    void twoStationsAtOnceAddTheModelsOnce();
};

void TstSetupStation::setsUpAndUpdatesAStation()
{
    // An apostrophe, accents and a dash of Windows-1252: values pasted into SQL
    // would break or be mangled; bound ones arrive as typed.
    const QString user = QStringLiteral("Maria d'Ávila – balcão");
    Run run = runSetup(stationArgs(QStringLiteral("07"), user, QStringLiteral("/dev/usb/lp0")));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(run.out.contains(QStringLiteral("estação 07 pronta")));

    QCOMPARE(fileBytes(suite->filePath(QStringLiteral("Interfac07/ImprEtiq.bat"))), deployed("ImprEtiq.bat"));
    QCOMPARE(fileBytes(suite->filePath(QStringLiteral("rpt/Selvar.rav"))), deployed("Selvar.rav"));
    const QStringList station07{QStringLiteral("07"), QStringLiteral("C:\\boticon\\interfac07\\boticon.bd"), user,
                                QStringLiteral("/dev/usb/lp0")};
    QCOMPARE(estacoes().size(), 2);
    QCOMPARE(estacoes().at(1), station07);

    // Run again with a CUPS queue name as the printer: the row changes in place,
    // a database name the suite gave the station stays, and a Selvar.rav the
    // pharmacy has edited is kept.
    execute(QStringLiteral("update ESTACOES set DATBASNAM = ? where ESTACAO = ?"),
            {QStringLiteral("D:\\dados\\est07.bd"), QStringLiteral("07")});
    QFile rav(suite->filePath(QStringLiteral("rpt/Selvar.rav")));
    QVERIFY(rav.open(QIODevice::Append));
    rav.write("# ajustado na farmácia\n");
    rav.close();
    const QByteArray editedRav = fileBytes(rav.fileName());

    run = runSetup(stationArgs(QStringLiteral("07"), QStringLiteral("pedro"), QStringLiteral("zebra-balcao")));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(run.out.contains(QStringLiteral("manter")));
    QCOMPARE(estacoes().size(), 2);
    QCOMPARE(estacoes().at(1), (QStringList{QStringLiteral("07"), QStringLiteral("D:\\dados\\est07.bd"), QStringLiteral("pedro"),
                                            QStringLiteral("zebra-balcao")}));
    QCOMPARE(fileBytes(rav.fileName()), editedRav);
    QCOMPARE(estacoes().at(0).at(2), QStringLiteral("joao"));
}

void TstSetupStation::refusalsChangeNothing_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("folder");   // under the suite's temporary folder; "" for the folder itself
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("said");

    QTest::newRow("one character") << "7" << "" << true << QStringList() << "dois caracteres";
    QTest::newRow("three characters") << "071" << "" << true << QStringList() << "dois caracteres";
    QTest::newRow("a slash in the code") << "0/" << "" << true << QStringList() << "dois caracteres";
    QTest::newRow("folder of 60 characters") << "07" << "60" << true << QStringList() << "60 caracteres";
    QTest::newRow("database out of reach") << "07" << "" << false << QStringList() << "banco da suíte";
    QTest::newRow("queue without its printer") << "07" << "" << true
                                               << QStringList{QStringLiteral("--cups-raw-queue"), QStringLiteral("zebra")}
                                               << "--device-uri";
    QTest::newRow("queue without CUPS") << "07" << "" << true
                                        << QStringList{QStringLiteral("--cups-raw-queue"), QStringLiteral("zebra"),
                                                       QStringLiteral("--device-uri"), QStringLiteral("usb://Zebra/LP2844")}
                                        << "lpadmin";
}

void TstSetupStation::refusalsChangeNothing()
{
    QFETCH(QString, code);
    QFETCH(QString, folder);
    QFETCH(bool, reachable);
    QFETCH(QStringList, extra);
    QFETCH(QString, said);

    QString suiteFolder = suite->path();
    if (folder == QLatin1String("60")) {
        // Padded so that the folder with its final slash is 60 characters long.
        const qsizetype missing = 60 - (suiteFolder.size() + 1) - 1;
        QVERIFY(missing > 0);
        suiteFolder += QLatin1Char('/') + QString(missing, u'x');
        QCOMPARE(suiteFolder.size() + 1, 60);
    }
    QStringList args = stationArgs(code, QStringLiteral("maria"), QStringLiteral("/dev/usb/lp0"));
    args[1] = suiteFolder;
    if (!reachable)
        args[3] = qEnvironmentVariable("SELVAR_TEST_SERVER") + QStringLiteral(":/var/tmp/nao-existe/boticon.bd");
    args += extra;
    const QList<QStringList> rowsBefore = estacoes();

    // No lpadmin on the PATH: as on a counter without CUPS.
    const QTemporaryDir emptyPath;
    const Run run = runSetup(args, emptyPath.path());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(said) && run.err.contains(QStringLiteral("Nada foi mudado.")), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QCOMPARE(tree(suite->path()), QStringList());
    QCOMPARE(estacoes(), rowsBefore);
}

void TstSetupStation::dryRunChangesNothing()
{
    // Once for a new station, once for one already there.
    for (const QString &code : {QStringLiteral("08"), QStringLiteral("05")}) {
        const QList<QStringList> rowsBefore = estacoes();
        QStringList args = stationArgs(code, QStringLiteral("Ana"), QStringLiteral("/dev/usb/lp0"));
        args << QStringLiteral("--dry-run");
        const Run run = runSetup(args);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.out.contains(QStringLiteral("faria: criar a pasta de trabalho ") + suite->path() + QStringLiteral("/Interfac") + code));
        QVERIFY(run.out.contains(code == QLatin1String("05") ? QStringLiteral("faria: alterar a estação 05")
                                                            : QStringLiteral("faria: incluir a estação 08")));
        QCOMPARE(tree(suite->path()), QStringList());
        QCOMPARE(estacoes(), rowsBefore);
    }
}

// lpadmin refuses the printer's address after the row is written and the
// files are made: the row is rolled back and the files removed.
void TstSetupStation::failureMidwayUndoesEverything()
{
    if (QStandardPaths::findExecutable(QStringLiteral("lpadmin")).isEmpty())
        QSKIP("lpadmin is not installed (cups-client)");
    const QList<QStringList> rowsBefore = estacoes();
    QStringList args = stationArgs(QStringLiteral("09"), QStringLiteral("maria"), QString());
    args = args.mid(0, 8) + QStringList{QStringLiteral("--cups-raw-queue"), QStringLiteral("selvar-teste-recusada"),
                                        QStringLiteral("--device-uri"), QStringLiteral("nao-e-um-endereco")};
    const Run run = runSetup(args);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("lpadmin")) && run.err.contains(QStringLiteral("Nada foi mudado.")), qPrintable(run.err));
    QCOMPARE(tree(suite->path()), QStringList());
    QCOMPARE(estacoes(), rowsBefore);
}

// Needs a running CUPS scheduler; the queue is removed again at the end.
void TstSetupStation::makesARawCupsQueue()
{
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-r")});
    if (!lpstat.waitForFinished(10000) || !lpstat.readAllStandardOutput().contains("scheduler is running"))
        QSKIP("no CUPS scheduler is running here");
    const QString queue = QStringLiteral("selvar-teste-%1").arg(QCoreApplication::applicationPid());
    QStringList args = stationArgs(QStringLiteral("09"), QStringLiteral("maria"), QString()).mid(0, 8);
    args << QStringLiteral("--cups-raw-queue") << queue << QStringLiteral("--device-uri") << QStringLiteral("socket://127.0.0.1:9100");
    const Run run = runSetup(args);
    QProcess::execute(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    // Without --printer the queue's name is the printer path ImprEtiq.bat sends to.
    QCOMPARE(estacoes().at(1).at(3), queue);
}

// A database made from schema.sql has no label models: the first station set
// up adds one the counter prints through for each output, and the current one.
void TstSetupStation::addsTheStartingModelsOnce()
{
    QCOMPARE(labelModels(), QStringList());
    Run run = runSetup(stationArgs(QStringLiteral("07"), QStringLiteral("maria"), QStringLiteral("/dev/usb/lp0")));
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(QStringLiteral("Modelos de etiqueta iniciais incluídos: A4, Carta, A5, Zebra.")), qPrintable(run.out));
    const QStringList expected{
        QStringLiteral("01 A4 - Folha com 6 x 20 etiquetas de 29,77 x 13,65 mm / A4"),
        QStringLiteral("02 Carta - Folha com 4 x 20 etiquetas de 47,85 x 12,7 mm / Carta"),
        QStringLiteral("03 A5 - Folha com 3 x 10 etiquetas de 45 x 19 mm / A5"),
        QStringLiteral("04 Zebra - 3,0 x 1,7 - 3 colunas / default"),
        QStringLiteral("corrente 01")};
    QCOMPARE(labelModels(), expected);

    // Another station, and the same one again: nothing more.
    for (const QString &code : {QStringLiteral("08"), QStringLiteral("07")}) {
        run = runSetup(stationArgs(code, QStringLiteral("ana"), QStringLiteral("/dev/usb/lp1")));
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY2(!run.out.contains(QStringLiteral("Modelos")) && !run.out.contains(QStringLiteral("ETIQPAR")), qPrintable(run.out));
        QCOMPARE(labelModels(), expected);
    }
}

// A suite with models of its own keeps them as they are, even with no current
// model (the counter asks the clerk for one).
void TstSetupStation::leavesTheShopsModelsAlone()
{
    execute(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, PAPEL) values (?, ?, ?)"),
            {QStringLiteral("07"), QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas (loja)"), QStringLiteral("default")});
    const QStringList before = labelModels();
    QStringList args = stationArgs(QStringLiteral("07"), QStringLiteral("maria"), QStringLiteral("/dev/usb/lp0"));
    Run run = runSetup(args + QStringList{QStringLiteral("--dry-run")});
    QVERIFY2(run.exitCode == 0 && !run.out.contains(QStringLiteral("ETIQPAR")), qPrintable(run.out));
    run = runSetup(args);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(!run.out.contains(QStringLiteral("Modelos")));
    QCOMPARE(labelModels(), before);
}

// Two counters set up at the same moment both find ETIQPAR empty; the
// models and the current one go in once.
void TstSetupStation::twoStationsAtOnceAddTheModelsOnce()
{
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(SELVAR_SETUP_STATION), stationArgs(QStringLiteral("07"), QStringLiteral("maria"), QStringLiteral("/dev/usb/lp0")));
    second.start(QStringLiteral(SELVAR_SETUP_STATION), stationArgs(QStringLiteral("08"), QStringLiteral("ana"), QStringLiteral("/dev/usb/lp1")));
    QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
    const QString out = QString::fromUtf8(first.readAllStandardOutput() + second.readAllStandardOutput());
    QVERIFY2(first.exitCode() == 0 && second.exitCode() == 0,
             qPrintable(QString::fromUtf8(first.readAllStandardError() + second.readAllStandardError())));
    QCOMPARE(out.count(QStringLiteral("Modelos de etiqueta iniciais incluídos")), 1);
    const QStringList models = labelModels();
    QCOMPARE(models.size(), 5);
    QCOMPARE(models.last(), QStringLiteral("corrente 01"));
    QCOMPARE(estacoes().size(), 3);
}

QTEST_GUILESS_MAIN(TstSetupStation)
#include "tst_setup_station.moc"
