// A thermal print through the window, offscreen: the choice between
// Visualizar (the default) and Imprimir, the preview of the very bytes that
// go out (rows, stock outlines, what falls outside), and the print from the
// preview handing the files over; the same for a model served by the
// sample project's ZPL report.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "ReportModal.h"
#include "TFormSelvarra.h"
#include "ThermalPreviewDialog.h"
#include "ThermalPrintChoice.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

class ThermalPreviewFlowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ListWindow> window;
    QString workFolder;
    int starts = 0;
    ProcessStarter::Starter previousStarter;
    QStringList dialogs;                       // objectName of every modal shown
    QHash<QString, QString> answers;           // dialog -> button to click
    QStringList findings;                      // what the preview listed
    QList<int> viewWidths;                     // preview width at 100 % and 200 %

    TFormSelvarra *form() { return window->form(); }

    QStringList commandFiles() { return QDir(workFolder).entryList({QStringLiteral("Etiq*")}, QDir::Files); }

    QByteArray commandFile(const QString &name)
    {
        QFile file(QDir(workFolder).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void print(const QString &etiqInicial)
    {
        form()->EditEtiqInic->setText(etiqInicial);
        QVERIFY(clickAndWait(form()->btnEtiqSemPreco, form(), &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*form()->printHandOver, 30000));
    }

    void chooseModel(const QString &beginning) { window->chooseModel(beginning); }

private slots:
    void init()
    {
        window = std::make_unique<ListWindow>();
        QVERIFY(window->start());
        window->app.suite.exec(
            QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('05', 'Zebra ZPL - 3,0 x 1,7 - 3 colunas')"));
        QVERIFY(QDir(window->app.suite.root()).mkpath(QStringLiteral("Interfac01")));
        workFolder = window->app.suite.path(QStringLiteral("Interfac01"));
        QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        starts = 0;
        previousStarter = ProcessStarter::setStarter([this](const QString &, const QStringList &) {
            ++starts;
            return true;
        });
        dialogs.clear();
        findings.clear();
        viewWidths.clear();
        answers.clear();
        ReportModal::setHook([this](QDialog &d) -> int {
            dialogs << d.objectName();
            d.show();
            if (auto *choice = qobject_cast<ThermalPrintChoice *>(&d)) {
                if (!choice->BotVisualizar->isDefault())
                    dialogs << QStringLiteral("Visualizar is not the default");
            }
            if (auto *preview = qobject_cast<ThermalPreviewDialog *>(&d)) {
                findings = preview->findings();
                viewWidths << preview->Vista->width();
                preview->ComboZoom->setCurrentIndex(preview->ComboZoom->findData(200));
                viewWidths << preview->Vista->width();
            }
            QTest::mouseClick(d.findChild<QPushButton *>(answers.value(d.objectName())), Qt::LeftButton);
            return d.result();
        });
        window->addProduct(QStringLiteral("P1"), QStringLiteral("ALCOOL GEL 70% 500ML"), QStringLiteral("7896004703397"),
                           QStringLiteral("12.9"));
        window->addProduct(QStringLiteral("P2"), QStringLiteral("CEWIN 500MG 30 COMPRIMIDOS EFERVESCENTES"),
                           QStringLiteral("7891058017392"), QStringLiteral("35.5"));
        window->clickBuild();
        window->typeInCell(0, 0, QStringLiteral("2"));
        window->typeInCell(1, 0, QStringLiteral("1"));
    }

    void cleanup()
    {
        ReportModal::setHook({});
        ProcessStarter::setStarter(previousStarter);
        window.reset();
    }

    // Visualizar on the fixed model: every row imaged, the overhangs of the
    // fixed layout on its "3,0 x 1,7" stock listed, and Imprimir sends the files.
    void previewThenPrintTheFixedLayout()
    {
        chooseModel(QStringLiteral("Zebra - 3,0"));
        answers = {{QStringLiteral("ThermalPrintChoice"), QStringLiteral("BotVisualizar")},
                   {QStringLiteral("ThermalPreview"), QStringLiteral("BotImprimir")}};
        print(QStringLiteral("3"));
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(dialogs, QStringList({QStringLiteral("ThermalPrintChoice"), QStringLiteral("ThermalPreview")}));
        // Two skipped positions and three labels: two files. A skipped label's
        // empty Code 128 stays on the label, without room for its quiet zone.
        QStringList expected;
        for (int column = 1; column <= 2; ++column)
            expected << QStringLiteral("Etiq001.txt: Código de barras sem a zona de silêncio: faltam 2,5 mm na coluna %1").arg(column)
                     << QStringLiteral("Etiq001.txt: Texto 0,9 mm além da etiqueta na coluna %1").arg(column);
        expected << QStringLiteral("Etiq001.txt: Código de barras 0,8 mm além da etiqueta na coluna 3")
                 << QStringLiteral("Etiq001.txt: Texto 0,9 mm além da etiqueta na coluna 3");
        for (int column = 1; column <= 2; ++column)
            expected << QStringLiteral("Etiq002.txt: Código de barras 0,8 mm além da etiqueta na coluna %1").arg(column)
                     << QStringLiteral("Etiq002.txt: Texto 0,9 mm além da etiqueta na coluna %1").arg(column);
        QCOMPARE(findings.join(QLatin1Char('\n')), expected.join(QLatin1Char('\n')));
        QCOMPARE(viewWidths.size(), 2);
        QVERIFY(qAbs(viewWidths[1] - 2 * viewWidths[0]) <= 20);
        QCOMPARE(commandFiles(), QStringList({QStringLiteral("Etiq001.txt"), QStringLiteral("Etiq002.txt")}));
        QCOMPARE(starts, 2);
        QVERIFY(commandFile(QStringLiteral("Etiq002.txt")).contains("B285,42,0,1,2,6,40,B,\"7891058017392\""));
    }

    void closingThePreviewOrCancellingPrintsNothing_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("Fechar") << "BotVisualizar" << QStringList{QStringLiteral("ThermalPrintChoice"), QStringLiteral("ThermalPreview")};
        QTest::newRow("Cancelar") << "BotCancelar" << QStringList{QStringLiteral("ThermalPrintChoice")};
    }

    void closingThePreviewOrCancellingPrintsNothing()
    {
        QFETCH(QString, choice);
        QFETCH(QStringList, shown);
        chooseModel(QStringLiteral("Zebra - 3,0"));
        answers = {{QStringLiteral("ThermalPrintChoice"), choice}, {QStringLiteral("ThermalPreview"), QStringLiteral("BotFechar")}};
        print(QString());
        QCOMPARE(dialogs, shown);
        QCOMPARE(commandFiles(), QStringList());
        QCOMPARE(starts, 0);
        QCOMPARE(window->app.messages, QStringList());
    }

    // A thermal report listing "Zebra" does not take the fixed model's place:
    // "Zebra - 3,0 x 1,7 - 3 colunas" still prints the fixed EPL2 bytes.
    void fixedRuleKeepsPrecedence()
    {
        QDir(window->app.suite.root()).mkpath(QStringLiteral("rpt"));
        QFile sample(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QFile project(window->app.suite.path(QStringLiteral("rpt/Selvar.rav")));
        QVERIFY(project.open(QIODevice::WriteOnly));
        project.write(sample.readAll().replace("modelos \"Zebra ZPL\"", "modelos \"Zebra\""));
        project.close();
        chooseModel(QStringLiteral("Zebra - 3,0"));
        answers = {{QStringLiteral("ThermalPrintChoice"), QStringLiteral("BotImprimir")}};
        print(QString());
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(commandFiles(), QStringList{QStringLiteral("Etiq001.txt")});
        QVERIFY(commandFile(QStringLiteral("Etiq001.txt")).startsWith("R0,0\r\nq999\r\n"));
    }

    // A project with a fault cannot say which models it serves: the job is
    // written all the same, and the fault is told by file and line.
    void faultyProjectIsToldAfterTheJob()
    {
        QDir(window->app.suite.root()).mkpath(QStringLiteral("rpt"));
        QFile project(window->app.suite.path(QStringLiteral("rpt/Selvar.rav")));
        QVERIFY(project.open(QIODevice::WriteOnly));
        project.write("ativo \"T\"\nrelatorio \"T\"\n  termica linguagem=PCL\nfim\n");
        project.close();
        chooseModel(QStringLiteral("Zebra ZPL"));
        print(QString());
        QCOMPARE(window->app.messages.size(), 1);
        QVERIFY2(window->app.messages.first().contains(QStringLiteral("linha 3 (termica): 'PCL' não serve para 'linguagem'")),
                 qPrintable(window->app.messages.first()));
        QCOMPARE(window->app.suite.scalar(QStringLiteral("select count(*) from TABREV2")).toInt(), 3);
        QCOMPARE(dialogs, QStringList());
        QCOMPARE(commandFiles(), QStringList());
    }

    // A model the sample project's ZPL report serves: a wrong EAN check digit
    // is asked about as for any model, its files are ZPL, nothing falls outside
    // the 30 x 17 mm labels, and they go out the same way.
    void modelOfAThermalReport()
    {
        QDir(window->app.suite.root()).mkpath(QStringLiteral("rpt"));
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"), window->app.suite.path(QStringLiteral("rpt/Selvar.rav"))));
        chooseModel(QStringLiteral("Zebra ZPL"));
        // The printer computes the check digit itself: a wrong stored one is asked about first.
        window->typeInCell(1, 2, QStringLiteral("7891058017393"));
        window->app.questions.clear();
        answers = {{QStringLiteral("ThermalPrintChoice"), QStringLiteral("BotVisualizar")},
                   {QStringLiteral("ThermalPreview"), QStringLiteral("BotImprimir")}};
        print(QString());
        QCOMPARE(window->app.questions.size(), 1);
        QVERIFY2(window->app.questions.first().contains(QStringLiteral("CEWIN 500MG 30 COMPRIMIDOS EFERVESCENTES (7891058017393")),
                 qPrintable(window->app.questions.first()));
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(findings, QStringList{QStringLiteral("Tudo dentro das etiquetas.")});
        QCOMPARE(commandFiles(), QStringList{QStringLiteral("Etiq001.txt")});
        QCOMPARE(starts, 1);
        const QByteArray zpl = commandFile(QStringLiteral("Etiq001.txt"));
        QVERIFY(zpl.startsWith("^XA\r\n^CI28\r\n^PW768\r\n^LL136\r\n"));
        QVERIFY(zpl.contains("^BEN,"));
        QVERIFY(zpl.endsWith("^XZ\r\n"));
    }
};

QTEST_MAIN(ThermalPreviewFlowTest)
#include "tst_thermal_preview_flow.moc"
