// Four counters on one server database print within a second of each other,
// each right after typing quantities of its own, while a fifth counter keeps
// storing quantities in the same list. Each counter is a program of its own, as
// in a pharmacy (its own work folder and run-wide values): a process started
// from this test, its window offscreen, driven with real keys and clicks. Each
// must print exactly the rows its list shows (at the click, or once the
// quantity typed just before it is stored and the list read back), and none
// may be turned away because another counter changed the list.
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
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QTableView>
#include <QThread>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

// In a counter's process: "station number|database|when its last quantity is typed".
const char kStationEnv[] = "SELVAR_TEST_FOUR_STATIONS_COUNTER";
constexpr int kCounters = 4; // and the fifth, which only stores quantities
constexpr int kOwnProducts = 3;

// A sound EAN-13, so the print asks nothing about the numbers.
QString ean13(int seed)
{
    const QString digits = QStringLiteral("789100%1").arg(seed, 6, 10, QLatin1Char('0'));
    return digits + DigitoVerificador(digits);
}

// Counter k's products are "Produto Ek-j", code "Ekj".
QString ownName(int counter, int j) { return QStringLiteral("Produto E%1-%2").arg(counter).arg(j); }
int ownQuantity(int counter, int j) { return 10 * counter + j; }

// One line of a counter's output that the test reads: "@word rest".
void say(const QString &line)
{
    std::printf("@%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

// Inside a counter's process: the clerk opens the list, types his products'
// quantities and, when the test says "go", presses "Etiquetas com preços".
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

    static QStringList ownShown(QAbstractItemModel &list, int k)
    {
        QStringList quantities;
        for (int j = 1; j <= kOwnProducts; ++j)
            quantities << list.index(rowOf(list, ownName(k, j)), 0).data().toString();
        return quantities;
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
        const bool lastAtTheClick = given.value(2) == QLatin1String("click");
        QStringList typed;
        for (int j = 1; j <= kOwnProducts; ++j)
            typed << QString::number(ownQuantity(k, j));
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
        QCOMPARE(list.rowCount(), (kCounters + 1) * kOwnProducts);
        for (int j = 1; j <= kOwnProducts - int(lastAtTheClick); ++j)
            w.typeInCell(rowOf(list, ownName(k, j)), 0, typed[j - 1]);
        // Leaving the last row typed (an arrow key) stores it: the list at the
        // click is one the database holds, and the click is taken at once.
        QTest::keyClick(grid, grid->currentIndex().row() + 1 < list.rowCount() ? Qt::Key_Down : Qt::Key_Up);
        QVERIFY(w.settle());
        say(QStringLiteral("ready"));
        QVERIFY(waitForGo());
        if (lastAtTheClick) {
            // The last quantity and its Enter just before the click: the
            // click waits for it to be stored and the list read back.
            const int row = rowOf(list, ownName(k, kOwnProducts));
            QLineEdit *editor = w.startTyping(row, 0, typed.last());
            QVERIFY(editor);
            QTest::keyClick(editor, Qt::Key_Return);
            QVERIFY(QTest::qWaitFor([&] { return list.index(row, 0).data().toString() == typed.last(); }, 60000));
        }

        QStringList shown = labelsShown(list);
        QCOMPARE(ownShown(list, k), typed);
        QSignalSpy ended(w.form(), &TFormSelvarra::printEnded);
        auto *print = w.form()->findChild<QPushButton *>(QStringLiteral("btnEtiqSemPreco"));
        QTest::mouseClick(print, Qt::LeftButton);
        say(QStringLiteral("clicked %1").arg(QDateTime::currentMSecsSinceEpoch()));
        // With nothing under way the print takes the click at once (its button goes inactive).
        QVERIFY2(lastAtTheClick || !print->isEnabled() || !ended.isEmpty(),
                 qPrintable(w.form()->findChild<QLabel *>(QStringLiteral("LabelPesquisa"))->text()));
        QVERIFY(ended.count() > 0 || ended.wait(300000));
        if (lastAtTheClick) {
            // It printed the list read back, as the window shows it since.
            shown = labelsShown(list);
            QCOMPARE(ownShown(list, k), typed);
        }
        QVERIFY(waitUntilIdle(*w.form()->printHandOver, 300000));

        QCOMPARE(w.app.messages, QStringList());
        QCOMPARE(w.app.questions, QStringList());
        QCOMPARE(m_handed.removeDuplicates(), 0);
        QCOMPARE(m_printed, shown);
        say(QStringLiteral("printed %1 labels in %2 files").arg(m_printed.size()).arg(m_handed.size()));
    }
};

class FourStationsTest : public QObject
{
    Q_OBJECT

private slots:
    void fourPrintWhileAFifthChangesTheList_data()
    {
        QTest::addColumn<QString>("lastQuantity");
        QTest::newRow("each list stored before the click") << QStringLiteral("stored");
        QTest::newRow("each last quantity typed at the click") << QStringLiteral("click");
    }

    void fourPrintWhileAFifthChangesTheList()
    {
        SELVAR_REQUIRE_SERVER();
        QFETCH(QString, lastQuantity);
        const QString database = TestSuite::createServerDatabase(QStringLiteral("fourst"));
        QVERIFY(!database.isEmpty());
        {
            SqlConnection seed(QStringLiteral("Semente"), QStringLiteral("Semente"));
            seed.setDataBase(database);
            seed.ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL) values ('01', 'Zebra - 3,0 x 1,7 - 3 colunas', 3)"));
            seed.ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('01')"));
            for (int k = 1; k <= kCounters + 1; ++k)
                for (int j = 1; j <= kOwnProducts; ++j)
                    seed.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) "
                                                      "values ('E%1%2', '%3', %4, '%5', 9.90)")
                                           .arg(k).arg(j).arg(ownName(k, j)).arg(k > kCounters ? 2 : 0).arg(ean13(10 * k + j)));
        }
        // The fifth counter stores a quantity in one of its products every
        // 50 ms, on an attachment of its own, till the four have printed.
        std::atomic<bool> stop{false};
        std::atomic<int> changes{0};
        QString fifthError;
        const std::unique_ptr<QThread> fifth(QThread::create([&] {
            try {
                SqlConnection connection(QStringLiteral("Quinta"), QStringLiteral("Quinta"));
                connection.setDataBase(database);
                const SqlConnection::Use use(connection);
                for (int n = 0; !stop; ++n, ++changes, QThread::msleep(50))
                    connection.exec(QStringLiteral("update TABREV1 set QDE = ? where CODIGO = ?"),
                                    {1 + n % 9, QStringLiteral("E%1%2").arg(kCounters + 1).arg(1 + n % kOwnProducts)});
            } catch (const SelvarError &failure) {
                fifthError = failure.message();
            }
        }));
        const auto stopFifth = [&] {
            stop = true;
            fifth->wait();
        };
        const auto stopped = qScopeGuard(stopFifth);
        fifth->start();
        QVERIFY(QTest::qWaitFor([&] { return changes > 0 || fifth->isFinished(); }, 60000));

        std::vector<std::unique_ptr<QProcess>> counters; // killed if the test ends early
        QList<QByteArray> outputs(kCounters);
        for (int k = 1; k <= kCounters; ++k) {
            QProcess *counter = counters.emplace_back(std::make_unique<QProcess>()).get();
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QString::fromLatin1(kStationEnv), QStringLiteral("%1|%2|%3").arg(k).arg(database, lastQuantity));
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
        const int changesBefore = changes;
        QVERIFY(QTest::qWaitFor([&] { return changes >= changesBefore + 2 || fifth->isFinished(); }, 60000));
        const int atGo = changes;
        for (const auto &counter : counters)
            counter->write("go\n");
        QVERIFY(QTest::qWaitFor([&] { return std::all_of(counters.begin(), counters.end(), ended); }, 900000));
        const int during = changes - atGo;
        stopFifth();

        QList<qint64> clicks;
        for (int k = 1; k <= kCounters; ++k) {
            const QString out = QString::fromUtf8(outputs[k - 1]);
            QVERIFY2(counters[k - 1]->exitStatus() == QProcess::NormalExit && counters[k - 1]->exitCode() == 0,
                     qPrintable(QStringLiteral("counter %1:\n%2").arg(k).arg(out)));
            clicks << out.section(QStringLiteral("@clicked "), 1).section(QLatin1Char('\n'), 0, 0).toLongLong();
            qInfo("counter %d %s", k, qPrintable(out.section(QStringLiteral("@printed "), 1).section(QLatin1Char('\n'), 0, 0)));
        }
        QVERIFY2(fifthError.isEmpty(), qPrintable(fifthError));
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
