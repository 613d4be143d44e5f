// "Etiquetas com preços" through the real window when the job is committed
// and the server (one of the test's own) dies before it is read back: the
// clerk is asked, in Portuguese and in the program's own box, whether to read
// it again. "Sim", with the server back, prints the job that was written, once
// and never written again; "Não" (the box's default, Enter) leaves the job
// written and unprinted, says so on the window, and the window prints the next
// time as usual.
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

class TstWindowJobReadAgain : public QObject
{
    Q_OBJECT

    // How many times each of the products' barcodes went to the printer in
    // the thermal command files of the work folder.
    static QList<int> barcodesPrinted(const QString &workFolder, const QStringList &eans)
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

private slots:
    void cleanup() { SqlConnection::setCommitSeam({}); }

    void readAgainAfterTheServerCameBack_data()
    {
        QTest::addColumn<bool>("readAgain");
        QTest::newRow("Sim") << true;
        QTest::newRow("Não, com Enter") << false;
    }

    void readAgainAfterTheServerCameBack()
    {
        QFETCH(bool, readAgain);
        PrivateServer server;
        SELVAR_START_PRIVATE_SUITE(server, database, TestSuite::Writes::Forced);

        ListWindow w;
        QVERIFY(w.start());
        installMessageBoxSink(); // the program's own boxes, not the fixture's recorder
        const QString workFolder = startOnServer(w, database);
        QVERIFY(!workFolder.isEmpty());
        w.dm()->SQLConnection1->ExecuteDirect(
            QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE) values ('000001', 'Trabalho anterior')"));
        QStringList printed; // the command file of each batch start
        const ProcessStarter::Starter previousStarter = ProcessStarter::setStarter([&printed](const QString &, const QStringList &arguments) {
            printed << QFileInfo(arguments.value(0)).fileName();
            return true;
        });
        struct StarterBack
        {
            ProcessStarter::Starter previous;
            ~StarterBack() { ProcessStarter::setStarter(previous); }
        } starterBack{previousStarter};

        TFormSelvarra *f = w.form();
        w.clickReopen();
        QVERIFY(f->PainelSelvarra->isVisible());
        w.typeInCell(0, 0, QStringLiteral("3"));
        w.typeInCell(1, 0, QStringLiteral("2"));
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|3", "P2|2", "P3|"}));

        // The server dies right after the job's commit, on the print's worker,
        // before the job is read back; every commit of a print job is counted.
        std::atomic<int> jobCommits{0};
        SqlConnection::setCommitSeam([&](SqlConnection &, const QString &statement) {
            // The server's process belongs to the test's thread, idle in its
            // wait for the print's end; the worker waits until it is gone.
            if (statement.isEmpty() && QThread::currentThread()->objectName() == QLatin1String("TrabalhoSuite")
                && jobCommits++ == 0)
                QMetaObject::invokeMethod(qApp, [&server] { server.kill(); }, Qt::BlockingQueuedConnection);
            return false;
        });
        // The question comes with the server still away: it is started again
        // while the box waits, as the pharmacy's guard would, and then the
        // clerk answers.
        bool serverBack = false;
        RealBoxes boxes([&](QMessageBox &box) {
            if (box.buttons().size() == 2)
                serverBack = server.start();
            if (readAgain && box.button(QMessageBox::Yes))
                QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
            else
                QTest::keyClick(&box, Qt::Key_Return);
        });

        QVERIFY(clickAndWait(f->btnEtiqSemPreco, f, &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*f->printHandOver, 60000));
        QVERIFY(serverBack);

        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(boxes.texts.constFirst(),
                 QStringLiteral("O trabalho novo (5 etiquetas) foi gravado em TABREV2, mas não foi impresso: não foi "
                                "possível lê-lo de volta (a conexão com o banco de dados caiu logo depois da gravação). "
                                "O trabalho anterior foi substituído por ele.\n\nLer o trabalho gravado de novo e "
                                "imprimi-lo agora?"));
        QCOMPARE(boxes.buttons.constFirst(), QStringList({QStringLiteral("Sim"), QStringLiteral("Não")}));
        QVERIFY2(englishLead({f->LabelImpressao->toolTip()}).isEmpty(), qPrintable(f->LabelImpressao->toolTip()));
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));

        // Written once, and only once: the job's labels in TABREV2, whatever the answer.
        const QStringList job{"000001|", "000002|", "000003|", "000004|", "000005|"};
        QCOMPARE(jobCommits.load(), 1);
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV2")), job);
        const QStringList eans{"7891000100103", "7891000315507", "7891000055120"};
        // Five labels, three across: two command files.
        const QStringList oneJob{"Etiq001.txt", "Etiq002.txt"};
        if (readAgain) {
            QCOMPARE(printed, oneJob);
            QCOMPARE(barcodesPrinted(workFolder, eans), QList<int>({3, 2, 0}));
        } else {
            QCOMPARE(printed, QStringList());
            QCOMPARE(barcodesPrinted(workFolder, eans), QList<int>({0, 0, 0}));
            QCOMPARE(f->LabelImpressao->toolTip(), QStringLiteral("Trabalho gravado e não impresso"));
        }

        // Nothing is left half done: the controls are the clerk's, the lock
        // is free, and the next print writes and prints the list as usual.
        QVERIFY(!f->jobRunning());
        QVERIFY(f->btnEtiqSemPreco->isEnabled() && f->DBGrid1->isEnabled());
        QCOMPARE(w.gridText(0, 0), QStringLiteral("3"));
        QVERIFY(clickAndWait(f->btnEtiqSemPreco, f, &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*f->printHandOver, 60000));
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(jobCommits.load(), 2);
        QCOMPARE(printed, readAgain ? oneJob + oneJob : oneJob);
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV2")), job);
        QCOMPARE(barcodesPrinted(workFolder, eans), QList<int>({3, 2, 0}));
    }
};

QTEST_MAIN(TstWindowJobReadAgain)
#include "tst_window_job_read_again.moc"
