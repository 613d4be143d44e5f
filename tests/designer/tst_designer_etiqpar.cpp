// The suite's label models in the designer: which report prints each one (the
// counter's own print-time choice), the code a new model takes, two stations
// adding models at the same moment on the server, and a new thermal report
// added as a model from the designer, then chosen in the counter's model box
// and printed through that report.
#include "ClickAndWait.h"
#include "DesignDocument.h"
#include "DesignerInput.h"
#include "DesignerTestFiles.h"
#include "DesignerWindow.h"
#include "EtiqparModels.h"
#include "EtiqparPanel.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "Messages.h"
#include "NewReports.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "SelvarError.h"
#include "SqlConnection.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "TestSuite.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

const QString SampleFile = QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav");

ReportProject sampleProject()
{
    return parseReportProject(decodeProjectText(readFile(SampleFile)), SampleFile);
}

QList<EtiqparModel> codes(const QStringList &taken)
{
    QList<EtiqparModel> models;
    for (const QString &code : taken)
        models.append({code, QStringLiteral("Modelo ") + code});
    return models;
}

} // namespace

class DesignerEtiqparTest : public QObject
{
    Q_OBJECT

    QString m_faults; // what the stations of addBoth met

    // Two stations, each on an attachment of its own, add a model at the same moment.
    std::pair<Etiqpar::Added, Etiqpar::Added> addBoth(const QString &database, const QString &first, const QString &second)
    {
        QSemaphore ready, go;
        Etiqpar::Added results[2];
        QString faults[2];
        const QString descriptions[2] = {first, second};
        QList<QThread *> threads;
        for (int i = 0; i < 2; ++i) {
            threads << QThread::create([&, i] {
                SqlConnection connection(QStringLiteral("SQLConnection1"), QStringLiteral("Estacao%1").arg(i));
                connection.setDataBase(database);
                try {
                    const SqlConnection::Use held(connection);
                    ready.release();
                    go.acquire();
                    results[i] = Etiqpar::add(connection, NewModel{descriptions[i], 1, 30, 50});
                } catch (const SelvarError &error) {
                    faults[i] = error.message();
                    ready.release();
                }
            });
            threads.last()->start();
        }
        ready.acquire(2);
        go.release(2);
        for (QThread *thread : threads) {
            thread->wait();
            delete thread;
        }
        m_faults = faults[0] + faults[1];
        return {results[0], results[1]};
    }

private slots:
    // Rows: the description, then what the counter prints it with, by the
    // sample project (Zebra's three-across roll keeps the program's own layout).
    void whoPrintsEachModel_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        using K = ModelPrinter::Kind;
        QTest::newRow("A4 sheet") << "A4 - Folha com 6 x 20 etiquetas" << int(K::SheetReport) << "A4 6x20";
        QTest::newRow("Carta sheet") << "Carta - Folha 4 x 20" << int(K::SheetReport) << "Carta 4x20";
        QTest::newRow("A5 sheet") << "A5 - 3 x 8" << int(K::SheetReport) << "A5 3x8";
        QTest::newRow("fixed roll") << "Zebra - 3,0 x 1,7 - 3 colunas" << int(K::FixedThermal)
                                    << "nenhum (etiqueta térmica própria do Selvar)";
        QTest::newRow("thermal report") << "Zebra ZPL - 3,0 x 1,7 - 3 colunas" << int(K::ThermalReport) << "Zebra ZPL 30x17";
        QTest::newRow("letter case counts") << "a4 folha" << int(K::Nothing) << "nenhum";
        QTest::newRow("nobody's") << "Argentina 2x5" << int(K::Nothing) << "nenhum";
    }

    void whoPrintsEachModel()
    {
        QFETCH(QString, description);
        QFETCH(int, kind);
        QFETCH(QString, text);
        const ModelPrinter printer = modelPrinter(sampleProject(), description);
        QCOMPARE(int(printer.kind), kind);
        QCOMPARE(modelPrinterText(printer), text);
    }

    // A project without reports (a new one) prints no sheet model, and says so
    // instead of reaching for an active report it does not have.
    void emptyProjectPrintsNothing()
    {
        ReportProject empty;
        QCOMPARE(int(modelPrinter(empty, QStringLiteral("A4 - Folha")).kind), int(ModelPrinter::Kind::Nothing));
        ReportProject withoutActive = sampleProject();
        withoutActive.activeReport = QStringLiteral("(nenhum)");
        QCOMPARE(modelPrinter(withoutActive, QStringLiteral("A4 6x20 Pimaco")).report, QStringLiteral("A4 6x20"));
        QCOMPARE(int(modelPrinter(withoutActive, QStringLiteral("A4 outra")).kind), int(ModelPrinter::Kind::SheetReport));
        withoutActive.reports[0].modelPrefixes.clear();
        QCOMPARE(int(modelPrinter(withoutActive, QStringLiteral("A4 outra")).kind), int(ModelPrinter::Kind::Nothing));
    }

    void nextFreeCode_data()
    {
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("next");
        QTest::newRow("empty table") << QStringList() << "01";
        QTest::newRow("after the highest") << QStringList{"01", "02", "07"} << "08";
        QTest::newRow("99 taken: the lowest gap") << QStringList{"01", "02", "99"} << "03";
        QStringList all;
        for (int i = 1; i <= 99; ++i)
            all << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        QTest::newRow("all taken") << all << QString();
        QTest::newRow("codes that are not two digits are not counted") << QStringList{"A1", "5", "03"} << "04";
    }

    void nextFreeCode()
    {
        QFETCH(QStringList, taken);
        QFETCH(QString, next);
        QCOMPARE(Etiqpar::nextFreeCode(codes(taken)), next);
    }

    // A thermal report whose model begins "A4" would never print it (sheets
    // take "A4"), nor the fixed roll's model: said, nothing asked, nothing
    // written; a database that cannot be read is said above the list.
    void modelTheReportWouldNotPrintIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(path, readFile(SampleFile)));
        QStringList messages, questions;
        Messages::setSink([&](const QString &text) { messages << text; });
        Messages::setQuestionSink([&](const QString &text) {
            questions << text;
            return true;
        });
        DesignerWindow window;
        QVERIFY(window.openProject(path));
        window.show();
        EtiqparPanel *panel = window.PainelModelosBanco;
        QSignalSpy shown(panel, &EtiqparPanel::modelsShown);
        QTRY_VERIFY_WITH_TIMEOUT(!window.findChild<QLabel *>(QStringLiteral("LabelProdutos"))->text().endsWith(QStringLiteral("exemplo")), 20000);
        panel->setDatabase(dir.filePath(QStringLiteral("nao-existe.fdb")));
        QVERIFY(shown.wait(20000));
        QVERIFY2(panel->findChild<QLabel *>(QStringLiteral("LabelModelosBanco"))->text().startsWith(QStringLiteral("Sem os modelos do banco: ")),
                 qPrintable(panel->findChild<QLabel *>(QStringLiteral("LabelModelosBanco"))->text()));
        QCOMPARE(panel->ListaModelosBanco->count(), 0);

        SheetReport roll = newThermalReport(QStringLiteral("Rolo A4"), RollStock{PrinterLanguage::Zpl, 203, 1, 0, QSizeF(50, 30)});
        roll.modelPrefixes = {QStringLiteral("A4 térmica"), QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas")};
        window.document()->startNewReport(roll);
        messages.clear();
        const int steps = window.document()->undoStack()->count();
        QTest::mouseClick(panel->BotCadastrarModelo, Qt::LeftButton);
        QCOMPARE(questions, QStringList());
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(QStringLiteral("Nenhum modelo deste relatório seria impresso por \"Rolo A4\": "
                                                            "um modelo \"A4 térmica\" é impresso por: A4 6x20.")),
                 qPrintable(messages.first()));
        QCOMPARE(window.document()->undoStack()->count(), steps);
        Messages::setSink({});
        Messages::setQuestionSink({});
    }

    // Two stations at the same moment on the server: different models get
    // different codes; the same model goes in once, both told its one code.
    void twoStationsAddAtOnce()
    {
        SELVAR_REQUIRE_SERVER();
        const QString database = TestSuite::createServerDatabase(QStringLiteral("etiqpar-two"));
        QVERIFY(!database.isEmpty());
        const auto [a, b] = addBoth(database, QStringLiteral("Rolo 50x30"), QStringLiteral("Rolo 40x25"));
        QCOMPARE(m_faults, QString());
        QVERIFY(!a.existed && !b.existed);
        QStringList both{a.model.code, b.model.code};
        both.sort();
        QCOMPARE(both, (QStringList{QStringLiteral("01"), QStringLiteral("02")}));

        const auto [c, d] = addBoth(database, QStringLiteral("Rolo 30x17 3 colunas"), QStringLiteral("Rolo 30x17 3 colunas"));
        QCOMPARE(m_faults, QString());
        QCOMPARE(int(c.existed) + int(d.existed), 1);
        QCOMPARE(c.model.code, d.model.code);
        SqlConnection check(QStringLiteral("SQLConnection1"), QStringLiteral("Conferencia"));
        check.setDataBase(database);
        const QList<EtiqparModel> stored = Etiqpar::read(check);
        QCOMPARE(stored.size(), 3);
        QCOMPARE(stored.last().code, c.model.code);
        QCOMPARE(stored.last().description, QStringLiteral("Rolo 30x17 3 colunas"));
    }

    // The designer lists the suite's models with what prints each; a new
    // 50 x 30 mm ZPL roll report is added as a model (asked first, next free
    // code), saved, and the counter's clerk chooses it in the model box and
    // prints two labels: two ZPL files for that roll go to the printer.
    void newReportModelPrintsAtTheCounter()
    {
        SELVAR_REQUIRE_SERVER();
        ListWindow counter;
        QVERIFY(counter.start());
        const QString database = TestSuite::createServerDatabase(QStringLiteral("etiqpar-counter"));
        QVERIFY(!database.isEmpty());
        SqlConnection *server = counter.dm()->SQLConnection1;
        server->setDataBase(database);
        server->ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('01', 'A4 - Folha com 6 x 20 etiquetas')"));
        server->ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('04', 'Zebra - 3,0 x 1,7 - 3 colunas')"));
        server->ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('01')"));
        server->ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) "
                                             "values ('P1', 'ALCOOL GEL 70% 500ML', 2, '7896004703397', 12.9)"));
        const QString projectPath = counter.app.suite.path(QStringLiteral("rpt/Selvar.rav"));
        QVERIFY(QDir(counter.app.suite.root()).mkpath(QStringLiteral("rpt")));
        QVERIFY(writeFile(projectPath, readFile(SampleFile)));
        const QString workFolder = counter.app.suite.path(QStringLiteral("Interfac01"));
        QVERIFY(QDir().mkpath(workFolder));
        QVERIFY(writeFile(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")), QByteArray()));
        int starts = 0;
        const ProcessStarter::Starter previous = ProcessStarter::setStarter([&](const QString &, const QStringList &) {
            ++starts;
            return true;
        });

        // The designer, on the same project; the suite's database as it would find it.
        auto designer = std::make_unique<DesignerWindow>();
        QVERIFY(designer->openProject(projectPath));
        designer->show();
        QVERIFY(QTest::qWaitForWindowExposed(designer.get()));
        EtiqparPanel *panel = designer->PainelModelosBanco;
        QSignalSpy shown(panel, &EtiqparPanel::modelsShown);
        QTRY_VERIFY_WITH_TIMEOUT(!designer->findChild<QLabel *>(QStringLiteral("LabelProdutos"))->text().endsWith(QStringLiteral("exemplo")), 20000);
        panel->setDatabase(database);
        QVERIFY(shown.wait(20000));
        QCOMPARE(itemsOf(panel->ListaModelosBanco),
                 (QStringList{QStringLiteral("01 A4 - Folha com 6 x 20 etiquetas → A4 6x20"),
                              QStringLiteral("04 Zebra - 3,0 x 1,7 - 3 colunas → nenhum (etiqueta térmica própria do Selvar)")}));

        designer->document()->startNewReport(
            newThermalReport(QStringLiteral("Rolo 50x30"), RollStock{PrinterLanguage::Zpl, 203, 1, 0, QSizeF(50, 30)}));
        counter.app.questions.clear();
        counter.app.messages.clear();
        QTest::mouseClick(panel->BotCadastrarModelo, Qt::LeftButton);
        QCOMPARE(counter.app.questions.size(), 1);
        QVERIFY2(counter.app.questions.first().startsWith(QStringLiteral("Cadastrar em ETIQPAR o modelo \"Rolo 50x30\"")),
                 qPrintable(counter.app.questions.first()));
        QVERIFY(shown.wait(20000));
        QCOMPARE(counter.app.messages,
                 QStringList{QStringLiteral("Modelo 05 \"Rolo 50x30\" cadastrado em ETIQPAR. No Selvar, escolha-o na caixa de modelos.")});
        QCOMPARE(designer->document()->report().modelPrefixes, QStringList{QStringLiteral("Rolo 50x30")});
        QCOMPARE(itemsOf(panel->ListaModelosBanco).last(), QStringLiteral("05 Rolo 50x30 → Rolo 50x30"));
        QVERIFY(designer->BotSalvarClick());
        // Asked again, it is there already: nothing added twice.
        counter.app.messages.clear();
        QTest::mouseClick(panel->BotCadastrarModelo, Qt::LeftButton);
        QCOMPARE(counter.app.messages, QStringList{QStringLiteral("O modelo \"Rolo 50x30\" já está em ETIQPAR, com o código 05.")});
        designer.reset();

        counter.app.messages.clear();
        counter.clickReopen();
        counter.chooseModel(QStringLiteral("Rolo 50x30"));
        QCOMPARE(counter.form()->DBLCB1->currentText(), QStringLiteral("Rolo 50x30"));
        QVERIFY(clickAndWait(counter.form()->btnEtiqSemPreco, counter.form(), &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*counter.form()->printHandOver, 30000));
        ProcessStarter::setStarter(previous);
        QCOMPARE(counter.app.messages, QStringList());
        QCOMPARE(starts, 2);
        QDir work(workFolder);
        QCOMPARE(work.entryList({QStringLiteral("Etiq0*")}, QDir::Files), (QStringList{QStringLiteral("Etiq001.txt"), QStringLiteral("Etiq002.txt")}));
        const QByteArray zpl = readFile(work.filePath(QStringLiteral("Etiq001.txt")));
        // 50 x 30 mm at 8 dots a millimetre, and the product's EAN-13.
        QVERIFY2(zpl.startsWith("^XA\r\n^CI28\r\n^PW400\r\n^LL240\r\n"), zpl.constData());
        QVERIFY(zpl.contains("^BEN,") && zpl.contains("789600470339"));
    }
};

QTEST_MAIN(DesignerEtiqparTest)
#include "tst_designer_etiqpar.moc"
