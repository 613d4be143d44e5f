// A counter's program killed (SIGKILL) at each point of a thermal job of 10
// files and started again: after "Continuar envio" the printer holds every
// label once (or the clerk was asked about the one file that was running), and
// the print history on the server holds the job once, with exactly the labels
// the printer got. Real batch files run by /bin/sh, a real process of the
// counter's hand-over, job record and history (selvar-thermal-station).
#include "HistoryStore.h"
#include "TestSuite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The batch file: says it runs ("rodando-Etiq001"), holds while the test
// keeps "segurar-Etiq001" until "soltar-" (then it prints) or "cancelar-"
// (then it fails without printing); "falhar-Etiq001" fails it at once.
const QByteArray kBatch = R"(#!/bin/sh
d=$(dirname "$0")
n=$(basename "$1" .txt)
touch "$d/rodando-$n"
if [ -f "$d/falhar-$n" ]; then rm -f "$d/falhar-$n"; echo "impressora desligada" >&2; exit 2; fi
if [ -f "$d/segurar-$n" ]; then
  while [ ! -f "$d/soltar-$n" ]; do
    if [ -f "$d/cancelar-$n" ]; then exit 3; fi
    sleep 0.05
  done
fi
cat "$1" >> "$2"
)";

} // namespace

class ThermalJobKilledTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString folder;
    QString database;
    QString lastOutput;

    QString path(const QString &name) const { return QDir(folder).filePath(name); }
    void touch(const QString &name) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // Runs the station to its end and returns what it said.
    QString station(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(SELVAR_THERMAL_STATION), QStringList{folder, database} + arguments);
        if (!process.waitForFinished(120000))
            return QStringLiteral("(não terminou)");
        lastOutput = QString::fromUtf8(process.readAllStandardOutput());
        return lastOutput;
    }

    // Starts the station and kills it once the batch file runs `held`, held there.
    void killWhileRunning(const QStringList &arguments, const QString &held)
    {
        touch(QStringLiteral("segurar-") + held);
        QProcess process;
        process.start(QStringLiteral(SELVAR_THERMAL_STATION), QStringList{folder, database} + arguments);
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path(QStringLiteral("rodando-") + held)), 60000);
        process.kill();
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    }

    // How many times each label of the printer file was printed.
    QMap<QString, int> printed() const
    {
        QFile file(path(QStringLiteral("impressora.prn")));
        QMap<QString, int> labels;
        if (!file.open(QIODevice::ReadOnly))
            return labels;
        static const QRegularExpression name(QStringLiteral("\"([^\"]+)\""));
        for (auto match = name.globalMatch(QString::fromLatin1(file.readAll())); match.hasNext();)
            ++labels[match.next().captured(1)];
        return labels;
    }

    // Every label of job `tag` of `files` files printed exactly once.
    void printedOnce(const QString &tag, int files)
    {
        const QMap<QString, int> labels = printed();
        for (int k = 1; k <= files; ++k) {
            for (int label = 1; label <= 3; ++label) {
                const QString name = QStringLiteral("%1 P%2 #%3").arg(tag).arg(k).arg(label);
                QVERIFY2(labels.value(name) == 1, qPrintable(QStringLiteral("%1 printed %2 times").arg(name).arg(labels.value(name))));
            }
        }
    }

    // The history's jobs, oldest first: each as "labels: product=labels ...".
    QStringList history()
    {
        HistoryStore store([this] { return database; });
        QStringList jobs;
        QList<HistoryStore::JobRow> rows = store.jobs({});
        std::sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) { return a.id < b.id; });
        for (const HistoryStore::JobRow &row : rows) {
            QStringList items;
            for (const PrintedItem &item : store.items(row.id))
                items << QStringLiteral("%1=%2").arg(item.componente).arg(item.labels);
            jobs << QString::number(row.labels) + QStringLiteral(": ") + items.join(QLatin1Char(' '));
        }
        return jobs;
    }

    // The history a whole job of `files` files of 3 labels holds.
    static QString wholeJob(const QString &tag, int files)
    {
        QStringList items;
        for (int k = 1; k <= files; ++k)
            items << QStringLiteral("%1 P%2=3").arg(tag).arg(k);
        return QString::number(3 * files) + QStringLiteral(": ") + items.join(QLatin1Char(' '));
    }

    QStringList records() const { return QDir(folder).entryList({QStringLiteral("Envio-*.txt")}, QDir::Files); }
    QStringList questions() const
    {
        QStringList asked;
        for (const QString &line : lastOutput.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String("PERGUNTA: ")))
                asked << line.mid(10);
        return asked;
    }

private slots:
    void init()
    {
        SELVAR_REQUIRE_SERVER();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        folder = dir->filePath(QStringLiteral("Interfac01"));
        QVERIFY(QDir().mkpath(folder));
        QFile batch(path(QStringLiteral("ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.write(kBatch);
        batch.close();
        database = TestSuite::createServerDatabase(QStringLiteral("killed"));
        QVERIFY(!database.isEmpty());
    }

    void killedAndContinued_data()
    {
        QTest::addColumn<QString>("event");   // station's own kill, or a file held and killed while it runs
        QTest::addColumn<QString>("orphan");  // what the held batch file does after the kill: soltar (prints) or cancelar
        QTest::addColumn<QString>("answer");  // to "Enviar de novo?"
        QTest::addColumn<QString>("question");
        QTest::newRow("antes do arquivo 1") << "antes:1" << "" << "nao" << "";
        QTest::newRow("durante o arquivo 1") << "Etiq001" << "soltar" << "nao"
                                             << "O arquivo 1 (etiquetas 1–3) pode já ter saído na impressora. Enviar de novo?";
        QTest::newRow("entre os arquivos 4 e 5") << "antes:5" << "" << "nao" << "";
        QTest::newRow("o trabalho seguinte à espera do seu número") << "numero:3" << "" << "nao" << "";
        QTest::newRow("durante o arquivo 10") << "Etiq010" << "cancelar" << "sim"
                                              << "O arquivo 10 (etiquetas 28–30) pode já ter saído na impressora. Enviar de novo?";
        QTest::newRow("depois do arquivo 10") << "depois:10" << "" << "nao" << "";
    }

    void killedAndContinued()
    {
        QFETCH(QString, event);
        QFETCH(QString, orphan);
        QFETCH(QString, answer);
        QFETCH(QString, question);
        if (event.contains(QLatin1Char(':'))) {
            station({QStringLiteral("print"), QStringLiteral("A"), QStringLiteral("10"), event});
            QVERIFY2(lastOutput.isEmpty(), qPrintable(lastOutput)); // it died before saying anything
        } else {
            killWhileRunning({QStringLiteral("print"), QStringLiteral("A"), QStringLiteral("10")}, event);
            const qint64 before = QFileInfo(path(QStringLiteral("impressora.prn"))).size();
            touch(orphan + QLatin1Char('-') + event);
            // The orphan's end shows as its file on the printer, or as the hold gone.
            if (orphan == QLatin1String("soltar"))
                QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path(QStringLiteral("impressora.prn"))).size() > before, 30000);
            QFile::remove(path(QStringLiteral("segurar-") + event));
        }
        QCOMPARE(records().size(), 1);

        station({QStringLiteral("continue"), answer});
        QCOMPARE(questions(), question.isEmpty() ? QStringList() : QStringList{question});
        printedOnce(QStringLiteral("A"), 10);
        QCOMPARE(printed().size(), 30);
        QCOMPARE(history(), QStringList{wholeJob(QStringLiteral("A"), 10)});
        QCOMPARE(records(), QStringList());
    }

    // The printer is off for file 1: nothing goes, the history holds nothing;
    // continued, the job goes whole and the history holds it once.
    void firstFileFailsThenContinues()
    {
        touch(QStringLiteral("falhar-Etiq001"));
        QVERIFY(station({QStringLiteral("print"), QStringLiteral("A"), QStringLiteral("5")}).contains(QLatin1String("impressora desligada")));
        QCOMPARE(printed().size(), 0);
        QCOMPARE(history(), QStringList());
        QVERIFY(station({QStringLiteral("continue"), QStringLiteral("nao")}).contains(QLatin1String("CONTINUADOS: 1")));
        QCOMPARE(questions(), QStringList());
        printedOnce(QStringLiteral("A"), 5);
        QCOMPARE(history(), QStringList{wholeJob(QStringLiteral("A"), 5)});
    }

    // Killed between files 4 and 5, continued, and a new job printed while the
    // rest goes: both whole on the printer and in the history, in order.
    void newJobDuringContinue()
    {
        station({QStringLiteral("print"), QStringLiteral("A"), QStringLiteral("10"), QStringLiteral("antes:5")});
        station({QStringLiteral("continue"), QStringLiteral("nao"), QStringLiteral("B"), QStringLiteral("2")});
        printedOnce(QStringLiteral("A"), 10);
        printedOnce(QStringLiteral("B"), 2);
        QCOMPARE(printed().size(), 36);
        QCOMPARE(history(), QStringList({wholeJob(QStringLiteral("A"), 10), wholeJob(QStringLiteral("B"), 2)}));
        QCOMPARE(records(), QStringList());
    }

    // "Parar envio" at file 3, then the designer's test print through the same
    // file names (and a failed one): the counter's rest is unchanged, its
    // files are its own when continued. A failed test leaves nothing to continue.
    void designerTestPrintsKeepOut()
    {
        station({QStringLiteral("print"), QStringLiteral("A"), QStringLiteral("10"), QStringLiteral("parar:3")});
        QCOMPARE(history(), QStringList{QStringLiteral("9: A P1=3 A P2=3 A P3=3")});
        const QStringList stopped = records();
        QCOMPARE(stopped.size(), 1);
        const QByteArray record = [&] {
            QFile file(path(stopped[0]));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();

        station({QStringLiteral("test"), QStringLiteral("5")});
        touch(QStringLiteral("falhar-Etiq001"));
        QVERIFY(station({QStringLiteral("test"), QStringLiteral("2")}).contains(QLatin1String("impressora desligada")));
        QCOMPARE(records(), stopped);
        QFile file(path(stopped[0]));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), record);
        file.close();

        QVERIFY(station({QStringLiteral("continue"), QStringLiteral("nao")}).contains(QLatin1String("CONTINUADOS: 1")));
        printedOnce(QStringLiteral("A"), 10);
        printedOnce(QStringLiteral("TESTE"), 5);
        QCOMPARE(history(), QStringList{wholeJob(QStringLiteral("A"), 10)});

        // Only a failed test now: the counter has nothing to continue.
        touch(QStringLiteral("falhar-Etiq001"));
        station({QStringLiteral("test"), QStringLiteral("2")});
        QVERIFY(station({QStringLiteral("continue"), QStringLiteral("nao")}).contains(QLatin1String("CONTINUADOS: 0")));
        QCOMPARE(records(), QStringList());
        QCOMPARE(history(), QStringList{wholeJob(QStringLiteral("A"), 10)});
    }
};

QTEST_GUILESS_MAIN(ThermalJobKilledTest)
#include "tst_thermal_job_killed.moc"
