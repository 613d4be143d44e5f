// A quantity typed in the real window whose commit the connection loses on
// the way: the database may hold it or not, and the window cannot know. The
// clerk is told so once, in Portuguese, in the program's own box; the grid
// keeps what was typed; the list read again shows what the database holds;
// and the next quantity is stored as usual. A list build whose commit is lost
// never claims the earlier list was kept. A print's record in the history
// whose commit is lost the same way is there once, never twice.
#include "ClickAndWait.h"
#include "EnglishText.h"
#include "HandOverIdle.h"
#include "HistoryWork.h"
#include "ListReads.h"
#include "ListWindow.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "MessageBoxSink.h"
#include "RealBoxes.h"
#include "SqlConnection.h"
#include "StoredQuantities.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QThread>
#include <QtTest>
#include <atomic>

class TstWindowCommitLost : public QObject
{
    Q_OBJECT

    // The print history's jobs as "labels|products" each, read on an
    // attachment of its own on whichever thread asks.
    static QStringList historyJobs(const QString &database)
    {
        SqlConnection connection(QStringLiteral("Conferencia"), QStringLiteral("Conferencia"));
        connection.setDataBase(database);
        const SqlConnection::Use use(connection);
        QSqlQuery query = connection.exec(QStringLiteral("select ETIQUETAS, PRODUTOS from SELVAR_HISTORICO order by ID"));
        QStringList jobs;
        while (query.next())
            jobs << query.value(0).toString() + QLatin1Char('|') + query.value(1).toString();
        return jobs;
    }

private slots:
    void cleanup() { SqlConnection::setCommitSeam({}); }

    void quantityWhoseCommitWasLost_data()
    {
        QTest::addColumn<bool>("landed");
        QTest::addColumn<bool>("reopened"); // else the clerk goes on typing
        QTest::newRow("gravada, lista reaberta") << true << true;
        QTest::newRow("não gravada, lista reaberta") << false << true;
        QTest::newRow("não gravada, digitação segue") << false << false;
    }

    void quantityWhoseCommitWasLost()
    {
        QFETCH(bool, landed);
        QFETCH(bool, reopened);
        ListWindow w;
        QVERIFY(w.start());
        for (const char *row : {"('P1', 'ALFA', 2)", "('P2', 'BRAVO', null)", "('P3', 'CHARLIE', null)"})
            w.app.suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE) values %1").arg(QLatin1String(row)));
        TFormSelvarra *f = w.form();
        w.clickReopen();
        QVERIFY(f->PainelSelvarra->isVisible());
        QCOMPARE(w.gridText(0, 0), QStringLiteral("2"));
        installMessageBoxSink(); // the program's own boxes, not the fixture's recorder
        RealBoxes boxes([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); });
        const QString database = w.dm()->SQLConnection1->DataBase();

        // The window's next write of TABREV1 is committed and its answer lost.
        // When it did not land, the database still holds the quantity before
        // it: another attachment puts it back at that moment.
        std::atomic<int> lost{0};
        SqlConnection::setCommitSeam([&](SqlConnection &connection, const QString &statement) {
            // The quantity's own write, made off the window's thread.
            if (connection.objectName() != QLatin1String("GravacaoLista") || !statement.contains(QLatin1String("TABREV1"))
                || lost++ > 0)
                return false;
            if (!landed) {
                // Another attachment, made on this thread as every attachment is.
                SqlConnection other(QStringLiteral("Outra"), QStringLiteral("Outra"));
                other.setDataBase(database);
                const SqlConnection::Use use(other);
                other.exec(QStringLiteral("update TABREV1 set QDE = 2 where CODIGO = 'P1'"));
            }
            return true;
        });
        w.typeInCell(0, 0, QStringLiteral("4"));
        QCOMPARE(lost.load(), 1);
        QCOMPARE(boxes.texts,
                 QStringList(QStringLiteral("A conexão com o servidor caiu enquanto a quantidade 4 de ALFA era gravada, e "
                                            "não se sabe se ela foi gravada. Confira a quantidade na lista quando a "
                                            "conexão voltar.")));
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QCOMPARE(w.gridText(0, 0), QStringLiteral("4")); // nothing typed is lost from sight
        QVERIFY(f->DBGrid1->isEnabled());

        // Closed and opened again, the list shows what the database holds,
        // and the clerk types again what is missing. Typing on instead, the
        // quantity still pending is stored with the next one.
        if (reopened) {
            w.clickClose();
            QVERIFY(!f->PainelSelvarra->isVisible());
            w.clickReopen();
            QVERIFY(f->PainelSelvarra->isVisible());
            QCOMPARE(w.gridText(0, 0), landed ? QStringLiteral("4") : QStringLiteral("2"));
        }
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")).constFirst(), landed ? "P1|4" : "P1|2");

        // The window goes on: the next quantity is stored, with no other box.
        w.typeInCell(1, 0, QStringLiteral("6"));
        const QStringList stored = storedQuantities(database, QStringLiteral("TABREV1"));
        QCOMPARE(stored, QStringList({landed || !reopened ? "P1|4" : "P1|2", "P2|6", "P3|"}));
        QCOMPARE(w.gridText(0, 0), stored.constFirst().section(QLatin1Char('|'), 1));
        QCOMPARE(w.gridText(1, 0), QStringLiteral("6"));
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(englishLead(boxes.texts + QStringList{f->LabelPesquisa->text(), f->LabelImpressao->toolTip()}).isEmpty(),
                 qPrintable(englishLead(boxes.texts)));
    }

    // The build's commit lands and its answer is lost: the clerk is told it is
    // not known whether the new list was saved, never that the earlier one
    // was kept; the list shown and the next build are the database's.
    void listBuildWhoseCommitWasLost()
    {
        ListWindow w;
        QVERIFY(w.start());
        w.app.suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE) values ('OLD', 'LISTA ANTERIOR', null)"));
        const ListWindow::ShelfProduct products[] = {{"P1", "ALFA", "7891000100103"}, {"P2", "BRAVO", "7891000315507"}};
        w.addProducts(products);
        installMessageBoxSink();
        RealBoxes boxes([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); });
        std::atomic<int> commits{0};
        SqlConnection::setCommitSeam([&](SqlConnection &, const QString &statement) {
            return statement.isEmpty() && QThread::currentThread()->objectName() == QLatin1String("TrabalhoSuite")
                   && commits++ == 0;
        });
        const auto storedCodes = [&w] {
            QStringList codes;
            for (const QString &row : w.storedList())
                codes << row.section(QLatin1Char('|'), 0, 0);
            return codes;
        };

        w.clickBuild();
        QCOMPARE(commits.load(), 1); // not built a second time by itself
        QCOMPARE(storedCodes(), QStringList({"P1", "P2"}));
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts.constFirst().contains(QStringLiteral("não se sabe se ela foi gravada")),
                 qPrintable(boxes.texts.constFirst()));
        QVERIFY2(!boxes.texts.constFirst().contains(QStringLiteral("anterior foi mantida")), qPrintable(boxes.texts.constFirst()));
        QVERIFY2(englishLead(boxes.texts).isEmpty(), qPrintable(boxes.texts.constFirst()));

        // The window goes on: the next build is stored and shown.
        w.app.suite.exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR) values "
                                        "('P3', 'CHARLIE', 'REV', '7891000055120', 10)"));
        w.clickBuild();
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(storedCodes(), QStringList({"P1", "P2", "P3"}));
        QVERIFY(w.form()->PainelSelvarra->isVisible());
        QCOMPARE(w.gridText(2, 1), QStringLiteral("CHARLIE"));
    }

    // The history's commit of a printed job answers lost: it may be written
    // or not, so it is never written a second time by itself.
    void printRecordWhoseCommitWasLost()
    {
        ListWindow w;
        QVERIFY(w.start());
        for (const char *row : {"('P1', 'ALFA', 13.90, '7891000100103')", "('P2', 'BRAVO', 5, '7891000315507')"})
            w.app.suite.exec(
                QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1, CODIGOEAN) values %1").arg(QLatin1String(row)));
        QVERIFY(QDir(w.app.suite.root()).mkpath(QStringLiteral("Interfac01")));
        QFile batch(QDir(w.app.suite.path(QStringLiteral("Interfac01"))).filePath(QStringLiteral("ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.close();
        int started = 0;
        const ProcessStarter::Starter previousStarter = ProcessStarter::setStarter([&started](const QString &, const QStringList &) {
            ++started;
            return true;
        });
        struct StarterBack
        {
            ProcessStarter::Starter previous;
            ~StarterBack() { ProcessStarter::setStarter(previous); }
        } starterBack{previousStarter};
        TFormSelvarra *f = w.form();
        w.clickReopen();
        w.typeInCell(0, 0, QStringLiteral("3"));
        w.typeInCell(1, 0, QStringLiteral("2"));
        installMessageBoxSink();
        RealBoxes boxes([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); });
        const QString database = w.dm()->SQLConnection1->DataBase();

        // The first commit off the window's thread after which the history
        // holds a job is the job's record: its answer is lost.
        std::atomic<int> lost{0};
        SqlConnection::setCommitSeam([&](SqlConnection &, const QString &statement) {
            if (!statement.isEmpty() || QThread::currentThread() == qApp->thread() || lost.load() > 0
                || historyJobs(database).isEmpty())
                return false;
            ++lost;
            return true;
        });
        QVERIFY(clickAndWait(f->btnEtiqSemPreco, f, &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*f->printHandOver, 60000));
        QVERIFY(QTest::qWaitFor([f] { return !f->historyWork()->busy() && f->listReads()->idle(); }, 60000));
        QVERIFY(started > 0);
        QCOMPARE(lost.load(), 1);
        // Run again from what the history holds, the job is there once.
        QCOMPARE(historyJobs(database), QStringList(QStringLiteral("5|2")));
        const QStringList shown = boxes.texts + w.app.messages + QStringList(f->LabelImpressao->toolTip());
        QVERIFY2(englishLead(shown).isEmpty(), qPrintable(englishLead(shown)));
    }
};

QTEST_MAIN(TstWindowCommitLost)
#include "tst_window_commit_lost.moc"
