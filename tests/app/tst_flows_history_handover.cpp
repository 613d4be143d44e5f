// The history and hand-over flows driven alone, without the window: a
// screen that records what it is told, a real embedded database, a real
// batch file.
#include "Counter.h"
#include "Epl2Label.h"
#include "HandOverFlow.h"
#include "HandOverIdle.h"
#include "HandOverScreen.h"
#include "HistoryFlow.h"
#include "HistoryScreen.h"
#include "ListReads.h"
#include "Messages.h"
#include "RunValues.h"
#include "TDM.h"
#include "TestSuite.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <memory>

namespace {

class RecordingScreen : public HistoryScreen, public HandOverScreen
{
public:
    QStringList said; // what the flows showed, in order
    QString line, startLabel, offer;
    qint64 chosenJob = 0;
    bool closed = false;

    void showPrintLine(const QString &text) override { line = text; said << QStringLiteral("linha: ") + text; }
    QString printLine() const override { return line; }
    void focusGridQuantity() override { said << QStringLiteral("foco"); }
    QString startLabelText() const override { return startLabel; }
    void setStartLabelText(const QString &text) override { startLabel = text; }
    void waitShowing(const QString &text) override { said << QStringLiteral("painel: ") + text; }
    void waitEnded() override { said << QStringLiteral("painel fechado"); }
    void holdListOpen(bool hold) override { said << (hold ? QStringLiteral("lista presa") : QStringLiteral("lista solta")); }
    bool postListEdit() override { return true; }
    void updateListTotals() override { said << QStringLiteral("totais"); }
    bool jobRunning() const override { return false; }
    bool mainActionsEnabled() const override { return true; }
    qint64 chooseHistoryJob(HistoryWork &, const QString &) override { return chosenJob; }
    void showSendingLine(const QString &) override {}
    void showStopSending(bool) override {}
    void setStopSending(const QString &, bool) override {}
    void showContinueOffer(const QString &caption) override { offer = caption; }
    void showClosingWait(const QString &text) override { said << QStringLiteral("fechando: ") + text; }
    void closeWindow() override { closed = true; }
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class FlowsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<ListReads> reads;
    RecordingScreen screen;
    Counter counter;
    std::unique_ptr<PrintHandOver> handOver;
    std::unique_ptr<HistoryFlow> history;
    std::unique_ptr<HandOverFlow> flow;
    QString folder, printer;
    QStringList asked, messages;
    bool answer = true;

    void writeBatch(const QByteArray &script)
    {
        QFile batch(QDir(folder).filePath(QStringLiteral("ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.write("#!/bin/sh\n" + script + "\n");
    }

    // Five files of three labels each.
    PrintJob job() const
    {
        PrintJob print{QDir(folder).filePath(QStringLiteral("ImprEtiq.bat")), printer, {}};
        for (int file = 1; file <= 5; ++file) {
            QStringList lines = Epl2::header(file == 1);
            for (int column = 1; column <= 3; ++column)
                lines << Epl2::labelBlock(column, ThermalLabel::fromJobRow(QStringLiteral("P %1").arg(file), QStringLiteral("7891058017392"), Decimal()));
            lines << Epl2::printLine();
            print.files.append({QDir(folder).filePath(QStringLiteral("Etiq%1.txt").arg(file, 3, 10, QLatin1Char('0'))),
                                TextFile::encodeLines(lines), 3});
        }
        return print;
    }

    QStringList quantities()
    {
        QStringList rows;
        for (const QVariantList &row : suite->rows(QStringLiteral("select CODIGO, QDE from TABREV1 order by CODIGO")))
            rows << row[0].toString() + QLatin1Char('|') + (row[1].isNull() ? QString() : QString::number(row[1].toDouble()));
        return rows;
    }

    bool historyDone()
    {
        return QTest::qWaitFor([this] { return !history->work().busy() && reads->idle() && screen.said.contains(QStringLiteral("foco")); }, 60000);
    }

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        QVERIFY(suite->createMainDatabase());
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values ('P1', 'ALFA', 13.9)"));
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values ('P2', 'BRAVO', 35.5)"));
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1, QDE) values ('P3', 'CHARLIE', 4, 1)"));
        suite->exec(QStringLiteral("insert into SELVAR_HISTORICO (ID, DATAHORA, ESTACAO, ETIQUETAS, PRODUTOS) "
                                   "values (1, current_timestamp, '01', 5, 2)"));
        suite->exec(QStringLiteral("insert into SELVAR_HISTORICO_ITEM values (1, 1, 'P1', 'ALFA', '', 12.9, 2)"));
        suite->exec(QStringLiteral("insert into SELVAR_HISTORICO_ITEM values (1, 2, 'P2', 'BRAVO', '', 35.5, 3)"));
        suite->disconnect();
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
        dm->SQLDS_TabRev1->setCommandText(QStringLiteral("select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by CODIGO"));
        dm->TabRev1->Open();
        reads = std::make_unique<ListReads>(*dm);

        RunValues::ExeFolder = suite->root() + QLatin1Char('/');
        RunValues::StationCode = QStringLiteral("01");
        folder = RunValues::WorkFolder();
        QVERIFY(QDir().mkpath(folder));
        printer = suite->path(QStringLiteral("impressora.prn"));
        RunValues::LabelPrinterPath = printer;

        screen = RecordingScreen();
        handOver = std::make_unique<PrintHandOver>();
        history = std::make_unique<HistoryFlow>(screen, counter, *handOver);
        history->attach(dm.get(), reads.get());
        flow = std::make_unique<HandOverFlow>(*handOver, screen, [this](PrintHandOver::HistoryGiven given) {
            history->thermalRecord(std::move(given));
        });
        asked.clear();
        messages.clear();
        Messages::setSink([this](const QString &text) { messages << text; });
        Messages::setQuestionSink([this](const QString &question) {
            asked << question;
            return answer;
        });
    }

    void cleanup()
    {
        Messages::setQuestionSink({});
        Messages::setSink({});
        flow.reset();
        history.reset();
        handOver.reset();
        reads.reset();
        dm.reset();
        suite.reset();
        RunValues::reset();
    }

    // ALFA's price changed since its last 2 labels: they fill its empty
    // quantity; BRAVO's did not; CHARLIE's typed 1 stays. The working panel
    // holds the list open while the worker writes, and the line, totals and
    // focus follow the list read again.
    void changedPricesFillQuantities()
    {
        history->pricesChanged();
        QVERIFY(counter.busy().has(Counter::Activity::History));
        QVERIFY(historyDone());
        QCOMPARE(quantities(), QStringList({"P1|2", "P2|", "P3|1"}));
        QCOMPARE(screen.said, QStringList({QStringLiteral("lista presa"),
                                           QStringLiteral("painel: Comparando os preços da lista com as últimas etiquetas…"),
                                           QStringLiteral("lista solta"), QStringLiteral("painel fechado"),
                                           QStringLiteral("linha: 1 produto com preço diferente da última etiqueta (2 etiquetas); "
                                                          "1 produto nunca impresso"),
                                           QStringLiteral("totais"), QStringLiteral("foco")}));
        QVERIFY(!counter.busy().has(Counter::Activity::History));
    }

    // "Repetir" of job 1 over a list with CHARLIE typed: the clerk refuses to
    // lose it, and nothing is written.
    void repeatAsksBeforeLosingTypedQuantities()
    {
        screen.chosenJob = 1;
        answer = false;
        history->chooseToRepeat();
        QVERIFY(QTest::qWaitFor([this] { return screen.said.contains(QStringLiteral("foco")); }, 60000));
        QCOMPARE(asked, QStringList{QStringLiteral("A lista tem quantidades digitadas em 1 produto que não estão no "
                                                   "trabalho 1; elas serão apagadas. Continuar?")});
        QCOMPARE(quantities(), QStringList({"P1|", "P2|", "P3|1"}));
    }

    // A job whose third file hung past the time limit is offered from there;
    // "Continuar envio", told the file did print, marks it done and sends
    // only the files after it. The job's history follows what went.
    void handOverOfferAndContinue()
    {
        writeBatch("case \"$1\" in *Etiq003.txt) cat \"$1\" >> \"$2\"; while [ ! -f \"$0.nunca\" ]; do sleep 0.05; done;; esac\n"
                   "cat \"$1\" >> \"$2\"");
        RecordingScreen &s = screen;
        s.startLabel = QStringLiteral("2");
        const PrintJob print = job();
        flow->handOver(print);
        QCOMPARE(s.startLabel, QString());
        handOver->setFileTimeLimitSeconds(1);
        QVERIFY(waitUntilIdle(*handOver, 60000));
        QCOMPARE(s.offer, QStringLiteral("Continuar envio (arquivos 3 a 5)"));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(QStringLiteral("Etiq003.txt")), qPrintable(messages[0]));

        writeBatch("cat \"$1\" >> \"$2\"");
        answer = false;
        flow->continueSending();
        QVERIFY(waitUntilIdle(*handOver, 60000));
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0].startsWith(QStringLiteral("O arquivo 3 (")));
        QByteArray all;
        for (const CommandFile &file : print.files)
            all += file.bytes;
        QCOMPARE(readFile(printer), all);
        QCOMPARE(s.offer, QString());
        QCOMPARE(s.line, QStringLiteral("6 etiquetas em 2 arquivos enviadas para a impressora"));
        QVERIFY(handOver->pending(folder).isEmpty());
    }
};

QTEST_MAIN(FlowsTest)
#include "tst_flows_history_handover.moc"
