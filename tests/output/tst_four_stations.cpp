// Four counters on one server database print within a second of each other,
// each right after typing quantities of its own, while a fifth counter keeps
// storing quantities in the same list. Each counter is a program of its own, as
// in a pharmacy (its own work folder and run-wide values): a process started
// from this test, its window offscreen, driven with real keys and clicks. Each
// must print exactly the rows its list showed at the click, and none may be
// turned away because another counter changed the list.
#include "EanUpc.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintedLabels.h"
#include "ProcessStarter.h"
#include "SelvarError.h"
#include "SqlConnection.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTableView>
#include <QThread>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <memory>
#include <cstdio>
#include <vector>
#include <unistd.h>

namespace {

// In a counter's process: "station number|database".
const char kStationEnv[] = "SELVAR_TEST_FOUR_STATIONS_COUNTER";
constexpr int kCounters = 4;
constexpr int kOwnProducts = 3;
constexpr int kFifthProducts = 3;

// A sound EAN-13, so the print asks nothing about the numbers.
QString ean13(int seed)
{
    const QString digits = QStringLiteral("789100%1").arg(seed, 6, 10, QLatin1Char('0'));
    return digits + DigitoVerificador(digits);
}

// Counter k's products are "Produto Ek-j" (code "Ekj"); the fifth's are "Produto Qj".
QString ownName(int counter, int j) { return QStringLiteral("Produto E%1-%2").arg(counter).arg(j); }
int ownQuantity(int counter, int j) { return 10 * counter + j; }

// One line of a counter's output that the test reads: "@word rest".
void say(const QString &line)
{
    std::printf("@%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

// Inside a counter's process: the clerk opens the list, types the quantities
// of the counter's own products, and when the test says "go" presses
// "Etiquetas com preços"; the labels its batch file got are compared with the
// list on the screen at the click.
class CounterStation : public QObject
{
    Q_OBJECT
    QStringList m_handed, m_printed; // command files given to the batch file, and their labels

    static int rowOf(QAbstractItemModel &list, const QString &name)
    {
        for (int row = 0; row < list.rowCount(); ++row)
            if (list.index(row, 1).data().toString() == name)
                return row;
        return -1;
    }

    // What the list shows, as its labels would read on the roll, row by row.
    static QStringList labelsShown(QAbstractItemModel &list)
    {
        QStringList labels;
        for (int row = 0; row < list.rowCount(); ++row) {
            const QString quantity = list.index(row, 0).data().toString();
            const QString label = QStringLiteral("\"%1\" \"%2\"").arg(list.index(row, 1).data().toString(),
                                                                      list.index(row, 2).data().toString());
            for (int n = qRound(quantity.toDouble()); n > 0; --n)
                labels << label;
        }
        return labels;
    }

    // The test's "go" on the standard input; the window answers meanwhile.
    static bool waitForGo()
    {
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        bool told = false;
        QObject::connect(&input, &QSocketNotifier::activated, [&told] { told = true; });
        return QTest::qWaitFor([&told] { return told; }, 600000);
    }

private slots:
    void typeThenPrintWhenTold()
    {
        ProcessStarter::setStarter([this](const QString &, const QStringList &arguments) {
            m_handed << arguments.value(0);
            m_printed << printedLabels(arguments.value(0));
            return true;
        });
        const QStringList given = qEnvironmentVariable(kStationEnv).split(QLatin1Char('|'));
        const int k = given.value(0).toInt();
        ListWindow w;
        QVERIFY(w.start());
        QVERIFY(QDir(w.app.suite.root()).mkpath(QStringLiteral("Interfac01")));
        QFile batch(w.app.suite.path(QStringLiteral("Interfac01/ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        w.dm()->SQLConnection1->setDataBase(given.value(1));
        w.clickReopen();
        QTableView *grid = w.form()->findChild<QTableView *>(QStringLiteral("DBGrid1"));
        QVERIFY(grid && grid->isVisible());
        QAbstractItemModel &list = *grid->model();
        QCOMPARE(list.rowCount(), kCounters * kOwnProducts + kFifthProducts);
        for (int j = 1; j <= kOwnProducts; ++j) {
            const int row = rowOf(list, ownName(k, j));
            QVERIFY(row >= 0);
            w.typeInCell(row, 0, QString::number(ownQuantity(k, j)));
        }
        // Leaving the last row typed (an arrow key) stores it: the list at the
        // click is one the database holds, and the click is taken at once.
        QTest::keyClick(grid, grid->currentIndex().row() + 1 < list.rowCount() ? Qt::Key_Down : Qt::Key_Up);
        QVERIFY(w.settle());
        say(QStringLiteral("ready"));
        QVERIFY(waitForGo());

        const QStringList shown = labelsShown(list);
        for (int j = 1; j <= kOwnProducts; ++j)
            QCOMPARE(list.index(rowOf(list, ownName(k, j)), 0).data().toString(), QString::number(ownQuantity(k, j)));
        QSignalSpy ended(w.form(), &TFormSelvarra::printEnded);
        auto *print = w.form()->findChild<QPushButton *>(QStringLiteral("btnEtiqSemPreco"));
        QTest::mouseClick(print, Qt::LeftButton);
        say(QStringLiteral("clicked %1").arg(QDateTime::currentMSecsSinceEpoch()));
        // Nothing was under way: the print takes the click at once (its button goes inactive).
        QVERIFY2(!print->isEnabled() || !ended.isEmpty(),
                 qPrintable(w.form()->findChild<QLabel *>(QStringLiteral("LabelPesquisa"))->text()));
        QVERIFY(ended.count() > 0 || ended.wait(300000));
        QVERIFY(waitUntilIdle(*w.form()->printHandOver, 300000));

        QCOMPARE(w.app.messages, QStringList());
        QCOMPARE(w.app.questions, QStringList());
        QCOMPARE(m_handed.removeDuplicates(), 0);
        QCOMPARE(m_printed, shown);
        say(QStringLiteral("printed %1 labels in %2 files").arg(m_printed.size()).arg(m_handed.size()));
    }
};

// The fifth counter: stores a quantity in one of its products every 50 ms, on
// an attachment of its own, until stopped.
class FifthCounter : public QThread
{
public:
    explicit FifthCounter(QString database) : m_database(std::move(database)) {}
    ~FifthCounter() override { stop(); }
    int changes() const { return m_changes.load(); }
    void stop()
    {
        m_stop = true;
        wait();
    }
    QString error;

protected:
    void run() override
    try {
        SqlConnection connection(QStringLiteral("Quinta"), QStringLiteral("Quinta"));
        connection.setDataBase(m_database);
        const SqlConnection::Use use(connection);
        for (int n = 0; !m_stop; ++n) {
            connection.exec(QStringLiteral("update TABREV1 set QDE = ? where CODIGO = ?"),
                            {1 + n % 9, QStringLiteral("Q%1").arg(1 + n % kFifthProducts)});
            ++m_changes;
            msleep(50);
        }
    } catch (const SelvarError &failure) {
        error = failure.message();
    }

private:
    QString m_database;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_changes{0};
};

class FourStationsTest : public QObject
{
    Q_OBJECT

private slots:
    void fourPrintWhileAFifthChangesTheList()
    {
        SELVAR_REQUIRE_SERVER();
        const QString database = TestSuite::createServerDatabase(QStringLiteral("fourst"));
        QVERIFY(!database.isEmpty());
        {
            SqlConnection seed(QStringLiteral("Semente"), QStringLiteral("Semente"));
            seed.setDataBase(database);
            seed.ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL) values ('01', 'Zebra - 3,0 x 1,7 - 3 colunas', 3)"));
            seed.ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('01')"));
            const auto product = [&seed](const QString &code, const QString &name, int quantity, int ean) {
                seed.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) "
                                                  "values ('%1', '%2', %3, '%4', 9.90)").arg(code, name).arg(quantity).arg(ean13(ean)));
            };
            for (int k = 1; k <= kCounters; ++k)
                for (int j = 1; j <= kOwnProducts; ++j)
                    product(QStringLiteral("E%1%2").arg(k).arg(j), ownName(k, j), 0, 10 * k + j);
            for (int j = 1; j <= kFifthProducts; ++j)
                product(QStringLiteral("Q%1").arg(j), QStringLiteral("Produto Q%1").arg(j), 2, 90 + j);
        }
        FifthCounter fifth(database);
        fifth.start();
        QVERIFY(QTest::qWaitFor([&] { return fifth.changes() > 0 || fifth.isFinished(); }, 60000));

        std::vector<std::unique_ptr<QProcess>> counters; // killed if the test ends early
        QList<QByteArray> outputs(kCounters);
        for (int k = 1; k <= kCounters; ++k) {
            QProcess *counter = counters.emplace_back(std::make_unique<QProcess>()).get();
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QString::fromLatin1(kStationEnv), QStringLiteral("%1|%2").arg(k).arg(database));
            counter->setProcessEnvironment(environment);
            counter->setProcessChannelMode(QProcess::MergedChannels);
            connect(counter, &QProcess::readyRead, this, [counter, &out = outputs[k - 1]] { out += counter->readAll(); });
            counter->start(QCoreApplication::applicationFilePath(), {});
        }
        const auto ended = [](const auto &counter) { return counter->state() == QProcess::NotRunning; };
        QVERIFY(QTest::qWaitFor([&] {
            return std::all_of(outputs.begin(), outputs.end(), [](const QByteArray &out) { return out.contains("@ready"); })
                || std::any_of(counters.begin(), counters.end(), ended);
        }, 600000));
        // The lists on the four screens are now older than what the database
        // holds: the fifth has stored quantities since they were read.
        const int changesBefore = fifth.changes();
        QVERIFY(QTest::qWaitFor([&] { return fifth.changes() >= changesBefore + 2 || fifth.isFinished(); }, 60000));
        const int atGo = fifth.changes();
        for (const auto &counter : counters)
            counter->write("go\n");
        QVERIFY(QTest::qWaitFor([&] { return std::all_of(counters.begin(), counters.end(), ended); }, 900000));
        const int during = fifth.changes() - atGo;
        fifth.stop();

        QList<qint64> clicks;
        for (int k = 1; k <= kCounters; ++k) {
            const QString out = QString::fromUtf8(outputs[k - 1]);
            QVERIFY2(counters[k - 1]->exitStatus() == QProcess::NormalExit && counters[k - 1]->exitCode() == 0,
                     qPrintable(QStringLiteral("counter %1:\n%2").arg(k).arg(out)));
            clicks << out.section(QStringLiteral("@clicked "), 1).section(QLatin1Char('\n'), 0, 0).toLongLong();
            qInfo("counter %d %s", k, qPrintable(out.section(QStringLiteral("@printed "), 1).section(QLatin1Char('\n'), 0, 0)));
        }
        QVERIFY2(fifth.error.isEmpty(), qPrintable(fifth.error));
        QVERIFY(during > 0);
        qInfo("clicks within %lld ms; the fifth stored %d quantities meanwhile",
              *std::max_element(clicks.begin(), clicks.end()) - *std::min_element(clicks.begin(), clicks.end()), during);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kStationEnv)) {
        CounterStation station;
        return QTest::qExec(&station, QStringList{QCoreApplication::applicationFilePath()});
    }
    FourStationsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_four_stations.moc"
