// The report components of the main window against a real embedded database:
// rvprjct1 loads Selvar.rav from the suite folder at every run and RvSystem2
// asks, shows and writes; every dialog is answered by the test through the
// report engine's modal hook.
#include "Messages.h"
#include "OutputOptionsDialog.h"
#include "ProjectError.h"
#include "ReportModal.h"
#include "ReportPreviewDialog.h"
#include "ReportTestKit.h"
#include "TDM.h"
#include "TRvDataSetConnection.h"
#include "TRvProject.h"
#include "TestSuite.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>
#include <QtTest>

#include <deque>
#include <memory>

using namespace ReportTestKit;

namespace {

const QString ProjectPath = QStringLiteral("c:\\boticon\\rpt\\Selvar.rav");

using Answer = std::function<int(QDialog &)>;

void click(QWidget *button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// A radio button takes a click on its indicator or text, not anywhere in its
// (layout-stretched) rectangle: press it as the keyboard would.
void choose(QRadioButton *radio)
{
    QVERIFY(radio && radio->isEnabled());
    radio->click();
}

// Chooses a PDF file in "Output Options" and presses OK.
Answer toFile(const QString &fileName)
{
    return [fileName](QDialog &d) {
        auto *options = qobject_cast<OutputOptionsDialog *>(&d);
        if (!options)
            qFatal("expected Output Options, got %s", qPrintable(d.windowTitle()));
        d.show();
        choose(options->RadioArquivo);
        options->EditArquivo->setText(fileName);
        click(d.findChild<QPushButton *>(QStringLiteral("BotOK")));
        return d.result();
    };
}

} // namespace

class ReportEngineTest : public QObject
{
    Q_OBJECT

    // The suite folder with its database, the data module on it, and the window
    // that owns the three report components, as the program has them.
    struct Workstation
    {
        TestSuite suite;
        bool created = suite.createMainDatabase();
        TDM dm;
        QWidget window;
    };
    std::unique_ptr<Workstation> f;
    TRvProject *project = nullptr;
    TRvSystem *engine = nullptr;
    std::deque<Answer> answers;
    QStringList dialogTitles;
    QStringList messages;

    QString file(const QString &name) const { return f->suite.path(name); }

    void writeProject(const QString &text)
    {
        QDir(f->suite.root()).mkpath(QStringLiteral("rpt"));
        QFile f(file(QStringLiteral("rpt/Selvar.rav")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }

    void insertJob(int skipped, const QStringList &names)
    {
        for (int i = 1; i <= skipped; ++i)
            f->suite.exec(QStringLiteral("insert into TABREV2 (CODIGO) values (?)"), {QStringLiteral("-%1").arg(i, 6, 10, QLatin1Char('0'))});
        int number = 0;
        for (const QString &name : names) {
            ++number;
            f->suite.exec(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE, CODIGOEAN, PRECO1) values (?, ?, ?, ?)"),
                        {QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0')), name, QStringLiteral("7891106001212"),
                         QStringLiteral("%1.90").arg(number)});
        }
    }

    // What the window does for a sheet model.
    TRvSystem::Outcome print(const QString &model = QStringLiteral("A4"))
    {
        project->Close();
        project->setProjectFile(ProjectPath);
        project->setModelDescription(model);
        return project->Execute();
    }

    QStringList wordsOf(const QString &pdf)
    {
        QStringList words;
        for (const PdfWord &w : pdfWords(pdf))
            words << w.text;
        return words;
    }

private slots:
    void init()
    {
        f = std::make_unique<Workstation>();
        QVERIFY(f->created);
        f->dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
        engine = new TRvSystem(QStringLiteral("RvSystem2"), &f->window);
        project = new TRvProject(QStringLiteral("rvprjct1"), &f->window);
        project->setEngine(engine);
        (new TRvDataSetConnection(QStringLiteral("RvDataSetConnection1"), &f->window))->setDataSet(f->dm.TabRev2);

        answers.clear();
        dialogTitles.clear();
        messages.clear();
        ReportModal::setHook([this](QDialog &d) {
            dialogTitles << d.windowTitle();
            if (answers.empty())
                qFatal("no answer for the dialog %s", qPrintable(d.windowTitle()));
            Answer answer = std::move(answers.front());
            answers.pop_front();
            return answer(d);
        });
        Messages::setSink([this](const QString &text) { messages << text; });
    }

    void cleanup()
    {
        ReportModal::setHook({});
        Messages::setSink({});
        f.reset();
    }

    void missingProjectIsTheEnginesError()
    {
        insertJob(0, {QStringLiteral("ALFA")});
        f->dm.TabRev2->Open();
        try {
            print();
            QFAIL("no error");
        } catch (const SelvarError &e) {
            QCOMPARE(e.message(), QStringLiteral("The following reporting project does not exist:\r\"c:\\boticon\\rpt\\Selvar.rav\""));
        }
        QVERIFY(dialogTitles.isEmpty());
        QVERIFY(f->dm.TabRev2->Active()); // the job stays as it was
        QCOMPARE(f->dm.TabRev2->RecordCount(), 1);
    }

    void jobGoesToPdfInTableOrderThroughTheDialog()
    {
        writeProject(smallProject());
        insertJob(2, {QStringLiteral("ALFA"), QStringLiteral("BRAVO"), QStringLiteral("CHARLIE")});
        f->dm.TabRev2->Open();
        f->dm.TabRev2->setRecNo(4);
        const QString pdf = file(QStringLiteral("saida/etiquetas"));
        QDir(f->suite.root()).mkpath(QStringLiteral("saida"));
        answers.push_back(toFile(pdf));

        QCOMPARE(print(), TRvSystem::Outcome::Written);
        QCOMPARE(dialogTitles, QStringList({"Output Options"}));
        QCOMPARE(engine->statusTexts(), QStringList({"Generating page 1"}));
        // ".pdf" is added to a name given without it.
        const QString written = pdf + QStringLiteral(".pdf");
        QVERIFY(QFile::exists(written));
        const QStringList words = wordsOf(written);
        QCOMPARE(words.filter(QRegularExpression(QStringLiteral("^[A-Z]{4,}$"))), QStringList({"ALFA", "BRAVO", "CHARLIE"}));
        // The two used positions stay blank: ALFA sits in the third cell.
        const SheetGrid &grid = project->project()->reports.first().grid;
        for (const PdfWord &w : pdfWords(written)) {
            if (w.text == QLatin1String("ALFA"))
                QVERIFY(grid.cellRect(2).contains(w.centre));
        }
        QCOMPARE(f->dm.TabRev2->RecNo(), 4); // the walk put the cursor back
    }

    void cancellingTheDialogPrintsNothing()
    {
        writeProject(smallProject());
        insertJob(0, {QStringLiteral("ALFA")});
        f->dm.TabRev2->Open();
        answers.push_back([](QDialog &d) {
            d.show();
            click(d.findChild<QPushButton *>(QStringLiteral("BotCancelar")));
            return d.result();
        });
        QCOMPARE(print(), TRvSystem::Outcome::Cancelled);
        QVERIFY(engine->statusTexts().isEmpty());
    }

    void optionsRefuseWhatCannotBeDone()
    {
        writeProject(smallProject());
        f->dm.TabRev2->Open();
        const QString pdf = file(QStringLiteral("vazio.pdf"));
        answers.push_back([&](QDialog &d) {
            auto &options = static_cast<OutputOptionsDialog &>(d);
            d.show();
            // Preview is what the engine offers first.
            [&] { QVERIFY(options.RadioVisualizar->isChecked()); }();
            choose(options.RadioArquivo);
            options.EditArquivo->clear();
            click(d.findChild<QPushButton *>(QStringLiteral("BotOK")));
            options.EditArquivo->setText(file(QStringLiteral("nao/existe/x.pdf")));
            click(d.findChild<QPushButton *>(QStringLiteral("BotOK")));
            if (d.result() == QDialog::Accepted)
                return int(QDialog::Accepted);
            return toFile(pdf)(d);
        });
        // An empty job still runs: one blank page.
        QCOMPARE(print(), TRvSystem::Outcome::Written);
        QCOMPARE(messages, QStringList({QStringLiteral("Informe o nome do arquivo PDF."),
                                        QStringLiteral("A pasta \"%1\" não existe.").arg(QDir::toNativeSeparators(file(QStringLiteral("nao/existe"))))}));
        QCOMPARE(pdfPageCount(pdf), 1);
        QVERIFY(wordsOf(pdf).isEmpty());

        // The next print opens on the preview again, the file name kept.
        answers.push_back([&](QDialog &d) {
            auto &options = static_cast<OutputOptionsDialog &>(d);
            [&] { QVERIFY(options.RadioVisualizar->isChecked()); }();
            [&] { QCOMPARE(options.EditArquivo->text(), pdf); }();
            return int(QDialog::Rejected);
        });
        QCOMPARE(print(), TRvSystem::Outcome::Cancelled);
        QVERIFY(answers.empty());
    }

    void previewShowsThePagesAndPrintsFromIt()
    {
        writeProject(smallProject());
        insertJob(5, {QStringLiteral("ALFA"), QStringLiteral("BRAVO"), QStringLiteral("CHARLIE"), QStringLiteral("DELTA"),
                      QStringLiteral("ECHO")});
        f->dm.TabRev2->Open();
        const QString pdf = file(QStringLiteral("da-previa.pdf"));
        answers.push_back([](QDialog &d) {
            d.show();
            click(d.findChild<QPushButton *>(QStringLiteral("BotOK"))); // preview, as offered
            return d.result();
        });
        answers.push_back([&](QDialog &d) {
            auto *preview = qobject_cast<ReportPreviewDialog *>(&d);
            if (!preview)
                qFatal("expected the preview");
            d.show();
            [&] {
                QCOMPARE(preview->zoom(), 100);
                QCOMPARE(preview->pageCount(), 2); // 5 used + 5 labels on sheets of 9
                QCOMPARE(preview->LabelPagina->text(), QStringLiteral("Página 1 de 2"));
                // At 100 % an A4 page is as wide on screen as on paper.
                QCOMPARE(preview->pageImage(0).width(), qRound(210 / 25.4 * d.logicalDpiX()));
                click(preview->BotProxima);
                QCOMPARE(preview->LabelPagina->text(), QStringLiteral("Página 2 de 2"));
                QVERIFY(!preview->BotProxima->isEnabled());
            }();
            answers.push_back([](QDialog &options) {
                // Printing from the preview offers printer and file, not the preview again.
                if (static_cast<OutputOptionsDialog &>(options).RadioVisualizar->isEnabled())
                    qFatal("preview offered from inside the preview");
                return int(QDialog::Rejected);
            });
            click(preview->BotImprimir); // cancelled: the preview stays
            answers.push_back(toFile(pdf));
            click(preview->BotImprimir);
            click(preview->BotFechar);
            return d.result();
        });

        QCOMPARE(print(), TRvSystem::Outcome::Previewed);
        QCOMPARE(dialogTitles, QStringList({"Output Options", "Report Preview", "Output Options", "Output Options"}));
        QCOMPARE(engine->statusTexts(),
                 QStringList({"Generating page 1", "Generating page 2", "Generating page 1", "Generating page 2"}));
        QCOMPARE(pdfPageCount(pdf), 2);
        QCOMPARE(wordsOf(pdf).filter(QRegularExpression(QStringLiteral("^[A-Z]{4,}$"))),
                 QStringList({"ALFA", "BRAVO", "CHARLIE", "DELTA", "ECHO"}));
        QVERIFY(answers.empty());
    }

    void projectEditedBetweenPrintsTakesEffect()
    {
        insertJob(0, {QStringLiteral("ALFA")});
        f->dm.TabRev2->Open();
        const QString pdf = file(QStringLiteral("edicao.pdf"));
        writeProject(smallProject(QStringLiteral("  texto \"PRIMEIRA\" x=30 y=30 largura=25 altura=5\n")));
        answers.push_back(toFile(pdf));
        print();
        QVERIFY(wordsOf(pdf).contains(QStringLiteral("PRIMEIRA")));

        writeProject(smallProject(QStringLiteral("  texto \"SEGUNDA\" x=30 y=30 largura=25 altura=5\n")));
        answers.push_back(toFile(pdf));
        print();
        QVERIFY(wordsOf(pdf).contains(QStringLiteral("SEGUNDA")));
        QVERIFY(!wordsOf(pdf).contains(QStringLiteral("PRIMEIRA")));
    }

    void fieldTheConnectionLacksIsNamedWithItsLine()
    {
        writeProject(smallProject(QStringLiteral("  campo PRECO x=30 y=30 largura=25 altura=5\n")));
        f->dm.TabRev2->Open();
        try {
            print();
            QFAIL("no error");
        } catch (const ProjectError &e) {
            QCOMPARE(e.message(), QStringLiteral("Projeto de relatório \"c:\\boticon\\rpt\\Selvar.rav\", linha 13: a conexão "
                                                 "RvDataSetConnection1 não tem o campo 'PRECO' (campos: CODIGO, COMPONENTE, "
                                                 "QDE, CODIGOEAN, PRECO1)"));
        }
        QVERIFY(dialogTitles.isEmpty());
    }

    void sampleProjectServesTheSheetModels_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QSizeF>("paper");
        QTest::newRow("A4") << "A4 - Pimaco 6 x 20" << QSizeF(210, 297);
        QTest::newRow("Carta") << "Carta - 4 x 20" << QSizeF(216, 279);
        QTest::newRow("A5") << "A5" << QSizeF(148, 210);
    }

    void sampleProjectServesTheSheetModels()
    {
        QFETCH(QString, model);
        QFETCH(QSizeF, paper);
        QFile sample(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        writeProject(QString::fromUtf8(sample.readAll()));
        insertJob(1, {QStringLiteral("DIPIRONA SODICA 500MG")});
        f->dm.TabRev2->Open();
        const QString pdf = file(QStringLiteral("amostra.pdf"));
        answers.push_back(toFile(pdf));
        print(model);
        QCOMPARE(pdfPageSizeMm(pdf), paper);
        const QStringList words = wordsOf(pdf);
        QVERIFY2(words.contains(QStringLiteral("DIPIRONA")) && words.contains(QStringLiteral("1,90")), qPrintable(words.join(' ')));
        // 300 dpi, what an office scanner or a phone camera sees.
        const int dpi = 300;
        const QRectF cell = project->project()->reportFor(model).grid.cellRect(1);
        QCOMPARE(decodeImage(pdfRegion(pdf, 0, dpi, cell)), QStringLiteral("7891106001212"));
    }
};

QTEST_MAIN(ReportEngineTest)
#include "tst_report_engine.moc"
