// Printing through the window when the printer path may or may not name a CUPS
// queue, with a stand-in lpstat early in PATH that writes down every question:
// paths that name no queue go to the site's batch file unasked; a scheduler
// that never answers leaves the window answering "Cancelar". And "Etiq.
// Inicial" belongs to the job written: a second print during the first one's
// hand-over starts at position 1.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintHandOver.h"
#include "RunValues.h"
#include "SqlConnection.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class PrintQueueFlowTest : public ListWindowTest
{
    Q_OBJECT

    QTemporaryDir shims;
    QString workFolder;
    QByteArray previousPath;

    QString shim(const QString &name) const { return shims.filePath(name); }

    void writeScript(const QString &path, const QByteArray &body)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body);
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    }

    // lpstat that notes its arguments, then behaves as `body` says.
    void lpstatThat(const QByteArray &body)
    {
        writeScript(shim(QStringLiteral("lpstat")),
                    "echo \"$*\" >> '" + shim(QStringLiteral("lpstat-calls")).toLocal8Bit() + "'\n" + body);
    }

    QStringList lpstatCalls()
    {
        QFile file(shim(QStringLiteral("lpstat-calls")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // ImprEtiq.bat as a site may write it: a plain copy to a file named after the printer path.
    void copyingBatchFile(const QByteArray &before = {})
    {
        writeScript(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")),
                    before + "cat \"$1\" >> '" + shim(QStringLiteral("saida-")).toLocal8Bit() + "'\"$2\"\n");
    }

    QByteArray printed(const QString &printerPath)
    {
        QFile file(shim(QStringLiteral("saida-") + printerPath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList jobCodes()
    {
        QStringList all;
        for (const QVariantList &row : w->app.suite.rows(QStringLiteral("select CODIGO from TABREV2 order by CODIGO")))
            all << row.value(0).toString();
        return all;
    }

    // The click, and the print it starts to its end.
    bool clickPrint() { return clickAndWait(w->form()->btnEtiqSemPreco, w->form(), &TFormSelvarra::printEnded); }

private slots:
    void init()
    {
        QVERIFY(shims.isValid());
        for (const QString &name : QDir(shims.path()).entryList(QDir::Files))
            QVERIFY(QFile::remove(shim(name)));
        previousPath = qgetenv("PATH");
        qputenv("PATH", shims.path().toLocal8Bit() + ':' + previousPath);
        ListWindowTest::init();
        workFolder = w->app.suite.path(QStringLiteral("Interfac01"));
        QVERIFY(QDir().mkpath(workFolder));
        w->addProduct(QStringLiteral("P1"), QStringLiteral("ALCOOL GEL"), QStringLiteral("7896004703398"), QStringLiteral("12.9"));
        w->addProduct(QStringLiteral("P2"), QStringLiteral("CEWIN 500MG"), QStringLiteral("7891058017392"), QStringLiteral("35.5"));
        w->clickBuild();
        w->typeInCell(0, 0, QStringLiteral("2"));
        w->typeInCell(1, 0, QStringLiteral("2"));
    }

    void cleanup()
    {
        ListWindowTest::cleanup();
        qputenv("PATH", previousPath);
    }

    // An address, a Windows port and a share the scheduler does not know all
    // print through the batch file; only the bare name is asked about, once.
    void pathsNamingNoQueueGoToTheBatchFile()
    {
        lpstatThat("echo \"lpstat: Invalid destination name in list \\\"$2\\\"!\"\nexit 1\n");
        copyingBatchFile();
        for (const QString &path : {QStringLiteral("192.0.2.7"), QStringLiteral("LPT1"), QStringLiteral("ETIQUETAS")}) {
            RunValues::LabelPrinterPath = path;
            QVERIFY(clickPrint());
            QVERIFY(waitUntilIdle(*w->form()->printHandOver, 30000));
            QCOMPARE(w->app.messages, QStringList());
            QVERIFY2(printed(path).contains("A0,0,0,2,1,1,N,\"ALCOOL GEL\""), qPrintable(path));
            QCOMPARE(printed(path).count("P1\r\n"), 2);
        }
        QCOMPARE(lpstatCalls(), QStringList{QStringLiteral("-p ETIQUETAS")});
    }

    // A scheduler that never answers: the window says it is asking, keeps
    // taking clicks, and "Cancelar" ends the print with nothing written.
    void schedulerThatNeverAnswersIsCancelled()
    {
        lpstatThat("exec sleep 600\n");
        copyingBatchFile();
        RunValues::LabelPrinterPath = QStringLiteral("LPT1");
        QVERIFY(clickPrint());
        QVERIFY(waitUntilIdle(*w->form()->printHandOver, 30000));
        const QStringList before = jobCodes();
        QCOMPARE(before.size(), 4);

        RunValues::LabelPrinterPath = QStringLiteral("cups:Zebra");
        w->form()->EditEtiqInic->setText(QStringLiteral("3"));
        QSignalSpy checked(w->form(), &TFormSelvarra::printerCheckEnded);
        QTest::mouseClick(w->form()->btnEtiqSemPreco, Qt::LeftButton); // the print stops at the question
        auto *panel = w->form()->findChild<QFrame *>(QStringLiteral("PainelEspera"));
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("LabelEspera"))->text(), QStringLiteral("Consultando a impressora…"));
        QVERIFY(!w->form()->btnEtiqSemPreco->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(lpstatCalls().size(), 1, 30000); // the question is out, unanswered
        QTest::mouseClick(panel->findChild<QPushButton *>(QStringLiteral("BotCancelarEspera")), Qt::LeftButton);
        QCOMPARE(checked.size(), 1);
        QVERIFY(!panel->isVisible());
        QVERIFY(w->form()->btnEtiqSemPreco->isEnabled());
        QCOMPARE(w->form()->LabelImpressao->text(), QStringLiteral("Consulta à impressora cancelada: nada foi impresso."));
        QCOMPARE(w->form()->EditEtiqInic->text(), QStringLiteral("3"));
        QCOMPARE(w->app.messages, QStringList());
        QCOMPARE(jobCodes(), before);
        QCOMPARE(printed(QStringLiteral("cups:Zebra")), QByteArray());
    }

    // "Etiq. Inicial" 4: the first job holds three blank positions and the box
    // is cleared as it is queued; a second print while the first one's batch
    // file waits for a file of the test's starts at position 1.
    void secondPrintDuringHandOverStartsAtPositionOne()
    {
        const QByteArray release = shim(QStringLiteral("liberar")).toLocal8Bit();
        copyingBatchFile("while [ ! -e '" + release + "' ]; do sleep 0.05; done\n");
        RunValues::LabelPrinterPath = QStringLiteral("zebra");
        lpstatThat("exit 1\n");
        QSignalSpy sending(w->form()->printHandOver, &PrintHandOver::sending);
        QSignalSpy checked(w->form(), &TFormSelvarra::printerCheckEnded);
        w->form()->EditEtiqInic->setText(QStringLiteral("4"));
        QVERIFY(clickPrint());
        QCOMPARE(checked.size(), 1);
        // File 1 of the first job goes to the batch file, which waits, once the
        // job's history number is taken.
        QTRY_COMPARE_WITH_TIMEOUT(sending.size(), 1, 30000);
        QCOMPARE(w->form()->EditEtiqInic->text(), QString());
        QCOMPARE(jobCodes().mid(0, 4), (QStringList{"-000001", "-000002", "-000003", "000001"}));

        QVERIFY(clickPrint());
        QCOMPARE(checked.size(), 2);
        QCOMPARE(jobCodes(), (QStringList{"000001", "000002", "000003", "000004"}));
        QCOMPARE(w->form()->EditEtiqInic->text(), QString());

        QFile(QString::fromLocal8Bit(release)).open(QIODevice::WriteOnly);
        QVERIFY(waitUntilIdle(*w->form()->printHandOver, 30000));
        QCOMPARE(w->app.messages, QStringList());
        // Five files: the first job's three (3 blanks + 4 labels), then the
        // second's two; the first label of each file tells where it starts.
        const QByteArray all = printed(QStringLiteral("zebra"));
        QCOMPARE(all.count("P1\r\n"), 5);
        QByteArrayList firstLabels;
        for (const QByteArray &line : all.split('\n'))
            if (line.startsWith("A0,0,0,2,1,1,N,"))
                firstLabels << line.trimmed();
        QCOMPARE(firstLabels, (QByteArrayList{"A0,0,0,2,1,1,N,\"\"", "A0,0,0,2,1,1,N,\"ALCOOL GEL\"",
                                              "A0,0,0,2,1,1,N,\"CEWIN 500MG\"", "A0,0,0,2,1,1,N,\"ALCOOL GEL\"",
                                              "A0,0,0,2,1,1,N,\"CEWIN 500MG\""}));
    }

    // The station's attachment was cut since its last use (as a server
    // restart does): the print makes a new one and goes on by itself.
    void connectionLostSinceLastUseIsMadeAgain()
    {
        copyingBatchFile();
        RunValues::LabelPrinterPath = QStringLiteral("192.0.2.7");
        QSqlQuery own = w->dm()->SQLConnection1->exec(QStringLiteral("select current_connection from rdb$database"));
        QVERIFY(own.next());
        const QVariant id = own.value(0);
        own.finish();
        w->app.suite.exec(QStringLiteral("delete from mon$attachments where mon$attachment_id = ?"), {id});
        QVERIFY(clickPrint());
        QVERIFY(waitUntilIdle(*w->form()->printHandOver, 30000));
        QCOMPARE(w->app.messages, QStringList());
        QCOMPARE(jobCodes(), (QStringList{"000001", "000002", "000003", "000004"}));
        QCOMPARE(printed(QStringLiteral("192.0.2.7")).count("P1\r\n"), 2);
        QCOMPARE(w->form()->LabelImpressao->text(), QStringLiteral("4 etiquetas em 2 arquivos enviadas para a impressora"));
        QCOMPARE(lpstatCalls(), QStringList());
    }
};

QTEST_MAIN(PrintQueueFlowTest)
#include "tst_print_queue_flow.moc"
