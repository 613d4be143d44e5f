// A server killed and started again between two uses, on a server of the
// test's own: "Preços alterados", the history window and "Repetir" make the
// connection again and do their work; a server that has not come back is said
// in Portuguese, with the list's quantities as they were. A print's history
// is made again the same way.
#include "ListWindow.h"
#include "HistoryWindow.h"
#include "HistoryStore.h"
#include "HistoryWork.h"
#include "PrintHistory.h"
#include "ListReads.h"
#include "PrivateServer.h"
#include "ReportModal.h"
#include "SqlConnection.h"
#include "StoredQuantities.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "TestSuite.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

class TstHistoryConnection : public QObject
{
    Q_OBJECT

    static bool done(TFormSelvarra *f)
    {
        return QTest::qWaitFor([f] { return !f->historyWork()->busy() && f->listReads()->idle(); }, 60000);
    }

    static bool english(const QStringList &messages)
    {
        for (const QString &message : messages) {
            if (message.contains(QLatin1String("connection"), Qt::CaseInsensitive)
                || message.contains(QLatin1String("Error"), Qt::CaseSensitive))
                return true;
        }
        return false;
    }

private slots:
    void lostBetweenActions()
    {
        PrivateServer server;
        SELVAR_START_PRIVATE_SUITE(server, database, TestSuite::Writes::Async);

        ListWindow w;
        QVERIFY(w.start());
        SqlConnection &connection = *w.dm()->SQLConnection1;
        connection.setDataBase(database);
        for (const char *row : {"('P1', 'ALFA', 13.90)", "('P2', 'BRAVO', 5)", "('P3', 'CHARLIE', 8)"})
            connection.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values %1").arg(QLatin1String(row)));
        // ALFA was printed at 12,90 (2 labels) and BRAVO at today's price.
        connection.ExecuteDirect(QStringLiteral("insert into SELVAR_HISTORICO (ID, DATAHORA, ESTACAO, ETIQUETAS, PRODUTOS) "
                                                "values (1, current_timestamp, '01', 5, 2)"));
        connection.ExecuteDirect(QStringLiteral("insert into SELVAR_HISTORICO_ITEM (HISTORICO, ORDEM, CODIGO, COMPONENTE, PRECO1, "
                                                "ETIQUETAS) values (1, 1, 'P1', 'ALFA', 12.90, 2)"));
        connection.ExecuteDirect(QStringLiteral("insert into SELVAR_HISTORICO_ITEM (HISTORICO, ORDEM, CODIGO, COMPONENTE, PRECO1, "
                                                "ETIQUETAS) values (1, 2, 'P2', 'BRAVO', 5, 3)"));
        connection.ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL) values ('02', 'A4 - Pimaco', 3)"));
        connection.ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('02')"));
        w.clickReopen();
        TFormSelvarra *f = w.form();

        // Once, so that the worker's attachments exist when the server goes.
        QTest::mouseClick(f->BotPrecosAlterados, Qt::LeftButton);
        QVERIFY(done(f));
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|2", "P2|", "P3|"}));
        connection.ExecuteDirect(QStringLiteral("update TABREV1 set QDE = null"));
        w.clickClose();
        w.clickReopen();

        // "Preços alterados" after a restart: done at once, nothing said.
        server.kill();
        QVERIFY(server.start());
        QTest::mouseClick(f->BotPrecosAlterados, Qt::LeftButton);
        QVERIFY(done(f));
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QCOMPARE(f->LabelImpressao->toolTip(), QStringLiteral("1 produto com preço diferente da última etiqueta "
                                                              "(2 etiquetas); 1 produto nunca impresso"));
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|2", "P2|", "P3|"}));
        QCOMPARE(w.gridText(0, 0), QStringLiteral("2"));

        // The history window after a restart lists the job; the server goes
        // again before "Repetir" reads the job's products and writes them.
        server.kill();
        QVERIFY(server.start());
        QStringList seen;
        ReportModal::setHook([&](QDialog &d) {
            auto &window = static_cast<HistoryWindow &>(d);
            d.show();
            if (!QTest::qWaitFor([&] { return !window.reading(); }, 60000))
                return int(QDialog::Rejected);
            seen << QString::number(window.GradeTrabalhos->rowCount()) << QString::number(window.GradeItens->rowCount())
                 << window.LabelHistorico->text();
            server.kill();
            server.start();
            QTest::keyClick(window.GradeTrabalhos, Qt::Key_Return);
            return d.result();
        });
        QTest::mouseClick(f->BotHistorico, Qt::LeftButton);
        QVERIFY(done(f));
        ReportModal::setHook({});
        QCOMPARE(seen, QStringList({"1", "2", "1 trabalho"}));
        QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QCOMPARE(w.app.questions, QStringList());
        QCOMPARE(f->LabelImpressao->toolTip(), QStringLiteral("Trabalho 1 na lista: 5 etiquetas em 2 produtos, aos preços de hoje"));
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|2", "P2|3", "P3|"}));

        // A server that has not come back: said in Portuguese, nothing changed.
        server.kill();
        QTest::mouseClick(f->BotPrecosAlterados, Qt::LeftButton);
        QVERIFY(done(f));
        QVERIFY2(w.app.messages.size() == 1, qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QVERIFY2(!english(w.app.messages), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
        QCOMPARE(w.app.messages.constFirst(),
                 QStringLiteral("A conexão com o servidor foi perdida e ainda não voltou: \"Preços alterados\" não foi "
                                "feito e as quantidades da lista ficaram como estavam. Tente de novo em instantes."));
        QVERIFY(server.start());
        QCOMPARE(storedQuantities(database, QStringLiteral("TABREV1")), QStringList({"P1|2", "P2|3", "P3|"}));
        QCOMPARE(w.gridText(0, 0), QStringLiteral("2"));
    }

    // A print's history recorded on the worker, the server killed and started
    // again between two parts of a thermal job: the attachment is made again
    // and the job holds each label once. With the server gone, the print line's
    // note is said in Portuguese, and nothing is written twice once it is back.
    void printRecordAfterARestart()
    {
        PrivateServer server;
        SELVAR_START_PRIVATE_SUITE(server, database, TestSuite::Writes::Async);
        const auto named = [database] { return database; };
        HistoryStore store(named);
        HistoryWork work;
        PrintHistory history(store, work, named);
        PrintedJob job;
        job.station = QStringLiteral("01");
        job.items = {PrintedItem{1, QStringLiteral("P1"), QStringLiteral("ALFA"), QString(), Decimal(1290, 2), 4},
                     PrintedItem{2, QStringLiteral("P2"), QStringLiteral("BRAVO"), QString(), Decimal(500, 2), 2}};
        history.jobWritten(job);
        QByteArray record;
        history.thermalRecord([&record](const QByteArray &given) { record = given; });
        QVERIFY(QTest::qWaitFor([&] { return !record.isEmpty(); }, 60000));
        QStringList notes;
        const auto filesOut = [&](int files) {
            history.thermalOut(record, {3, 3}, files, [&](const QString &note) { notes << note; });
            return QTest::qWaitFor([&] { return !work.busy(); }, 60000);
        };
        const auto recorded = [named] {
            HistoryStore check(named);
            QStringList jobs;
            for (const HistoryStore::JobRow &row : check.jobs({}))
                jobs << QStringLiteral("%1 etiquetas, %2 produtos").arg(row.labels).arg(row.products);
            return jobs;
        };

        QVERIFY(filesOut(1));
        server.kill();
        QVERIFY(server.start());
        QVERIFY(filesOut(2));
        QCOMPARE(notes, QStringList({QString(), QString()}));
        QCOMPARE(recorded(), QStringList{QStringLiteral("6 etiquetas, 2 produtos")});

        server.kill();
        QVERIFY(filesOut(2));
        QCOMPARE(notes.value(2), PrintHistory::failureNote());
        QVERIFY(server.start());
        QVERIFY(filesOut(2));
        QCOMPARE(notes.value(3), QString());
        QCOMPARE(recorded(), QStringList{QStringLiteral("6 etiquetas, 2 produtos")});
    }
};

QTEST_MAIN(TstHistoryConnection)
#include "tst_history_connection.moc"
