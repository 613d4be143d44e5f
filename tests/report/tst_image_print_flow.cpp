// A thermal report that prints the pharmacy's logo, through the window: with
// the picture in place the job goes out with it as a stored graphic; with the
// picture gone the next print stops with the file, line and cause before a
// byte is written, the job stays in TABREV2 and the files of the previous job
// are left as they were.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"
#include "ReportModal.h"
#include "TFormSelvarra.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

#include <memory>

class ImagePrintFlowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ListWindow> window;
    QString workFolder;
    int starts = 0;
    ProcessStarter::Starter previousStarter;

    QHash<QString, QByteArray> commandFiles()
    {
        QHash<QString, QByteArray> files;
        for (const QString &name : QDir(workFolder).entryList({QStringLiteral("Etiq*")}, QDir::Files)) {
            QFile file(QDir(workFolder).filePath(name));
            if (file.open(QIODevice::ReadOnly))
                files.insert(name, file.readAll());
        }
        return files;
    }

    void print()
    {
        window->form()->EditEtiqInic->setText(QString());
        QVERIFY(clickAndWait(window->form()->btnEtiqSemPreco, window->form(), &TFormSelvarra::printEnded));
        QVERIFY(waitUntilIdle(*window->form()->printHandOver, 30000));
    }

private slots:
    void init()
    {
        window = std::make_unique<ListWindow>();
        QVERIFY(window->start());
        window->app.suite.exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('05', 'Zebra ZPL - logo')"));
        QVERIFY(QDir(window->app.suite.root()).mkpath(QStringLiteral("Interfac01")));
        workFolder = window->app.suite.path(QStringLiteral("Interfac01"));
        QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
        QVERIFY(batch.open(QIODevice::WriteOnly));
        starts = 0;
        previousStarter = ProcessStarter::setStarter([this](const QString &, const QStringList &) {
            ++starts;
            return true;
        });
        ReportModal::setHook([](QDialog &d) -> int {
            d.show();
            QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("BotImprimir")), Qt::LeftButton);
            return d.result();
        });
        QVERIFY(QDir(window->app.suite.root()).mkpath(QStringLiteral("rpt")));
        QFile project(window->app.suite.path(QStringLiteral("rpt/Selvar.rav")));
        QVERIFY(project.open(QIODevice::WriteOnly));
        project.write("ativo \"F\"\n"
                      "relatorio \"F\"\n  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=0 topo=0\n  etiqueta largura=50 altura=30\nfim\n"
                      "relatorio \"Logo\"\n  modelos \"Zebra ZPL\"\n  termica linguagem=ZPL\n  etiqueta largura=40 altura=20\n"
                      "  imagem \"logo.png\" x=1 y=1 largura=20 altura=6\n"
                      "  campo COMPONENTE x=1 y=8 largura=38 altura=4 tamanho=8\n"
                      "fim\n");
        project.close();
        QImage logo(160, 48, QImage::Format_RGB32);
        logo.fill(Qt::white);
        QPainter(&logo).fillRect(QRect(10, 10, 140, 28), Qt::black);
        QVERIFY(logo.save(window->app.suite.path(QStringLiteral("rpt/logo.png"))));

        window->addProduct(QStringLiteral("P1"), QStringLiteral("ALCOOL GEL 70% 500ML"), QStringLiteral("7896004703397"), QStringLiteral("12.9"));
        window->clickBuild();
        window->typeInCell(0, 0, QStringLiteral("2"));
        window->chooseModel(QStringLiteral("Zebra ZPL"));
    }

    void cleanup()
    {
        ReportModal::setHook({});
        ProcessStarter::setStarter(previousStarter);
        window.reset();
    }

    void missingLogoStopsBeforeWriting()
    {
        print();
        QCOMPARE(window->app.messages, QStringList());
        const QHash<QString, QByteArray> previous = commandFiles();
        // One label across the roll: a file a label, each recalling the logo
        // the first one stores in the printer.
        QCOMPARE(previous.size(), 2);
        int stores = 0;
        for (const QByteArray &file : previous) {
            QVERIFY(file.contains("^XGR:"));
            stores += int(file.count("~DGR:"));
        }
        QCOMPARE(stores, 1);
        const int handedOver = starts;
        QVERIFY(handedOver > 0);

        QVERIFY(QFile::remove(window->app.suite.path(QStringLiteral("rpt/logo.png"))));
        window->typeInCell(0, 0, QStringLiteral("3"));
        print();
        QCOMPARE(window->app.messages.size(), 1);
        QVERIFY2(window->app.messages.first().contains(QStringLiteral("linha 12 (imagem): a imagem \"logo.png\" não existe")),
                 qPrintable(window->app.messages.first()));
        QCOMPARE(window->app.suite.scalar(QStringLiteral("select count(*) from TABREV2")).toInt(), 3);
        QCOMPARE(commandFiles(), previous);
        QCOMPARE(starts, handedOver);
    }
};

QTEST_MAIN(ImagePrintFlowTest)
#include "tst_image_print_flow.moc"
