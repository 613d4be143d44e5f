// The whole sheet print through the window: the list built, quantities typed
// in the grid, an A4 model chosen in DBLCB1, "Etiquetas com preços" pressed and
// the "Output Options" answered with a PDF file by the test.
#include "ClickAndWait.h"
#include "ListWindow.h"
#include "OutputOptionsDialog.h"
#include "ReportModal.h"
#include "ReportTestKit.h"
#include "TFormSelvarra.h"
#include "TRvProject.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace ReportTestKit;

namespace {

struct Product
{
    QString codigo;
    QString name;
    QString ean;
    QString price;
};

// Listed by name: ALFA, BRAVO, CHARLIE.
const QList<Product> Products = {
    {QStringLiteral("C3"), QStringLiteral("CHARLIE VITAMINA C 1G"), QStringLiteral("7896004703398"), QStringLiteral("19.9")},
    {QStringLiteral("A1"), QStringLiteral("ALFA DIPIRONA 500MG"), QStringLiteral("7891106001212"), QStringLiteral("4.5")},
    {QStringLiteral("B2"), QStringLiteral("BRAVO PROTETOR SOLAR"), QStringLiteral("7897862600218"), QStringLiteral("59")},
};

} // namespace

class SheetPrintFlowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ListWindow> w;
    QStringList dialogs;

    TFormSelvarra *form() { return w->form(); }

    void installProject()
    {
        QDir(w->app.suite.root()).mkpath(QStringLiteral("rpt"));
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"), w->app.suite.path(QStringLiteral("rpt/Selvar.rav"))));
    }

    // Builds the list and types 2, 0 and 1 labels for ALFA, BRAVO and CHARLIE.
    void buildListWithQuantities()
    {
        for (const Product &p : Products)
            w->addProduct(p.codigo, p.name, p.ean, p.price);
        w->clickBuild();
        QVERIFY(form()->PainelSelvarra->isVisible());
        QCOMPARE(w->gridText(0, 1), Products[1].name);
        w->typeInCell(0, 0, QStringLiteral("2"));
        w->typeInCell(2, 0, QStringLiteral("1"));
        w->goToRow(1);
    }

    // The user picks the A4 model with the keyboard, in the drop-down list.
    void chooseA4Model() { w->chooseModel(QStringLiteral("A4")); }

    void answerOptions(const std::function<void(OutputOptionsDialog &)> &fill, const QString &button)
    {
        ReportModal::setHook([this, fill, button](QDialog &d) {
            dialogs << d.windowTitle();
            auto &options = static_cast<OutputOptionsDialog &>(d);
            d.show();
            fill(options);
            QTest::mouseClick(d.findChild<QPushButton *>(button), Qt::LeftButton);
            return d.result();
        });
    }

    QStringList jobCodes()
    {
        QStringList codes;
        for (const QVariantList &row : w->app.suite.rows(QStringLiteral("select CODIGO from TABREV2 order by CODIGO")))
            codes << row.value(0).toString();
        return codes;
    }

private slots:
    void init()
    {
        w = std::make_unique<ListWindow>();
        dialogs.clear();
        QVERIFY(w->start(QStringLiteral("02"))); // the Zebra model is current
        installProject();
        buildListWithQuantities();
        chooseA4Model();
    }

    void cleanup()
    {
        ReportModal::setHook({});
        w.reset();
    }

    void a4ModelPrintsTheJobToPdf()
    {
        const QString pdf = w->app.suite.path(QStringLiteral("etiquetas.pdf"));
        answerOptions([&](OutputOptionsDialog &o) {
            o.RadioArquivo->click();
            o.EditArquivo->setText(pdf);
        }, QStringLiteral("BotOK"));
        form()->EditEtiqInic->setText(QStringLiteral("4"));
        QVERIFY(clickAndWait(form()->btnEtiqSemPreco, form(), &TFormSelvarra::printEnded));

        QCOMPARE(w->app.messages, QStringList());
        QCOMPARE(dialogs, QStringList({"Output Options"}));
        QVERIFY(form()->EditEtiqInic->text().isEmpty());
        QCOMPARE(jobCodes().size(), 6); // three used positions, ALFA twice, CHARLIE once

        // The A4 6 x 20 sheet of the sample: one page, labels from the fourth cell on.
        QCOMPARE(pdfPageCount(pdf), 1);
        QCOMPARE(pdfPageSizeMm(pdf), QSizeF(210, 297));
        const SheetGrid &grid = form()->findChild<TRvProject *>(QStringLiteral("rvprjct1"))->project()->reportFor(QStringLiteral("A4")).grid;
        const QList<PdfWord> words = pdfWords(pdf);
        const QStringList expected = {QString(), QString(), QString(), QStringLiteral("ALFA"), QStringLiteral("ALFA"),
                                      QStringLiteral("CHARLIE"), QString()};
        const QStringList prices = {QString(), QString(), QString(), QStringLiteral("4,50"), QStringLiteral("4,50"),
                                    QStringLiteral("19,90"), QString()};
        const QStringList eans = {QString(), QString(), QString(), Products[1].ean, Products[1].ean, Products[0].ean, QString()};
        for (int cell = 0; cell < expected.size(); ++cell) {
            QStringList inCell;
            for (const PdfWord &word : words) {
                if (grid.cellRect(cell).contains(word.centre))
                    inCell << word.text;
            }
            QCOMPARE(inCell.value(0), expected[cell]);
            QCOMPARE(inCell.contains(prices[cell]), !prices[cell].isEmpty());
            QCOMPARE(decodeImage(pdfRegion(pdf, 0, 600, grid.cellRect(cell))), eans[cell]);
        }
        // The closing steps ran: back on the list, on the model printed with.
        QVERIFY(form()->PainelSelvarra->isVisible());
        QVERIFY(!form()->Painel1->isVisible());
        QVERIFY(form()->DBLCB1->currentText().startsWith(QStringLiteral("A4")));
        QCOMPARE(form()->LabelImpressao->toolTip(), QStringLiteral("PDF gravado em ") + pdf);
    }

    // Nothing printed: the first position typed still holds for the next run.
    void cancellingTheOptionsEndsTheRunQuietly()
    {
        answerOptions([](OutputOptionsDialog &) {}, QStringLiteral("BotCancelar"));
        form()->EditEtiqInic->setText(QStringLiteral("4"));
        QVERIFY(clickAndWait(form()->btnEtiqSemPreco, form(), &TFormSelvarra::printEnded));
        QCOMPARE(form()->EditEtiqInic->text(), QStringLiteral("4"));
        QCOMPARE(form()->LabelImpressao->text(), QStringLiteral("Impressão cancelada"));
        QCOMPARE(dialogs, QStringList({"Output Options"}));
        QCOMPARE(w->app.messages, QStringList());
        QCOMPARE(jobCodes().size(), 6); // the job stays for the next print
        QVERIFY(form()->PainelSelvarra->isVisible());
        QVERIFY(!form()->Painel1->isVisible());
    }

    void previewClosedWithoutPrintingKeepsTheFirstLabel()
    {
        ReportModal::setHook([this](QDialog &d) {
            dialogs << d.windowTitle();
            d.show();
            if (auto *options = qobject_cast<OutputOptionsDialog *>(&d)) {
                options->RadioVisualizar->click();
                QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("BotOK")), Qt::LeftButton);
            } else {
                QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("BotFechar")), Qt::LeftButton);
            }
            return d.result();
        });
        form()->EditEtiqInic->setText(QStringLiteral("4"));
        QVERIFY(clickAndWait(form()->btnEtiqSemPreco, form(), &TFormSelvarra::printEnded));
        QCOMPARE(dialogs, QStringList({"Output Options", "Report Preview"}));
        QCOMPARE(w->app.messages, QStringList());
        QCOMPARE(form()->EditEtiqInic->text(), QStringLiteral("4"));
        QCOMPARE(form()->LabelImpressao->text(), QStringLiteral("Visualização fechada sem imprimir"));
    }
};

QTEST_MAIN(SheetPrintFlowTest)
#include "tst_sheet_print_flow.moc"
