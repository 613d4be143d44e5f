// The pictures of the guides in docs/, taken from the real window offscreen as
// a clerk drives it: the main panel, the list with quantities and totals, a
// search that finds nothing, the thermal print's choice and preview, the line
// after printing, the sheet output's options and preview. Each picture is
// taken only once the window shows what the guide says it shows. An ordinary
// run writes them into the build folder and never into the sources:
// scripts/refresh-guide-pictures points it at docs/imagens on purpose, when a
// changed window should change the guides. The guides show no picture this
// test does not make.
#include "ClickAndWait.h"
#include "DesignerWindow.h"
#include "EtiqparPanel.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "OutputOptionsDialog.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "ReportModal.h"
#include "RunValues.h"
#include "TFormSelvarra.h"
#include "ThermalPreviewDialog.h"
#include "ThermalPrintChoice.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableView>
#include <QListWidget>
#include <QtTest>

namespace {

// Where the pictures go: the build folder, unless the refresh script names the guides' own.
QString picturesFolder()
{
    const QString asked = qEnvironmentVariable("SELVAR_GUIDE_PICTURES");
    return asked.isEmpty() ? QStringLiteral(GUIDE_PICTURES_BUILD_DIR) : asked;
}

struct Product
{
    const char *codigo;
    const char *name;
    const char *ean;
    const char *price;
};

const Product Products[] = {
    {"10002", "Água Micelar Demaquilante 200 ml", "7899876000145", "39.90"},
    {"10007", "Álcool em Gel 70% 500 ml", "7899876000497", "14.50"},
    {"10004", "Creme Hidratante Ureia 10% 100 g", "7899876000282", "42.00"},
    {"10030", "Creme para Mãos Calêndula 60 g", "7899876002101", "27.80"},
    {"10011", "Óleo de Amêndoas Doces 100 ml", "7899876000770", "22.90"},
    {"10010", "Ômega 3 1000 mg c/ 120 cápsulas", "7899876000701", "89.00"},
    {"10023", "Própolis Extrato Verde 30 ml", "7899876001616", "18.70"},
    {"10001", "Protetor Solar FPS 50 Loção Oil Free 120 ml", "7899876000077", "64.90"},
    {"10033", "Zinco Quelato 30 mg c/ 60 cápsulas", "7899876002316", "31.40"},
};

} // namespace

class TstGuidePictures : public QObject
{
    Q_OBJECT

    std::unique_ptr<ListWindow> w;
    QSet<QString> written;
    ProcessStarter::Starter previousStarter;

    TFormSelvarra *f() { return w->form(); }

    void save(const QString &name, QWidget *widget)
    {
        QCoreApplication::processEvents();
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QVERIFY(widget->grab().save(&png, "PNG"));
        QFile file(QDir(picturesFolder()).filePath(name));
        const bool same = file.open(QIODevice::ReadOnly) && file.readAll() == png.data();
        file.close();
        if (!same) {
            QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.fileName()));
            QVERIFY(file.write(png.data()) == png.size());
        }
        written << name;
    }

    void search(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(w->settle());
    }

    void typeQuantity(const QString &quantity)
    {
        QVERIFY(f()->DBGrid1->hasFocus());
        QTest::keyClick(f()->DBGrid1, quantity.at(0).toLatin1());
        QTest::keyClicks(QApplication::focusWidget(), quantity.mid(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(w->settle());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(picturesFolder()));
        w = std::make_unique<ListWindow>();
        QVERIFY(w->start(QStringLiteral("02"))); // the Zebra model is current
        // The pictures show the colour of the sample BOTICON.INI an installation starts from.
        QFile ini(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/BOTICON.INI"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        for (const QByteArray &line : ini.readAll().split('\n'))
            if (line.startsWith("COR DE FUNDO DAS TELAS"))
                RunValues::ScreenColor = line.mid(49).trimmed().toInt();
        QVERIFY(RunValues::ScreenColor != 0);
        f()->FormActivate();
        QDir suite(w->app.suite.root());
        QVERIFY(suite.mkpath(QStringLiteral("rpt")) && suite.mkpath(QStringLiteral("Interfac01")));
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"), suite.filePath(QStringLiteral("rpt/Selvar.rav"))));
        QFile batch(suite.filePath(QStringLiteral("Interfac01/ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        previousStarter = ProcessStarter::setStarter([](const QString &, const QStringList &) { return true; });
        for (const Product &p : Products)
            w->addProduct(QString::fromLatin1(p.codigo), QString::fromUtf8(p.name), QString::fromLatin1(p.ean),
                          QString::fromLatin1(p.price));
    }

    void cleanupTestCase()
    {
        ReportModal::setHook({});
        ProcessStarter::setStarter(previousStarter);
        w.reset();
    }

    void counterPictures()
    {
        QVERIFY(f()->BotSelvarProdRev->isVisible());
        save(QStringLiteral("balconista-inicio.png"), f());

        w->clickBuild();
        QVERIFY(f()->PainelSelvarra->isVisible());
        const QList<QPair<QString, QString>> byName = {{"agua", "3"}, {"propolis", "2"}, {"omega", "4"}, {"creme h", "2"}};
        for (const auto &[typed, quantity] : byName) {
            search(f()->EditPesqComp, typed);
            typeQuantity(quantity);
        }
        // The scanner types the EAN on the box and Enter.
        search(f()->EditPesqCod, QStringLiteral("7899876002316"));
        typeQuantity(QStringLiteral("1"));
        QCOMPARE(w->app.messages, QStringList());
        QTRY_COMPARE(f()->LabelTotais->text(), QStringLiteral("12 etiquetas em 5 produtos"));
        save(QStringLiteral("balconista-lista.png"), f());

        search(f()->EditPesqComp, QStringLiteral("xarope de guaco"));
        QCOMPARE(f()->LabelPesquisa->text(), QStringLiteral("Nenhum produto começa com \"xarope de guaco\""));
        save(QStringLiteral("balconista-busca.png"), f());
        search(f()->EditPesqComp, QStringLiteral("zinco"));
        QCOMPARE(f()->LabelPesquisa->text(), QString());

        QStringList dialogs;
        ReportModal::setHook([&](QDialog &d) {
            dialogs << d.objectName();
            d.show();
            if (auto *choice = qobject_cast<ThermalPrintChoice *>(&d)) {
                save(QStringLiteral("balconista-escolha.png"), &d);
                QTest::mouseClick(choice->BotVisualizar, Qt::LeftButton);
            } else if (auto *preview = qobject_cast<ThermalPreviewDialog *>(&d)) {
                save(QStringLiteral("balconista-visualizacao.png"), &d);
                QTest::mouseClick(preview->BotImprimir, Qt::LeftButton);
            }
            return d.result();
        });
        QVERIFY(clickAndWait(f()->btnEtiqSemPreco, f(), &TFormSelvarra::printEnded));
        QCOMPARE(dialogs, QStringList({QStringLiteral("ThermalPrintChoice"), QStringLiteral("ThermalPreview")}));
        QVERIFY(waitUntilIdle(*f()->printHandOver, 30000));
        QCOMPARE(w->app.messages, QStringList());
        QCOMPARE(f()->LabelImpressao->text(), QStringLiteral("12 etiquetas em 4 arquivos enviadas para a impressora"));
        save(QStringLiteral("balconista-impressao.png"), f());
    }

    void sheetPictures()
    {
        w->chooseModel(QStringLiteral("A4")); // in the box's list, from the Zebra model to the A4 one
        QStringList dialogs;
        ReportModal::setHook([&](QDialog &d) {
            dialogs << d.windowTitle();
            d.show();
            if (auto *options = qobject_cast<OutputOptionsDialog *>(&d)) {
                options->RadioVisualizar->click();
                save(QStringLiteral("etiquetas-opcoes.png"), &d);
                QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("BotOK")), Qt::LeftButton);
            } else {
                save(QStringLiteral("etiquetas-folha.png"), &d);
                QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("BotFechar")), Qt::LeftButton);
            }
            return d.result();
        });
        QVERIFY(clickAndWait(f()->btnEtiqSemPreco, f(), &TFormSelvarra::printEnded));
        QCOMPARE(dialogs, QStringList({"Output Options", "Report Preview"}));
        QCOMPARE(w->app.messages, QStringList());
        QCOMPARE(f()->LabelImpressao->text(), QStringLiteral("Visualização fechada sem imprimir"));
    }

    // The label designer on the sample project an installation starts from.
    void designerPicture()
    {
        const QString project = w->app.suite.path(QStringLiteral("rpt/Selvar.rav"));
        DesignerWindow designer;
        QVERIFY(designer.openProject(project));
        designer.resize(1000, 700);
        designer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&designer));
        // The demo suite's own products, which arrive once its database is read.
        QTRY_COMPARE(designer.LabelProdutos->text(), QStringLiteral("Produtos do banco de dados"));
        // And its label models, each with the report that prints it.
        QTRY_COMPARE(designer.PainelModelosBanco->ListaModelosBanco->count(), int(ListWindow::modelDescriptions().size()));
        save(QStringLiteral("etiquetas-editor.png"), &designer);
    }

    // Every picture a guide or the AppStream file names is one this test makes,
    // and none it makes is left unused.
    void guidesShowThePicturesThisTestMakes()
    {
        QSet<QString> shown;
        static const QRegularExpression picture(QStringLiteral("\\]\\(imagens/([^)]+\\.png)\\)"));
        const QDir docs(QStringLiteral(SELVAR_SOURCE_DIR "/docs"));
        for (const QString &guide : docs.entryList({QStringLiteral("*.md")})) {
            QFile file(docs.filePath(guide));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (auto match = picture.globalMatch(QString::fromUtf8(file.readAll())); match.hasNext();)
                shown << match.next().captured(1);
        }
        QVERIFY(!shown.isEmpty());
        for (const QString &name : shown)
            QVERIFY2(written.contains(name), qPrintable(name + QStringLiteral(" is shown by a guide but no test makes it")));
        for (const QString &name : written)
            QVERIFY2(shown.contains(name), qPrintable(name + QStringLiteral(" is made but no guide shows it")));

        QFile metainfo(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/br.com.selvar.selvar.metainfo.xml"));
        QVERIFY(metainfo.open(QIODevice::ReadOnly));
        static const QRegularExpression image(QStringLiteral("<image>[^<]*/([^/<]+\\.png)</image>"));
        int images = 0;
        for (auto match = image.globalMatch(QString::fromUtf8(metainfo.readAll())); match.hasNext(); ++images)
            QVERIFY(written.contains(match.next().captured(1)));
        QVERIFY(images > 0);
    }
};

QTEST_MAIN(TstGuidePictures)
#include "tst_guide_pictures.moc"
