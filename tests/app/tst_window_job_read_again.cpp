// "Etiquetas com preços" through the real window when the job is committed
// and the server (one of the test's own) dies before it is read back: the
// clerk is asked, in Portuguese and in the program's own box, whether to read
// it again. "Sim", with the server back, prints the job that was written, once
// and never written again; "Não" (the box's default, Enter) leaves the job
// written and unprinted, says so on the window, and the window prints the next
// time as usual. A job whose commit's answer is lost is written once more by
// itself and printed once, with nothing to answer.
#include "ClickAndWait.h"
#include "EnglishText.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "MessageBoxSink.h"
#include "PrintHandOver.h"
#include "PrivateServer.h"
#include "ProcessStarter.h"
#include "RealBoxes.h"
#include "ServerListWindow.h"
#include "HistoryWork.h"
#include "SqlConnection.h"
#include "StoredQuantities.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <functional>
#include <memory>

class TstWindowJobReadAgain : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrivateServer> server;
    std::unique_ptr<ListWindow> w;
    QString database, workFolder;
    QStringList printed; // the command file of each batch start
    ProcessStarter::Starter previousStarter;
    std::atomic<int> jobCommits{0};

    const QStringList job{"000001|", "000002|", "000003|", "000004|", "000005|"};
    const QStringList eans{"7891000100103", "7891000315507", "7891000055120"};
    const QStringList oneJob{"Etiq001.txt", "Etiq002.txt"}; // five labels, three across

    TFormSelvarra *form() { return w->form(); }

    // How many times each of the products' barcodes went to the printer in
    // the thermal command files of the work folder.
    QList<int> barcodesPrinted()
    {
        QList<int> counts(eans.size(), 0);
        const QDir folder(workFolder);
        for (const QString &name : folder.entryList({QStringLiteral("Etiq*")}, QDir::Files)) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray commands = file.readAll();
            for (int i = 0; i < eans.size(); ++i)
                counts[i] += int(commands.count("\"" + eans[i].toLatin1() + "\""));
        }
        return counts;
    }

    // Each commit of a print job, on the print's worker, goes through `atCommit`
    // (its number, from 1); true takes its answer as lost.
    void onJobCommit(std::function<bool(int)> atCommit)
    {
        SqlConnection::setCommitSeam([this, atCommit](SqlConnection &, const QString &statement) {
            if (!statement.isEmpty() || QThread::currentThread()->objectName() != QLatin1String("TrabalhoSuite"))
                return false;
            return atCommit(++jobCommits);
        });
    }

    void print()
    {
        QVERIFY(clickAndWait(form()->btnEtiqSemPreco, form(), &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*form()->printHandOver, 60000));
    }

    // Nothing is left half done: the controls are the clerk's, the lock is
    // free, and the next print writes and prints the list as usual.
    void nextPrintAsUsual(QStringList printedBefore) // a copy: the print adds to `printed`
    {
        QVERIFY(!form()->jobRunning());
        QVERIFY(form()->btnEtiqSemPreco->isEnabled() && form()->DBGrid1->isEnabled());
        QCOMPARE(w->gridText(0, 0), QStringLiteral("3"));
        const int commits = jobCommits.load();
        print();
        QCOMPARE(jobCommits.load(), commits + 1);
        QCOMPARE(printed, printedBefore + oneJob);
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV2")), job);
        QCOMPARE(barcodesPrinted(), QList<int>({3, 2, 0}));
    }

private slots:
    // The list on a server of the test's own, ALFA 3 and BRAVO 2 typed, the
    // thermal model current and an earlier job in TABREV2.
    void init()
    {
        server = std::make_unique<PrivateServer>();
        SELVAR_START_PRIVATE_SUITE(*server, suiteDatabase, TestSuite::Writes::Forced);
        database = suiteDatabase;
        w = std::make_unique<ListWindow>();
        QVERIFY(w->start());
        installMessageBoxSink(); // the program's own boxes, not the fixture's recorder
        workFolder = startOnServer(*w, database);
        QVERIFY(!workFolder.isEmpty());
        w->dm()->SQLConnection1->ExecuteDirect(
            QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE) values ('000001', 'Trabalho anterior')"));
        printed.clear();
        jobCommits = 0;
        previousStarter = ProcessStarter::setStarter([this](const QString &, const QStringList &arguments) {
            printed << QFileInfo(arguments.value(0)).fileName();
            return true;
        });
        w->clickReopen();
        QVERIFY(form()->PainelSelvarra->isVisible());
        w->typeInCell(0, 0, QStringLiteral("3"));
        w->typeInCell(1, 0, QStringLiteral("2"));
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|3", "P2|2", "P3|"}));
    }

    void cleanup()
    {
        SqlConnection::setCommitSeam({});
        ProcessStarter::setStarter(previousStarter);
        w.reset();
        server.reset();
    }

    void readAgainAfterTheServerCameBack_data()
    {
        QTest::addColumn<bool>("readAgain");
        QTest::newRow("Sim") << true;
        QTest::newRow("Não, com Enter") << false;
    }

    void readAgainAfterTheServerCameBack()
    {
        QFETCH(bool, readAgain);
        // The server dies right after the job's commit, before the job is read
        // back. Its process belongs to the test's thread, idle in its wait for
        // the print's end; the worker waits until it is gone.
        onJobCommit([this](int commit) {
            if (commit == 1)
                QMetaObject::invokeMethod(qApp, [this] { server->kill(); }, Qt::BlockingQueuedConnection);
            return false;
        });
        // The question comes with the server still away: it is started again
        // while the box waits, as the pharmacy's guard would, and then the
        // clerk answers.
        bool serverBack = false;
        RealBoxes boxes([&](QMessageBox &box) {
            if (box.buttons().size() == 2)
                serverBack = server->start();
            if (readAgain && box.button(QMessageBox::Yes))
                QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
            else
                QTest::keyClick(&box, Qt::Key_Return);
        });

        print();
        QVERIFY(serverBack);
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(boxes.texts.constFirst(),
                 QStringLiteral("O trabalho novo (5 etiquetas) foi gravado em TABREV2, mas não foi impresso: não foi "
                                "possível lê-lo de volta (a conexão com o banco de dados caiu logo depois da gravação). "
                                "O trabalho anterior foi substituído por ele.\n\nLer o trabalho gravado de novo e "
                                "imprimi-lo agora?"));
        QCOMPARE(boxes.buttons.constFirst(), QStringList({QStringLiteral("Sim"), QStringLiteral("Não")}));
        QVERIFY2(englishLead({form()->LabelImpressao->toolTip()}).isEmpty(), qPrintable(form()->LabelImpressao->toolTip()));
        QVERIFY2(w->app.messages.isEmpty(), qPrintable(w->app.messages.join(QLatin1Char('\n'))));

        // Written once, and only once: the job's labels in TABREV2, whatever the answer.
        QCOMPARE(jobCommits.load(), 1);
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV2")), job);
        if (readAgain) {
            QCOMPARE(printed, oneJob);
            QCOMPARE(barcodesPrinted(), QList<int>({3, 2, 0}));
        } else {
            QCOMPARE(printed, QStringList());
            QCOMPARE(barcodesPrinted(), QList<int>({0, 0, 0}));
            QCOMPARE(form()->LabelImpressao->toolTip(), QStringLiteral("Trabalho gravado e não impresso"));
        }
        nextPrintAsUsual(printed);
        QCOMPARE(boxes.texts.size(), 1);
    }

    // While the question waits, the server is back and another station prints
    // five labels too, of another product: "Sim" finds another job in TABREV2
    // and says so; this station prints nothing, its history gains nothing, and
    // the other station's job stays as it printed it.
    void anotherStationsJobOfTheSameSizeIsRefused()
    {
        onJobCommit([this](int commit) {
            if (commit == 1)
                QMetaObject::invokeMethod(qApp, [this] { server->kill(); }, Qt::BlockingQueuedConnection);
            return false;
        });
        const QStringList otherJob{"000001|", "000002|", "000003|", "000004|", "000005|"};
        bool otherPrinted = false;
        RealBoxes boxes([&](QMessageBox &box) {
            if (box.button(QMessageBox::Yes) && box.buttons().size() == 2) {
                otherPrinted = server->start();
                SqlConnection other(QStringLiteral("OutraEstacao"), QStringLiteral("OutraEstacao"));
                other.setDataBase(database);
                const SqlConnection::Use use(other);
                other.BeginTransaction();
                other.exec(QStringLiteral("delete from TABREV2"));
                for (int label = 1; label <= 5; ++label)
                    other.exec(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) values (?, ?, ?, ?)"),
                               {QStringLiteral("00000%1").arg(label), QStringLiteral("CHARLIE"), eans[2], QStringLiteral("8.00")});
                other.CommitTransaction();
                QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
            } else {
                QTest::keyClick(&box, Qt::Key_Return);
            }
        });

        print();
        QVERIFY(otherPrinted);
        QCOMPARE(boxes.texts.size(), 2);
        QCOMPARE(boxes.texts.at(1), QStringLiteral("O trabalho gravado já foi substituído pelo de outra estação; nada foi "
                                                   "impresso. Pressione \"Etiquetas com preços\" de novo."));
        QCOMPARE(printed, QStringList());
        QCOMPARE(barcodesPrinted(), QList<int>({0, 0, 0}));
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV2")), otherJob);
        QVERIFY(QTest::qWaitFor([this] { return !form()->historyWork()->busy(); }, 60000));
        {
            SqlConnection check(QStringLiteral("ConferenciaHistorico"), QStringLiteral("ConferenciaHistorico"));
            check.setDataBase(database);
            const SqlConnection::Use use(check);
            QSqlQuery history = check.exec(QStringLiteral("select count(*) from SELVAR_HISTORICO_ITEM"));
            QVERIFY(history.next());
            QCOMPARE(history.value(0).toInt(), 0);
        }
        nextPrintAsUsual(printed);
    }

    // The job's commit lands and its answer is lost: it is written once more
    // by itself (the same job again, not a second one beside it) and printed
    // once, and the clerk has nothing to answer.
    void jobCommitAnswerLost()
    {
        onJobCommit([](int commit) { return commit == 1; });
        RealBoxes boxes([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); });
        print();
        QCOMPARE(jobCommits.load(), 2);
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join(QLatin1Char('\n'))));
        QVERIFY2(w->app.messages.isEmpty(), qPrintable(w->app.messages.join(QLatin1Char('\n'))));
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV2")), job);
        QCOMPARE(printed, oneJob);
        QCOMPARE(barcodesPrinted(), QList<int>({3, 2, 0}));
        QVERIFY2(englishLead({form()->LabelImpressao->toolTip()}).isEmpty(), qPrintable(form()->LabelImpressao->toolTip()));
        nextPrintAsUsual(oneJob);
    }
};

QTEST_MAIN(TstWindowJobReadAgain)
#include "tst_window_job_read_again.moc"
