// The print flow driven alone: a real embedded database, the worker and the
// counter, and a screen that records what the print asks of the window.
#include "Counter.h"
#include "JobWorker.h"
#include "ListReads.h"
#include "Messages.h"
#include "OutputOptionsDialog.h"
#include "PrintFlow.h"
#include "PrintJob.h"
#include "PrintScreen.h"
#include "ReportModal.h"
#include "RunValues.h"
#include "TDM.h"
#include "TestSuite.h"
#include "ThermalPrintChoice.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {

// The window as the flow sees it: every call noted, in order.
class RecordingScreen : public PrintScreen
{
public:
    QStringList calls;
    QString model;
    QString startLabel;
    QString printLine;
    QList<PrintJob> handedOver;
    bool cancelRequested = false;

    void setPrintControlsEnabled(bool enabled) override { calls << (enabled ? "controls on" : "controls off"); }
    bool jobCancelRequested() const override { return cancelRequested; }
    bool postListEdit() override { return true; }
    void showPrintLine(const QString &text) override
    {
        printLine = text;
        calls << "line " + text;
    }
    QString startLabelText() const override { return startLabel; }
    void setStartLabelText(const QString &text) override { startLabel = text; }
    QString modelDescription() const override { return model; }
    void focusGridQuantity() override {}
    void focusAfterPrint() override { calls << "focus"; }
    void waitingInLine(const QString &text, int) override { calls << "waiting " + text; }
    void waitShowing(const QString &text) override { calls << "showing " + text; }
    void waitEnded() override { calls << "wait ended"; }
    void progressBegin(int steps) override { calls << QStringLiteral("progress %1").arg(steps); }
    void progressAt(const QString &, int) override {}
    void progressEnd() override { calls << "progress end"; }
    void jobWritten(const QString &description) override { calls << "written " + description; }
    QString afterOutput(OutputKind) override
    {
        calls << "after output";
        return QString();
    }
    void handOver(PrintJob job) override
    {
        calls << QStringLiteral("hand over %1").arg(job.files.size());
        handedOver << std::move(job);
    }
};

} // namespace

class PrintFlowAloneTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<Counter> counter;
    std::unique_ptr<JobWorker> worker;
    std::unique_ptr<ListReads> reads;
    std::unique_ptr<RecordingScreen> screen;
    std::unique_ptr<PrintFlow> flow;
    QStringList messages;
    Messages::Sink previousSink;

    QStringList jobNames()
    {
        QStringList names;
        for (const QVariantList &row : suite->rows(QStringLiteral("select COMPONENTE from TABREV2 order by CODIGO")))
            names << row.value(0).toString();
        return names;
    }

    // "Etiquetas com preços" as the window passes it on, waited for to its end.
    void print()
    {
        QSignalSpy ended(flow.get(), &PrintFlow::printEnded);
        flow->print();
        QVERIFY(ended.count() == 1 || ended.wait(30000));
        QCOMPARE(ended.count(), 1);
        QVERIFY(counter->idle());
    }

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        QVERIFY(suite->createMainDatabase());
        // ALFA twice, BRAVO not at all, CHARLIE once; an earlier job waits in TABREV2.
        const QList<QVariantList> list{{"A1", "ALFA DIPIRONA 500MG", "2", "7891106001212", "4.5"},
                                       {"B2", "BRAVO PROTETOR SOLAR", "0", "7897862600218", "59"},
                                       {"C3", "CHARLIE VITAMINA C 1G", "1", "7896004703398", "19.9"}};
        for (const QVariantList &row : list)
            suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) values (?, ?, ?, ?, ?)"), row);
        suite->exec(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, QDE) values ('000001', 'ANTERIOR', 1)"));
        QDir(suite->root()).mkpath(QStringLiteral("Interfac01"));
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/ImprEtiq.bat"), suite->path(QStringLiteral("Interfac01/ImprEtiq.bat"))));
        QDir(suite->root()).mkpath(QStringLiteral("rpt"));
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"), suite->path(QStringLiteral("rpt/Selvar.rav"))));
        RunValues::reset();
        RunValues::ExeFolder = QStringLiteral("C:\\boticon\\");
        RunValues::StationCode = QStringLiteral("01");
        RunValues::LabelPrinterPath = QStringLiteral("/dev/null");

        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
        dm->TabRev1->Open();
        counter = std::make_unique<Counter>();
        worker = std::make_unique<JobWorker>();
        reads = std::make_unique<ListReads>(*dm);
        screen = std::make_unique<RecordingScreen>();
        flow = std::make_unique<PrintFlow>(*dm, *counter, *worker, *reads, *screen, nullptr);
        messages.clear();
        previousSink = Messages::setSink([this](const QString &text) { messages << text; });
    }

    void cleanup()
    {
        Messages::setSink(previousSink);
        ReportModal::setHook({});
        flow.reset();
        worker.reset();
        reads.reset();
        counter.reset();
        screen.reset();
        dm.reset();
        suite.reset();
        RunValues::reset();
    }

    // A sheet model: the job of the rows shown is written, read back and
    // put out through the report project, here to a PDF file.
    void sheetPrintOfAFewRows()
    {
        const QString pdf = suite->path(QStringLiteral("etiquetas.pdf"));
        QStringList dialogs;
        ReportModal::setHook([&](QDialog &d) {
            dialogs << d.windowTitle();
            auto &options = static_cast<OutputOptionsDialog &>(d);
            options.RadioArquivo->click();
            options.EditArquivo->setText(pdf);
            options.findChild<QPushButton *>(QStringLiteral("BotOK"))->click();
            return d.result();
        });
        screen->model = QStringLiteral("A4");
        screen->startLabel = QStringLiteral("2");
        print();

        QCOMPARE(messages, QStringList());
        QCOMPARE(dialogs, QStringList({"Output Options"}));
        QCOMPARE(jobNames(), QStringList({"", "ALFA DIPIRONA 500MG", "ALFA DIPIRONA 500MG", "CHARLIE VITAMINA C 1G"}));
        QVERIFY(QFile(pdf).size() > 0);
        QCOMPARE(screen->calls, QStringList({"controls off", "line ", "progress 3", "progress end", "controls on", "written A4",
                                             "after output", "line PDF gravado em " + pdf, "focus"}));
        QVERIFY(screen->startLabel.isEmpty()); // the stock was used: the next print starts at its first label
        QVERIFY(!dm->TabRev2->Active());
    }

    // A thermal model: the files of the job go to the screen's hand-over.
    void thermalPrintIsHandedOver()
    {
        ReportModal::setHook([](QDialog &) { return int(ThermalPrintChoice::Print); });
        screen->model = QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas");
        print();

        QCOMPARE(messages, QStringList());
        QCOMPARE(screen->handedOver.size(), 1);
        QCOMPARE(jobNames().size(), 3);
        QCOMPARE(screen->calls, QStringList({"controls off", "line ", "progress 3", "progress end", "controls on",
                                             "written Zebra - 3,0 x 1,7 - 3 colunas", "hand over 1", "after output", "focus"}));
    }

    // "Cancelar" while the worker writes: nothing is put out, the earlier
    // job stays, and the controls come back.
    void cancelWhileTheJobIsWritten()
    {
        screen->model = QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas");
        worker->setStepHook([w = worker.get()](int) { w->cancel(); });
        print();

        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(QStringLiteral("cancelad")), qPrintable(messages.first()));
        QCOMPARE(jobNames(), QStringList({"ANTERIOR"}));
        QVERIFY(screen->handedOver.isEmpty());
        QVERIFY(!screen->calls.contains("written Zebra - 3,0 x 1,7 - 3 colunas"));
        QCOMPARE(screen->calls.first(), QStringLiteral("controls off"));
        QCOMPARE(screen->calls.last(), QStringLiteral("controls on"));
    }
};

QTEST_MAIN(PrintFlowAloneTest)
#include "tst_print_flow_alone.moc"
