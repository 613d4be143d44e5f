// The designer in a suite: the canvas fills the label with the first products
// of the suite's list and a thermal test print goes to the user's station as
// ESTACOES has it; without a database it shows its samples and asks for the
// station, and says nothing else.
#include "DesignDocument.h"
#include "DesignerTestFiles.h"
#include "DesignerWindow.h"
#include "HandOverIdle.h"
#include "LabelCanvas.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "ReportModal.h"
#include "ReportTestKit.h"
#include "SampleProducts.h"
#include "TestSuite.h"
#include "ThermalPreviewDialog.h"
#include "ThermalReportFiles.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString FromDatabase = QStringLiteral("Produtos do banco de dados");

void writeIni(const TestSuite &suite, const QString &server)
{
    const QString key = QStringLiteral("IP DO SERVIDOR CENTRAL").leftJustified(47, QLatin1Char('.')) + QLatin1Char(':');
    QVERIFY(writeFile(suite.path(QStringLiteral("BOTICON.INI")), (key + QLatin1Char(' ') + server + QStringLiteral("\r\n")).toLatin1()));
    qputenv("SELVAR_EXE_FOLDER", suite.root().toLocal8Bit());
}

} // namespace

class DesignerSuiteTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DesignerWindow> m_window;
    QStringList m_messages;
    QStringList m_asked; // the dialogs shown besides the thermal preview
    QTemporaryDir m_dir;

    void openWindow(int report)
    {
        const QString path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(path, readFile(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"))));
        m_window = std::make_unique<DesignerWindow>();
        QVERIFY(m_window->openProject(path));
        m_window->ListaRelatorios->setCurrentRow(report);
        m_window->canvas()->setZoom(200);
        m_window->show();
    }

    // "Imprimir teste" on the thermal report, "Imprimir" in its preview.
    void printThermalTest()
    {
        m_window->ListaRelatorios->setCurrentRow(3);
        QVERIFY(m_window->document()->report().thermal);
        ReportModal::setHook([this](QDialog &dialog) {
            if (qobject_cast<ThermalPreviewDialog *>(&dialog))
                return int(ThermalPreviewDialog::PrintRequested);
            m_asked << dialog.objectName();
            return int(QDialog::Rejected);
        });
        m_window->BotImprimirTesteClick();
        QVERIFY(waitUntilIdle(*m_window->handOver(), 30000));
    }

private slots:
    void init()
    {
        m_messages.clear();
        m_asked.clear();
        Messages::setSink([this](const QString &text) { m_messages << text; });
        Messages::setQuestionSink([](const QString &) { return false; });
    }

    void cleanup()
    {
        ReportModal::setHook({});
        m_window.reset();
        qunsetenv("SELVAR_EXE_FOLDER");
        qunsetenv("SELVAR_USER");
    }

    void productsAndStationFromTheDatabase()
    {
        TestSuite suite;
        QVERIFY(suite.createMainDatabase());
        const QString insert = QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) values (?, ?, 1, ?, ?)");
        suite.exec(insert, {QStringLiteral("R3"), QStringLiteral("VITAMINA D3 2000 UI 60 CÁPSULAS"), QStringLiteral("7895550000036"), QStringLiteral("89.90")});
        suite.exec(insert, {QStringLiteral("R1"), QStringLiteral("ÁCIDO HIALURÔNICO SÉRUM 30 ML"), QStringLiteral("7895550000012"), QStringLiteral("12345.67")});
        suite.exec(insert, {QStringLiteral("R2"), QStringLiteral("CREME DE UREIA 10% 120 G"), QStringLiteral("7895550000029"), QStringLiteral("0.10")});
        const QString printer = m_dir.filePath(QStringLiteral("zebra.prn"));
        suite.exec(QStringLiteral("insert into ESTACOES (ESTACAO, DATBASNAM, ROTULO1, USUARIO) values ('07', 'x', ?, 'BALCÃO')"), {printer});
        qputenv("SELVAR_USER", QStringLiteral("balcão").toUtf8());
        QVERIFY(QDir(suite.root()).mkdir(QStringLiteral("Interfac07")));
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/ImprEtiq.bat"), suite.path(QStringLiteral("Interfac07/ImprEtiq.bat"))));
        writeIni(suite, QString());
        suite.disconnect();

        openWindow(0);
        QTRY_COMPARE_WITH_TIMEOUT(m_window->findChild<QLabel *>(QStringLiteral("LabelProdutos"))->text(), FromDatabase, 20000);
        // The list's order (by name), and prices as a print shows them, to the cent.
        const QList<LabelRecord> &records = m_window->canvas()->records();
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[0].value(QStringLiteral("COMPONENTE")).display, QStringLiteral("CREME DE UREIA 10% 120 G"));
        QCOMPARE(records[2].value(QStringLiteral("CODIGO")).display, QStringLiteral("R1"));
        QCOMPARE(records[2].value(QStringLiteral("PRECO1")).display, QStringLiteral("12345,67"));
        QCOMPARE(records[2].value(QStringLiteral("PRECO1")).plain, QStringLiteral("12345.67"));
        // The sheet label on the canvas is the first product's: its barcode reads back.
        QCOMPARE(ReportTestKit::decodeImage(m_window->canvas()->picture().image), QStringLiteral("7895550000029"));
        if (const QString shots = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR"); !shots.isEmpty())
            QVERIFY(m_window->grab().save(QDir(shots).filePath(QStringLiteral("designer-suite-products.png"))));

        // The station's own folder and printer: nothing is asked.
        printThermalTest();
        QCOMPARE(m_asked, QStringList());
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
        QCOMPARE(QDir(m_window->StationFolder).canonicalPath(), QDir(suite.path(QStringLiteral("Interfac07"))).canonicalPath());
        const SheetReport &report = m_window->document()->report();
        QCOMPARE(readFile(printer), thermalCommandFiles(report, records.mid(0, 3), m_window->document()->project().offset + report.offset).first());
        QVERIFY(QFileInfo::exists(suite.path(QStringLiteral("Interfac07/EtiqTeste1.txt"))));
    }

    // A database that is not there, a server that refuses: the samples, a word
    // in the status bar, no message; the station is asked for.
    void samplesWithoutDatabase()
    {
        for (const QString &server : {QString(), QStringLiteral("127.0.0.1/1")}) {
            TestSuite suite;
            writeIni(suite, server);
            openWindow(0);
            QLabel *shown = m_window->findChild<QLabel *>(QStringLiteral("LabelProdutos"));
            QTRY_VERIFY_WITH_TIMEOUT(shown->text().startsWith(QStringLiteral("Produtos de exemplo (")), 20000);
            QCOMPARE(m_window->canvas()->records().first().value(QStringLiteral("COMPONENTE")).display,
                     sampleProducts().first().value(QStringLiteral("COMPONENTE")).display);
            QCOMPARE(m_window->canvas()->records().size(), sampleProducts().size());
            printThermalTest();
            QCOMPARE(m_asked, QStringList{QStringLiteral("EstacaoTeste")});
            QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
            m_asked.clear();
            m_window.reset();
        }
    }
};

QTEST_MAIN(DesignerSuiteTest)
#include "tst_designer_suite.moc"
