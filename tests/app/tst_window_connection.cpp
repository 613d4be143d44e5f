// The window's own connection when the server (one of the test's own) is
// killed and started again between two actions: storing a quantity, choosing
// another model, printing, closing the list with a quantity being typed and
// opening it again each complete by themselves; with the server still away the
// clerk is told in Portuguese what was not stored, and it is stored with the
// next quantity once the server is back.
#include "ClickAndWait.h"
#include "EnglishText.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintHandOver.h"
#include "PrivateServer.h"
#include "ServerListWindow.h"
#include "ProcessStarter.h"
#include "ReportModal.h"
#include "SqlConnection.h"
#include "StoredQuantities.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TstWindowConnection : public QObject
{
    Q_OBJECT

private slots:
    void restartedBetweenActions()
    {
        PrivateServer server;
        SELVAR_START_PRIVATE_SUITE(server, database, TestSuite::Writes::Forced);

        ListWindow w;
        QVERIFY(w.start());
        // The thermal model's print goes to a batch file that the test only counts.
        QVERIFY(!startOnServer(w, database).isEmpty());
        int printed = 0;
        const ProcessStarter::Starter previousStarter = ProcessStarter::setStarter([&printed](const QString &, const QStringList &) {
            ++printed;
            return true;
        });
        ReportModal::setHook([](QDialog &dialog) {
            dialog.done(2); // "Imprimir"
            return dialog.result();
        });
        TFormSelvarra *f = w.form();
        w.clickReopen();
        QVERIFY(f->PainelSelvarra->isVisible());
        const auto restart = [&server] {
            server.kill();
            return server.start();
        };

        QVERIFY(restart());
        w.typeInCell(0, 0, QStringLiteral("4"));
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|4", "P2|", "P3|"}));

        QVERIFY(restart());
        w.chooseModel(QStringLiteral("Carta"));
        w.chooseModel(QStringLiteral("Zebra"));
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));

        QVERIFY(restart());
        QVERIFY(clickAndWait(f->btnEtiqSemPreco, f, &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*f->printHandOver, 60000));
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QVERIFY(printed > 0); // the batch file started for the job
        // One row a label, numbered: the four of ALFA.
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV2")), QStringList({"000001|", "000002|", "000003|", "000004|"}));
        QCOMPARE(f->DBLCB1->currentText(), ListWindow::modelDescriptions()[1]);

        // Closing the list stores the quantity still in its cell.
        QVERIFY(restart());
        QVERIFY(w.startTyping(1, 0, QStringLiteral("7")));
        w.clickClose();
        QVERIFY(w.settle()); // the list read back after the quantity, before the server goes
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QVERIFY(!f->PainelSelvarra->isVisible());
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|4", "P2|7", "P3|"}));

        QVERIFY(restart());
        w.clickReopen();
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QVERIFY(f->PainelSelvarra->isVisible());
        QCOMPARE(w.gridText(1, 0), QStringLiteral("7"));
        QCOMPARE(f->DBLCB1->currentText(), ListWindow::modelDescriptions()[1]);

        // Still away: the quantity is not stored, the clerk is told so, and
        // the grid keeps it until the server is back and the next one goes.
        server.kill();
        w.typeInCell(2, 0, QStringLiteral("5"));
        QCOMPARE(w.app.messages.size(), 1);
        QVERIFY2(englishLead(w.app.messages).isEmpty(), qPrintable(englishLead(w.app.messages)));
        QVERIFY2(w.app.messages.constFirst().startsWith(QStringLiteral("A conexão com o servidor foi perdida e ainda não "
                                                                       "voltou; a quantidade 5 de CHARLIE não foi gravada.")),
                 qPrintable(w.app.messages.constFirst()));
        QCOMPARE(w.gridText(2, 0), QStringLiteral("5"));
        QVERIFY(server.start());
        w.typeInCell(0, 0, QStringLiteral("6"));
        QCOMPARE(w.app.messages.size(), 1);
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|6", "P2|7", "P3|5"}));

        ReportModal::setHook({});
        ProcessStarter::setStarter(previousStarter);
    }
};

QTEST_MAIN(TstWindowConnection)
#include "tst_window_connection.moc"
