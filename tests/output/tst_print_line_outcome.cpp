// What the print line and "Etiq. Inicial" say after a thermal print that went
// wrong before any label reached the printer: a CUPS queue that is disabled,
// rejects jobs or does not exist (asked before anything is written, on a
// scheduler of the test's own), and a command file that cannot be written.
// The previous job stays in TABREV2 and the first position stays for the retry.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintHandOver.h"
#include "PrinterQueueCheck.h"
#include "PrivateCups.h"
#include "ProcessStarter.h"
#include "RunValues.h"
#include "TFormSelvarra.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class PrintLineOutcomeTest : public ListWindowTest
{
    Q_OBJECT

    QString workFolder;
    ProcessStarter::Starter previousStarter;
    int runs = 0;

    QStringList codes()
    {
        QStringList all;
        for (const QVariantList &row : w->app.suite.rows(QStringLiteral("select CODIGO from TABREV2 order by CODIGO")))
            all << row.value(0).toString();
        return all;
    }
    QStringList commandFiles() { return QDir(workFolder).entryList({QStringLiteral("Etiq*.txt")}, QDir::Files); }

    void print(const QString &etiqInicial)
    {
        w->form()->EditEtiqInic->setText(etiqInicial);
        // A queue is asked about while the window goes on; the print follows the answer.
        QVERIFY(clickAndWait(w->form()->btnEtiqSemPreco, w->form(), &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*w->form()->printHandOver, 30000));
    }

    // Real runs of a batch file of this script, to a printer file; returns its path.
    QString realBatch(const QByteArray &script)
    {
        ProcessStarter::setStarter(previousStarter);
        const QString printerFile = w->app.suite.path(QStringLiteral("impressora.prn"));
        RunValues::LabelPrinterPath = printerFile;
        QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
        if (batch.open(QIODevice::WriteOnly))
            batch.write(script);
        return printerFile;
    }

    // A print that wrote nothing: the message says why, the line claims
    // nothing, the first position and the previous job are kept.
    void refused(const QStringList &before, const QString &expectedInMessage)
    {
        const int messages = int(w->app.messages.size());
        print(QStringLiteral("4"));
        QCOMPARE(w->app.messages.size(), messages + 1);
        QVERIFY2(w->app.messages.constLast().contains(expectedInMessage), qPrintable(w->app.messages.constLast()));
        QCOMPARE(w->form()->LabelImpressao->text(), QString());
        QCOMPARE(w->form()->EditEtiqInic->text(), QStringLiteral("4"));
        QCOMPARE(codes(), before);
        QCOMPARE(commandFiles(), QStringList());
    }

private slots:
    void init()
    {
        ListWindowTest::init();
        workFolder = w->app.suite.path(QStringLiteral("Interfac01"));
        QVERIFY(QDir().mkpath(workFolder));
        QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.close();
        runs = 0;
        previousStarter = ProcessStarter::setStarter([this](const QString &, const QStringList &) {
            ++runs;
            return true;
        });
        w->addProduct(QStringLiteral("P1"), QStringLiteral("ALCOOL GEL"), QStringLiteral("7896004703397"), QStringLiteral("12.9"));
        w->addProduct(QStringLiteral("P2"), QStringLiteral("CEWIN 500MG"), QStringLiteral("7891058017392"), QStringLiteral("35.5"));
        w->clickBuild();
        w->typeInCell(0, 0, QStringLiteral("2"));
        w->typeInCell(1, 0, QStringLiteral("2"));
    }

    void cleanup()
    {
        ProcessStarter::setStarter(previousStarter);
        ListWindowTest::cleanup();
    }

    void queueAskedBeforeWriting()
    {
        const QString missing = PrivateCups::missing();
        if (!missing.isEmpty()) {
            if (qEnvironmentVariable("CI") == QLatin1String("true"))
                QFAIL(qPrintable(missing));
            QSKIP(qPrintable(missing));
        }
        PrivateCups cups;
        QString error;
        QVERIFY2(cups.start(&error), qPrintable(error));
        QVERIFY2(cups.addPrinter(QStringLiteral("Zebra"), cups.path(QStringLiteral("saida/zebra.prn")), &error), qPrintable(error));

        print(QStringLiteral("2"));
        QCOMPARE(w->app.messages, QStringList());
        QCOMPARE(w->form()->LabelImpressao->text(), QStringLiteral("5 etiquetas em 2 arquivos enviadas para a impressora"));
        const QStringList before = codes();
        QCOMPARE(before.size(), 5);
        for (const QString &file : commandFiles())
            QVERIFY(QFile::remove(QDir(workFolder).filePath(file)));

        RunValues::LabelPrinterPath = QStringLiteral("cups:Zebra");
        QVERIFY2(cups.run(QStringLiteral("cupsdisable"), {QStringLiteral("Zebra")}, &error), qPrintable(error));
        refused(before, QStringLiteral("cupsenable Zebra"));

        QVERIFY2(cups.run(QStringLiteral("cupsenable"), {QStringLiteral("Zebra")}, &error), qPrintable(error));
        QVERIFY2(cups.run(QStringLiteral("cupsreject"), {QStringLiteral("Zebra")}, &error), qPrintable(error));
        RunValues::LabelPrinterPath = QStringLiteral("Zebra"); // a bare name is a queue too
        refused(before, QStringLiteral("cupsaccept Zebra"));

        RunValues::LabelPrinterPath = QStringLiteral("cups:Argox");
        refused(before, QStringLiteral("\"Argox\" não existe"));
        QCOMPARE(runs, 2);
    }

    // A command file that cannot be written stops the job before any file
    // goes out: the message is the only word on it, no "Enviando" line is
    // left behind, and "Etiq. Inicial" keeps its position.
    void unwritableFileShowsNoSuccess()
    {
        QVERIFY(QDir(workFolder).mkdir(QStringLiteral("Etiq002.txt")));
        print(QStringLiteral("4"));
        QCOMPARE(w->app.messages.size(), 1);
        QVERIFY2(w->app.messages.first().contains(QStringLiteral("Não foi possível gravar o arquivo de etiquetas")),
                 qPrintable(w->app.messages.first()));
        QCOMPARE(w->form()->LabelImpressao->text(), QStringLiteral("Envio interrompido: 0 etiquetas enviadas para a impressora"));
        QCOMPARE(w->form()->EditEtiqInic->text(), QStringLiteral("4"));
        QCOMPARE(runs, 0);
        QVERIFY(!w->form()->BotContinuarEnvio->isVisible());
    }

    // "Parar envio" while the second of five files goes: the hand-over stops
    // after it, and the rest is offered with its file numbers. "Continuar
    // envio" hands over exactly that rest, without a new job: the printer has
    // then received the whole job once, in order.
    void stopAndContinueFromThePanel()
    {
        const QString printerFile = realBatch("cat \"$1\" >> \"$2\"\n");
        w->typeInCell(0, 0, QStringLiteral("11"));
        w->typeInCell(1, 0, QStringLiteral("3"));
        const auto stopAtSecond = connect(w->form()->printHandOver, &PrintHandOver::sending, w->form(), [this](int file) {
            if (file == 2)
                QTest::mouseClick(w->form()->BotPararEnvio, Qt::LeftButton);
        });
        print(QStringLiteral("2"));
        disconnect(stopAtSecond);
        QCOMPARE(w->form()->LabelImpressao->text(), QStringLiteral("Envio parado: 6 etiquetas enviadas; 3 arquivos não enviados."));
        QCOMPARE(w->form()->EditEtiqInic->text(), QString()); // labels went out from the first position
        QVERIFY(w->form()->BotContinuarEnvio->isVisible());
        QCOMPARE(w->form()->BotContinuarEnvio->text(), QStringLiteral("Continuar envio (arquivos 3 a 5)"));
        const QStringList job = codes();

        QTest::mouseClick(w->form()->BotContinuarEnvio, Qt::LeftButton);
        QVERIFY(waitUntilIdle(*w->form()->printHandOver, 30000));
        QCOMPARE(w->form()->LabelImpressao->text(), QStringLiteral("9 etiquetas em 3 arquivos enviadas para a impressora"));
        QVERIFY(!w->form()->BotContinuarEnvio->isVisible());
        QCOMPARE(codes(), job);
        QCOMPARE(w->app.messages, QStringList());
        QByteArray whole;
        for (const QString &name : commandFiles()) {
            QFile file(QDir(workFolder).filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            whole += file.readAll();
        }
        QFile printed(printerFile);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QCOMPARE(commandFiles().size(), 5);
        QCOMPARE(printed.readAll(), whole);
    }

    // Closing while the batch file still runs file 1 of 2: once the clerk
    // agrees, a panel says what closing waits for and for how long, the window
    // stays and answers; "Fechar mesmo assim" comes after a few seconds and
    // closes at once, leaving file 1 marked started for "Continuar envio" to
    // ask about, and file 2 unsent.
    void closingWaitsForTheFileBeingSent()
    {
        const QString printerFile = realBatch("while [ ! -f \"$0.siga\" ]; do sleep 0.02; done\ncat \"$1\" >> \"$2\"\n");
        QSignalSpy sending(w->form()->printHandOver, &PrintHandOver::sending);
        w->form()->EditEtiqInic->setText(QString());
        QTest::mouseClick(w->form()->btnEtiqSemPreco, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(sending.size(), 1, 30000);

        w->app.answerYes = true;
        QVERIFY(!w->form()->close());
        QVERIFY(w->form()->isVisible());
        QVERIFY2(w->app.questions.constLast().contains(QStringLiteral("arquivo 1 de 2")), qPrintable(w->app.questions.constLast()));
        auto *panel = w->form()->findChild<QFrame *>(QStringLiteral("PainelFechando"));
        QVERIFY(panel && panel->isVisible());
        const QString said = panel->findChild<QLabel *>()->text();
        QVERIFY2(said.contains(QStringLiteral("arquivo 1 de 2")) && said.contains(QStringLiteral("no máximo 60 s")), qPrintable(said));
        auto *anyway = panel->findChild<QPushButton *>(QStringLiteral("BotFecharMesmoAssim"));
        QVERIFY(!anyway->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(anyway->isEnabled(), 30000);
        QVERIFY(w->form()->printHandOver->busy()); // the batch file still holds file 1
        QTest::mouseClick(anyway, Qt::LeftButton);
        QVERIFY(!w->form()->isVisible());
        QVERIFY(!QFile::exists(printerFile));
        const QList<ThermalJournal::Record> left = w->form()->printHandOver->pending(workFolder);
        QCOMPARE(left.size(), 1);
        QCOMPARE(left[0].interrupted, 1);
        QCOMPARE(left[0].job.firstFileNumber, 1);
    }
};

QTEST_MAIN(PrintLineOutcomeTest)
#include "tst_print_line_outcome.moc"
