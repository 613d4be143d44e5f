// "Etiquetas com preços" through the real window, offscreen, on an embedded
// database: the list built and filled in the grid, the job in TABREV2, the
// thermal command files and the batch starts, for the thermal model, a sheet
// model, a model that prints nothing, and a first label that is not a number.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "ReportModal.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "TPieGauge.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

namespace {

// Calls `shown` each time the widget is shown.
class ShowWatch : public QObject
{
public:
    ShowWatch(QWidget *widget, std::function<void()> shown) : m_shown(std::move(shown)) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            m_shown();
        return false;
    }

private:
    std::function<void()> m_shown;
};

// Header of a job's first file (with "f100") and of every later file.
const QByteArray kFirstHeader = "R0,0\r\nq999\r\nI8,3,001\r\nQ100,024\r\nrN\r\nS3\r\nD7\r\nZT\r\nJF\r\nO\r\nf100\r\nN\r\n";
const QByteArray kLaterHeader = "R0,0\r\nq999\r\nI8,3,001\r\nQ100,024\r\nrN\r\nS3\r\nD7\r\nZT\r\nJF\r\nO\r\nN\r\n";

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class PrintFlowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ListWindow> window;
    QString workFolder;
    QList<QStringList> starts; // batch file, command file, printer path
    ProcessStarter::Starter previousStarter;

    TFormSelvarra *form() { return window->form(); }

    QStringList job()
    {
        QStringList rows;
        for (const QVariantList &row : window->app.suite.rows(
                 QStringLiteral("select CODIGO, COMPONENTE, cast(QDE as varchar(20)), CODIGOEAN, "
                                "cast(PRECO1 as varchar(20)) from TABREV2 order by CODIGO"))) {
            QStringList texts;
            for (const QVariant &value : row)
                texts << (value.isNull() ? QString() : value.toString());
            rows << texts.join(QLatin1Char('|'));
        }
        return rows;
    }

    QByteArray commandFile(const QString &name)
    {
        QFile file(QDir(workFolder).filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList commandFiles() { return QDir(workFolder).entryList({QStringLiteral("Etiq*")}, QDir::Files); }

    // The click, then the hand-over it queued, to its end.
    void print(const QString &etiqInicial)
    {
        form()->EditEtiqInic->setText(etiqInicial);
        QVERIFY(clickAndWait(form()->btnEtiqSemPreco, form(), &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*form()->printHandOver, 30000));
    }

    QString batchFile() const { return QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")); }

    // The three products with quantities 2, 0 and 1 typed in the grid.
    void buildAndFillList()
    {
        window->addProduct(QStringLiteral("P1"), QStringLiteral("ALCOOL GEL 70% 500ML"), QStringLiteral("7896004703397"),
                           QStringLiteral("12.9"));
        window->addProduct(QStringLiteral("P2"), QStringLiteral("BEPANTOL DERMA CREME 40G"), QStringLiteral("7891106001212"),
                           QStringLiteral("35.5"));
        window->addProduct(QStringLiteral("P3"), QStringLiteral("CEWIN 500MG 30 COMPRIMIDOS EFERVESCENTES"),
                           QStringLiteral("7891058017392"), QVariant(QMetaType::fromType<QString>()));
        window->clickBuild();
        window->typeInCell(0, 0, QStringLiteral("2"));
        window->typeInCell(1, 0, QStringLiteral("0"));
        window->typeInCell(2, 0, QStringLiteral("1")); // still being edited when the print starts
    }

private slots:
    void init()
    {
        window = std::make_unique<ListWindow>();
        // A model that no output knows, next to the list fixture's A4, Zebra (current) and Carta.
        QVERIFY(window->start());
        window->app.suite.exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('04', 'Gôndola - 2 colunas')"));
        QVERIFY(QDir(window->app.suite.root()).mkpath(QStringLiteral("Interfac01")));
        workFolder = window->app.suite.path(QStringLiteral("Interfac01"));
        QFile batch(batchFile());
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.close();
        starts.clear();
        previousStarter = ProcessStarter::setStarter([this](const QString &batch, const QStringList &arguments) {
            starts << (QStringList{batch} + arguments);
            return true;
        });
        // A thermal job asks Visualizar or Imprimir first: these tests print.
        ReportModal::setHook([](QDialog &dialog) {
            dialog.done(2);
            return dialog.result();
        });
        buildAndFillList();
        QCOMPARE(form()->DBLCB1->currentText(), QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"));
    }

    void cleanup()
    {
        ReportModal::setHook({});
        ProcessStarter::setStarter(previousStarter);
        window.reset();
    }

    // First label 4 on the Zebra model: three skipped positions and three
    // labels, two files of three labels across, each handed to the batch file.
    void thermalModelPrintsTheJob()
    {
        print(QStringLiteral("4"));
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(job(), QStringList({QStringLiteral("-000001||||"), QStringLiteral("-000002||||"),
                                     QStringLiteral("-000003||||"),
                                     QStringLiteral("000001|ALCOOL GEL 70% 500ML||7896004703397|12.90"),
                                     QStringLiteral("000002|ALCOOL GEL 70% 500ML||7896004703397|12.90"),
                                     QStringLiteral("000003|CEWIN 500MG 30 COMPRIMIDOS EFERVESCENTES||7891058017392|0.00")}));

        const QByteArray blank = "A%1,0,0,2,1,1,N,\"\"\r\nA%1,20,0,2,1,1,N,\"\"\r\nB%1,42,0,1,2,6,40,B,\"\"\r\n"
                                 "A%1,119,0,4,1,1,N,\"R$ 0,00\"\r\n";
        QCOMPARE(commandFile(QStringLiteral("Etiq001.txt")),
                 kFirstHeader + QByteArray(blank).replace("%1", "0") + QByteArray(blank).replace("%1", "285")
                     + QByteArray(blank).replace("%1", "570") + "P1\r\n");
        QCOMPARE(commandFile(QStringLiteral("Etiq002.txt")),
                 kLaterHeader
                     + "A0,0,0,2,1,1,N,\"ALCOOL GEL 70% 500ML\"\r\n"
                       "A0,20,0,2,1,1,N,\"\"\r\n"
                       "B0,42,0,1,2,6,40,B,\"7896004703397\"\r\n"
                       "A0,119,0,4,1,1,N,\"R$ 12,90\"\r\n"
                       "A285,0,0,2,1,1,N,\"ALCOOL GEL 70% 500ML\"\r\n"
                       "A285,20,0,2,1,1,N,\"\"\r\n"
                       "B285,42,0,1,2,6,40,B,\"7896004703397\"\r\n"
                       "A285,119,0,4,1,1,N,\"R$ 12,90\"\r\n"
                       "A570,0,0,2,1,1,N,\"CEWIN 500MG 30 COMPR\"\r\n"
                       "A570,20,0,2,1,1,N,\"IMIDOS EFERVESCENTES\"\r\n"
                       "B570,42,0,1,2,6,40,B,\"7891058017392\"\r\n"
                       "A570,119,0,4,1,1,N,\"R$ 0,00\"\r\n"
                       "P1\r\n");
        QCOMPARE(commandFiles(), QStringList({QStringLiteral("Etiq001.txt"), QStringLiteral("Etiq002.txt")}));
        const QString batch = QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat"));
        QCOMPARE(starts, QList<QStringList>({{batch, QDir(workFolder).filePath(QStringLiteral("Etiq001.txt")),
                                              QStringLiteral("/dev/null")},
                                             {batch, QDir(workFolder).filePath(QStringLiteral("Etiq002.txt")),
                                              QStringLiteral("/dev/null")}}));

        // The closing steps: panel gone, box cleared, list untouched, model kept, job table closed.
        QVERIFY(form()->Painel1->isHidden());
        QCOMPARE(form()->Pizza->maximum(), 3);
        QCOMPARE(form()->Pizza->value(), 3);
        QCOMPARE(form()->EditEtiqInic->text(), QString());
        QCOMPARE(window->storedList(),
                 QStringList({QStringLiteral("P1|ALCOOL GEL 70% 500ML|2|7896004703397|12.9"),
                              QStringLiteral("P2|BEPANTOL DERMA CREME 40G|0|7891106001212|35.5"),
                              QStringLiteral("P3|CEWIN 500MG 30 COMPRIMIDOS EFERVESCENTES|1|7891058017392|")}));
        // The focus goes back to the quantities, not to the model box.
        QVERIFY(form()->DBGrid1->hasFocus());
        QCOMPARE(form()->DBLCB1->currentText(), QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"));
        QCOMPARE(window->dm()->EtiqPar->FieldByName(QStringLiteral("MODELO")).AsString(), QStringLiteral("02"));
        QVERIFY(!window->dm()->TabRev2->Active());
    }

    // ALCOOL GEL's stored EAN has a wrong check digit: the sheet would print
    // another number. Before the job is written the user is asked, on the
    // thermal model and on a sheet model; "Não" leaves everything as it was.
    void eanThatWouldPrintWrongIsAskedAbout()
    {
        const QString question = QStringLiteral(
            "Estes produtos têm um código EAN que não será impresso como está gravado:\r\r"
            "ALCOOL GEL 70% 500ML (7896004703397: dígito verificador errado: o último dígito deveria ser 8)\r\r"
            "Imprimir assim mesmo?");
        window->app.answerYes = false;
        print(QStringLiteral("4"));
        QCOMPARE(window->app.questions, QStringList{question});
        QCOMPARE(job(), QStringList());
        QCOMPARE(commandFiles(), QStringList());
        QVERIFY(starts.isEmpty());
        QCOMPARE(form()->EditEtiqInic->text(), QStringLiteral("4"));

        window->chooseModel(QStringLiteral("A4 - Pimaco 6180 (3 x 10)"));
        print(QString());
        QCOMPARE(window->app.questions, (QStringList{question, question}));
        QCOMPARE(window->app.messages, QStringList()); // the report project never ran
        QCOMPARE(job(), QStringList());

        // "Sim" prints as always, with the stored digits.
        window->app.answerYes = true;
        window->chooseModel(QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"));
        print(QString());
        QCOMPARE(window->app.questions.size(), 3);
        QCOMPARE(starts.size(), 1);
        QVERIFY(commandFile(QStringLiteral("Etiq001.txt")).contains("B0,42,0,1,2,6,40,B,\"7896004703397\""));

        // A model that prints nothing asks nothing.
        window->chooseModel(QStringLiteral("Gôndola - 2 colunas"));
        print(QString());
        QCOMPARE(window->app.questions.size(), 3);
    }

    // ETIQCORR without a row: no model is current, so a print writes the job
    // and sends it nowhere; a model chosen in the box then prints, as chosen.
    void modelChosenWhenEtiqCorrHasNoRow()
    {
        window->app.suite.exec(QStringLiteral("delete from ETIQCORR"));
        QVERIFY(window->app.start());
        form()->show();
        window->clickReopen();
        QCOMPARE(form()->DBLCB1->currentIndex(), -1);
        print(QString());
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(job().size(), 3); // CEWIN's quantity, still being edited, was stored when the old window closed
        QCOMPARE(commandFiles(), QStringList());
        QVERIFY(starts.isEmpty());

        window->chooseModel(QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"));
        print(QString());
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(commandFiles(), QStringList{QStringLiteral("Etiq001.txt")});
        QCOMPARE(starts.size(), 1);
        QCOMPARE(form()->DBLCB1->currentText(), QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"));
        QCOMPARE(window->app.suite.scalar(QStringLiteral("select count(*) from ETIQCORR")).toInt(), 0);
    }

    // A model whose description names no output: the job is written, nothing printed.
    void modelMatchingNothingOnlyFillsTheJob()
    {
        window->chooseModel(QStringLiteral("Gôndola - 2 colunas"));
        print(QStringLiteral("2"));
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(job().size(), 4);
        QCOMPARE(job().at(1), QStringLiteral("000001|ALCOOL GEL 70% 500ML||7896004703397|12.90"));
        QCOMPARE(commandFiles(), QStringList());
        QVERIFY(starts.isEmpty());
        QCOMPARE(form()->EditEtiqInic->text(), QStringLiteral("2")); // no stock used
        QCOMPARE(form()->DBLCB1->currentText(), QStringLiteral("Gôndola - 2 colunas"));
        QVERIFY(form()->LabelImpressao->toolTip().startsWith(QStringLiteral("Nada foi impresso: o modelo \"Gôndola - 2 colunas\"")));
    }

    // A sheet model runs the report project, not the thermal output. Without a
    // project file its error ends the print before the closing steps: the job
    // stays open for a new attempt.
    void sheetModelRunsTheReportProject()
    {
        window->chooseModel(QStringLiteral("A4 - Pimaco 6180 (3 x 10)"));
        print(QString());
        QCOMPARE(window->app.messages.size(), 1);
        QVERIFY2(window->app.messages.first().startsWith(QStringLiteral("The following reporting project does not exist:")),
                 qPrintable(window->app.messages.first()));
        QCOMPARE(job().size(), 3);
        QCOMPARE(commandFiles(), QStringList());
        QVERIFY(starts.isEmpty());
        QVERIFY(window->dm()->TabRev2->Active());
    }

    // A first label that is not a number is reported and changes nothing:
    // the last job stays, the box keeps the text, the panel never shows.
    void firstLabelNotANumberChangesNothing()
    {
        print(QString());
        const QStringList lastJob = job();
        starts.clear();
        print(QStringLiteral("3a"));
        QCOMPARE(window->app.messages, QStringList{QStringLiteral("'3a' is not a valid integer value")});
        QCOMPARE(job(), lastJob);
        QCOMPARE(form()->EditEtiqInic->text(), QStringLiteral("3a"));
        QVERIFY(form()->Painel1->isHidden());
        QVERIFY(starts.isEmpty());
    }

    // Above 10,000 rows (skipped positions included) the user is asked first,
    // with the number written the Brazilian way; "Não" changes nothing.
    void largeJobAsksFirst()
    {
        print(QString());
        const QStringList lastJob = job();
        starts.clear();
        QStringList questions;
        // The list's wrong EAN is asked about first and let through.
        const auto previous = Messages::setQuestionSink([&](const QString &text) {
            questions << text;
            return !text.startsWith(QStringLiteral("Serão geradas"));
        });
        print(QStringLiteral("10001")); // 10,000 skipped and 3 labels
        Messages::setQuestionSink(previous);
        QCOMPARE(questions.size(), 2);
        QCOMPARE(questions.last(), QStringLiteral("Serão geradas 10.003 etiquetas. Continuar?"));
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(job(), lastJob);
        QVERIFY(starts.isEmpty());
    }

    // A confirmed job of a million labels, cancelled with "Cancelar" or with
    // Escape while it runs: it stops, nothing is printed,
    // and the previous job is there as it was.
    void cancelKeepsThePreviousJob_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancelar") << false;
        QTest::newRow("Escape") << true;
    }

    void cancelKeepsThePreviousJob()
    {
        QFETCH(bool, escape);
        print(QString());
        const QStringList lastJob = job();
        starts.clear();
        const auto previous = Messages::setQuestionSink([](const QString &text) {
            return text == QStringLiteral("Serão geradas 1.000.005 etiquetas. Continuar?") || text.contains(QStringLiteral("código EAN"));
        });
        // The cancel comes once the job is under way: posted when its progress
        // panel appears, it is taken at the job's next look at the window.
        bool cancelled = false;
        ShowWatch watch(form()->Painel1, [&] {
            QTimer::singleShot(0, form(), [&] {
                QVERIFY(form()->Painel1->isVisible());
                QVERIFY(!form()->DBGrid1->isEnabled());
                cancelled = true;
                if (escape)
                    QTest::keyClick(form(), Qt::Key_Escape);
                else
                    QTest::mouseClick(form()->BotCancelarImpressao, Qt::LeftButton);
            });
        });
        window->typeInCell(1, 0, QStringLiteral("3")); // still being edited when the print starts
        print(QStringLiteral("1000000")); // 999,999 skipped positions and 6 labels
        Messages::setQuestionSink(previous);
        QVERIFY(cancelled);
        QCOMPARE(window->app.messages,
                 QStringList{QStringLiteral("Impressão cancelada. Nenhuma etiqueta foi gerada; o trabalho anterior foi mantido.")});
        QCOMPARE(job(), lastJob);
        QVERIFY(starts.isEmpty());
        QCOMPARE(window->storedList().at(1), QStringLiteral("P2|BEPANTOL DERMA CREME 40G|3|7891106001212|35.5"));
        QVERIFY(form()->Painel1->isHidden());
        QVERIFY(form()->DBGrid1->isEnabled() && form()->btnEtiqSemPreco->isEnabled());
        QVERIFY(form()->isVisible()); // Escape cancelled the print, it did not close the window
    }

    // The job held on its worker after its first product: the window keeps
    // answering (its progress shows, a message box raised meanwhile closes
    // with Enter), and a real "Cancelar" or Escape then ends the job with the
    // previous one intact.
    void windowAnswersWhileTheJobIsHeld_data() { cancelKeepsThePreviousJob_data(); }

    void windowAnswersWhileTheJobIsHeld()
    {
        QFETCH(bool, escape);
        print(QString());
        const QStringList lastJob = job();
        starts.clear();
        QSignalSpy ended(form(), &TFormSelvarra::printEnded);
        HeldBuild held(form(), 1);
        QTest::mouseClick(form()->btnEtiqSemPreco, Qt::LeftButton);
        QVERIFY(held.waitReached());
        QTRY_VERIFY(form()->Painel1->isVisible());
        QVERIFY(!form()->DBGrid1->isEnabled() && !form()->btnEtiqSemPreco->isEnabled());

        {
            QMessageBox box(QMessageBox::Information, QStringLiteral("Selvar"), QStringLiteral("Aviso"), QMessageBox::Ok, form());
            bool keyed = false;
            QTimer::singleShot(0, &box, [&] {
                keyed = QApplication::activeModalWidget() == &box;
                QTest::keyClick(&box, Qt::Key_Return);
            });
            QCOMPARE(box.exec(), int(QMessageBox::Ok));
            QVERIFY(keyed);
        }
        QVERIFY(ended.isEmpty());

        // The box gone, the window is the clerk's again.
        form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form()));
        if (escape)
            QTest::keyClick(form(), Qt::Key_Escape);
        else
            QTest::mouseClick(form()->BotCancelarImpressao, Qt::LeftButton);
        held.letGo();
        QVERIFY(ended.wait(60000));
        QCOMPARE(window->app.messages,
                 QStringList{QStringLiteral("Impressão cancelada. Nenhuma etiqueta foi gerada; o trabalho anterior foi mantido.")});
        QCOMPARE(job(), lastJob);
        QVERIFY(starts.isEmpty());
        QVERIFY(form()->Painel1->isHidden());
        QVERIFY(form()->DBGrid1->isEnabled() && form()->btnEtiqSemPreco->isEnabled());
        QVERIFY(form()->isVisible());
    }

    // Another station stores quantities after this one read the list: the
    // clerk is never turned away, and the job is the rows the clerk sees.
    void listChangedElsewherePrintsTheRowsShown()
    {
        print(QString());
        const QStringList lastJob = job();
        QCOMPARE(lastJob.size(), 3);
        window->app.suite.exec(QStringLiteral("update TABREV1 set QDE = 4 where CODIGO = 'P2'"));
        window->app.suite.exec(QStringLiteral("update TABREV1 set QDE = 7 where CODIGO = 'P1'"));
        QCOMPARE(window->gridText(1, 0), QStringLiteral("0"));
        starts.clear();
        print(QString());
        QCOMPARE(window->app.messages, QStringList());
        QCOMPARE(job(), lastJob);
        QCOMPARE(starts.size(), 1);
    }

    // Without ImprEtiq.bat in the station's folder (or without the folder) the
    // print stops before anything is written: the message names the file, the
    // last job stays in TABREV2, no command file is written, the box keeps its text.
    void missingBatchFileKeepsTheLastJob()
    {
        print(QString());
        const QStringList lastJob = job();
        QCOMPARE(lastJob.size(), 3);
        for (const QString &name : commandFiles())
            QVERIFY(QFile::remove(QDir(workFolder).filePath(name)));
        QVERIFY(QFile::remove(batchFile()));
        starts.clear();
        print(QStringLiteral("4"));
        QCOMPARE(window->app.messages.size(), 1);
        QVERIFY2(window->app.messages.first().contains(batchFile()), qPrintable(window->app.messages.first()));
        QCOMPARE(job(), lastJob);
        QCOMPARE(commandFiles(), QStringList());
        QVERIFY(starts.isEmpty());
        QCOMPARE(form()->EditEtiqInic->text(), QStringLiteral("4"));
        QVERIFY(form()->Painel1->isHidden());

        QVERIFY(QDir(workFolder).removeRecursively());
        print(QString());
        QCOMPARE(window->app.messages.size(), 2);
        QVERIFY2(window->app.messages.last().contains(QStringLiteral("ImprEtiq.bat")), qPrintable(window->app.messages.last()));
        QCOMPARE(job(), lastJob);
        QVERIFY(form()->btnEtiqSemPreco->isEnabled());
    }

    // The click returns while the files are still being handed over: the window
    // says which file goes now, and closing it asks first; "Não" keeps it open.
    // The batch file sends nothing until the test says so.
    void handOverRunsAfterTheClick()
    {
        const QString go = QDir(workFolder).filePath(QStringLiteral("siga"));
        const QString sent = QDir(workFolder).filePath(QStringLiteral("enviados"));
        QFile batch(batchFile());
        QVERIFY(batch.open(QIODevice::WriteOnly));
        batch.write(QStringLiteral("#!/bin/sh\nwhile [ ! -e '%1' ]; do sleep 0.02; done\necho \"$1\" >> '%2'\n").arg(go, sent).toLocal8Bit());
        batch.close();
        const auto fake = ProcessStarter::setStarter({});
        const auto restoreStarter = qScopeGuard([&] { ProcessStarter::setStarter(fake); });
        QStringList questions;
        const auto previousQuestions = Messages::setQuestionSink([&questions](const QString &text) {
            questions << text;
            // ALCOOL GEL's EAN is printed as stored; the window stays open.
            return text.startsWith(QStringLiteral("Estes produtos"));
        });
        const auto restore = qScopeGuard([&] { Messages::setQuestionSink(previousQuestions); });
        form()->EditEtiqInic->setText(QStringLiteral("4"));
        QVERIFY(clickAndWait(form()->btnEtiqSemPreco, form(), &TFormSelvarra::printEnded));
        QVERIFY(form()->printHandOver->busy());
        // The files go once the job's history number is taken on its worker.
        QTRY_COMPARE_WITH_TIMEOUT(form()->LabelEnvio->text(), QStringLiteral("Enviando arquivo 1 de 2"), 30000);
        QCOMPARE(form()->LabelImpressao->text(), QStringLiteral("Enviando 2 arquivos para a impressora"));
        QVERIFY(!form()->close());
        QCOMPARE(questions.size(), 2);
        QVERIFY2(questions.last().contains(QStringLiteral("arquivo 1 de 2")), qPrintable(questions.last()));
        QVERIFY(form()->isVisible());

        QVERIFY(QFile(go).open(QIODevice::WriteOnly));
        QVERIFY(waitUntilIdle(*form()->printHandOver, 30000));
        QCOMPARE(readLines(sent), (QStringList{QDir(workFolder).filePath(QStringLiteral("Etiq001.txt")),
                                               QDir(workFolder).filePath(QStringLiteral("Etiq002.txt"))}));
        QCOMPARE(form()->LabelEnvio->text(), QString());
        // Three used positions and three labels went out on the roll.
        QCOMPARE(form()->LabelImpressao->text(), QStringLiteral("6 etiquetas em 2 arquivos enviadas para a impressora"));
        QCOMPARE(window->app.messages, QStringList());
        QVERIFY(form()->close());
        QCOMPARE(questions.size(), 2);
    }

    // A run that fails is told by the window: which file, and how many labels
    // went out before it, so a reprint does not duplicate them.
    void failedRunIsShown()
    {
        ProcessStarter::setStarter([this](const QString &batch, const QStringList &arguments) {
            starts << (QStringList{batch} + arguments);
            return !arguments.value(0).endsWith(QLatin1String("Etiq002.txt"));
        });
        print(QStringLiteral("4"));
        QCOMPARE(starts.size(), 2);
        QCOMPARE(window->app.messages.size(), 1);
        const QString message = window->app.messages.first();
        QVERIFY2(message.contains(QStringLiteral("Etiq002.txt")) && message.contains(QStringLiteral("código 1"))
                     && message.contains(QStringLiteral("3 etiquetas já foram enviadas à impressora")),
                 qPrintable(message));
        QCOMPARE(form()->LabelImpressao->text(), QStringLiteral("Envio interrompido: 3 etiquetas enviadas para a impressora"));
    }
};

QTEST_MAIN(PrintFlowTest)
#include "tst_print_flow.moc"
