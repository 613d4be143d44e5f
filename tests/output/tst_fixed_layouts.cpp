// The seven fixed sheet layouts created as at start-up, and the margins file
// that keeps the left and right margins of the 6 x 20 layout.
#include "FixedLayoutWindow.h"
#include "FixedLayouts.h"
#include "MarginsFile.h"
#include "QuickRepPage.h"
#include "SelvarError.h"
#include "TestSuite.h"
#include "TZetaDBBarcode.h"
#include "TextFile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>
#include <memory>

class FixedLayoutsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<QWidget> owner;
    QList<QWidget *> windows;

    QuickRepPage &page() { return *relat2Page(windows); }
    QString marginsFile() const { return suite->path(QStringLiteral("GUARDMARG.TXT")); }

    QByteArray marginsBytes() const
    {
        QFile file(marginsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QPair<double, double> margins()
    {
        return {page().pageValue(QuickRepPage::LeftMargin), page().pageValue(QuickRepPage::RightMargin)};
    }

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        owner = std::make_unique<QWidget>();
        windows = createFixedLayoutWindows(owner.get());
        QVERIFY(relat2Page(windows));
    }

    void cleanup()
    {
        owner.reset();
        suite.reset();
    }

    // Created in start-up order, hidden, with the titles as the suite wrote
    // them (leading blanks and all) and their elements in the label cell.
    void windowsInOrder()
    {
        QStringList names, titles, elements;
        for (QWidget *window : windows) {
            QVERIFY(window->isHidden());
            names << window->objectName();
            titles << window->windowTitle();
            QStringList cell;
            for (QLabel *label : window->findChild<QWidget *>(QStringLiteral("DetailBand1"))->findChildren<QLabel *>())
                cell << label->objectName();
            elements << cell.join(QLatin1Char(' '));
        }
        QCOMPARE(names, QStringList({QStringLiteral("FormRelatorio"), QStringLiteral("FormRelat2"),
                                     QStringLiteral("FormRelCodBarra"), QStringLiteral("FormRelCodBarra2"),
                                     QStringLiteral("FormEtiqAlca"), QStringLiteral("FormRelat4"),
                                     QStringLiteral("FormRelCodBarra4")}));
        QCOMPARE(titles, QStringList({QStringLiteral(" Formulário de 4 colunas x 15 linhas - 60 etiquetas - A4"),
                                      QStringLiteral(" Formulário de 6 colunas x 20 linhas - 120 etiquetas - A4"),
                                      QStringLiteral("  Formulário de 4 colunas x 15 linhas - 60 etiquetas - A4"),
                                      QStringLiteral("  Formulário de 6 colunas x 20 linhas - 120 etiquetas - A4"),
                                      QStringLiteral("FormEtiqAlca"),
                                      QStringLiteral(" Etiquetas - 4 colunas x 20 linhas - 80 etiquetas - Carta"),
                                      QStringLiteral("FormRelCodBarra4")}));
        QCOMPARE(elements, QStringList({QStringLiteral("QRDBText2 QRDBText3"), QStringLiteral("QRDBText2 qrlbl1 qrdbtxtPreco1"),
                                        QStringLiteral("QRDBText2"), QString(), QStringLiteral("QRDBText2 qrlbl1 qrdbtxtPreco1"),
                                        QStringLiteral("QRDBText1"), QString()}));
    }

    // The page of the 6 x 20 layout by index, in millimetres, kept in tenths.
    void relat2PageValues()
    {
        const QList<double> millimetres{10, 297, 14, 210, 8, 7, 3};
        for (int i = 0; i < QuickRepPage::ValueCount; ++i) {
            QCOMPARE(page().pageValue(i), millimetres[i]);
            QCOMPARE(page().storedValue(i), millimetres[i] * 10);
        }
        QCOMPARE(page().paperSize(), QStringLiteral("A4"));
        QCOMPARE(page().columns(), 6);
    }

    // The handle layout takes the 6 x 20 cell's elements, moving and shrinking the name.
    void etiqAlcaDerivesFromRelat2()
    {
        const auto *relat2 = qobject_cast<FixedLayoutWindow *>(windows[1]);
        const auto *alca = qobject_cast<FixedLayoutWindow *>(windows[4]);
        const LayoutElement &name = alca->layout().elements[0];
        QCOMPARE(name.content, QStringLiteral("Componente"));
        QCOMPARE(name.fontPoints, 6.0);
        QCOMPARE(name.leftMm, 28.0);
        QCOMPARE(name.topMm, 1.32);
        QCOMPARE(alca->layout().elements.mid(1).size(), 2);
        QCOMPARE(alca->layout().elements[2].content, relat2->layout().elements[2].content);
        QCOMPARE(alca->layout().cellWidthMm, 81.80);
        QCOMPARE(relat2->findChild<QLabel *>(QStringLiteral("qrlbl1"))->text(), QStringLiteral("Preço R$:"));
        QVERIFY(relat2->layout().firstPageHeader && relat2->layout().lastPageFooter && relat2->layout().compression);
        QVERIFY(!qobject_cast<FixedLayoutWindow *>(windows[0])->layout().compression);
    }

    // The barcode control of the 6 x 20 cell keeps its stored properties and,
    // with no data source to bind to, the text it was stored with.
    void relat2Barcode()
    {
        for (int order : {1, 4}) {
            auto *barcode = windows[order]->findChild<TZetaDBBarcode *>(QStringLiteral("zetadbrcdCodigoEAN"));
            QVERIFY(barcode);
            QCOMPARE(barcode->texto(), QStringLiteral("7891106001212"));
            QCOMPARE(barcode->tipo(), btCodeEAN13);
            QCOMPARE(barcode->legendaPos(), 2);
            QCOMPARE(barcode->esquerda(), 10);
            QCOMPARE(barcode->superior(), 10);
            QCOMPARE(barcode->altura(), 60);
            QVERIFY(barcode->legenda());
            QCOMPARE(barcode->legendaFont().family(), QStringLiteral("MS Sans Serif"));
            QVERIFY(barcode->legendaFont().bold());
            QCOMPARE(barcode->legendaFont().pointSize(), 8);
            QCOMPARE(barcode->dataField(), QStringLiteral("CodigoEAN"));
            QVERIFY(!barcode->dataSource());
            QCOMPARE(barcode->pos(), QPoint(4, 32));
        }
        QVERIFY(!windows[0]->findChild<TZetaDBBarcode *>());
    }

    void pageValueByIndex()
    {
        page().setPageValue(QuickRepPage::LeftMargin, 12.5);
        QCOMPARE(page().pageValue(QuickRepPage::LeftMargin), 12.5);
        QCOMPARE(page().storedValue(QuickRepPage::LeftMargin), 125.0);
        // The paper size fixes length and width.
        page().setPageValue(QuickRepPage::PaperWidth, 100);
        QCOMPARE(page().pageValue(QuickRepPage::PaperWidth), 210.0);
    }

    // A fresh start writes "8" and "7"; the next activation reads them back.
    void marginsFileCreatedThenRead()
    {
        MarginsFile::step(page());
        QCOMPARE(marginsBytes(), QByteArray("8\r\n7\r\n"));
        QCOMPARE(margins(), qMakePair(8.0, 7.0));
        page().setPageValue(QuickRepPage::LeftMargin, 1);
        MarginsFile::step(page());
        QCOMPARE(margins(), qMakePair(8.0, 7.0));
        QCOMPARE(marginsBytes(), QByteArray("8\r\n7\r\n"));
    }

    void marginsFileRead_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::addColumn<QString>("error");
        QTest::newRow("decimal comma") << QByteArray("12,5\r\n9,25\r\n") << 12.5 << 9.25 << QString();
        QTest::newRow("decimal point and blanks") << QByteArray(" 3.5\r\n0\r\n") << 3.5 << 0.0 << QString();
        QTest::newRow("bad first line: both as they were")
            << QByteArray("abc\r\n9\r\n") << 8.0 << 7.0 << QStringLiteral("'abc' is not a valid floating point value");
        QTest::newRow("bad second line: the right one as it was")
            << QByteArray("12,5\r\n9x\r\n") << 12.5 << 7.0 << QStringLiteral("'9x' is not a valid floating point value");
        QTest::newRow("one line only") << QByteArray("10\r\n") << 10.0 << 7.0
                                       << QStringLiteral("'' is not a valid floating point value");
    }

    void marginsFileRead()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        QFile out(suite->path(QStringLiteral("guardmarg.txt"))); // found in any letter case
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();
        QString raised;
        try {
            MarginsFile::step(page());
        } catch (const ConvertError &e) {
            raised = e.message();
        }
        QCOMPARE(raised, error);
        QTEST(margins().first, "left");
        QTEST(margins().second, "right");
    }

    // A value written is read back as it was.
    void marginTextRoundTrip_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 8.0 << QStringLiteral("8");
        QTest::newRow("half") << 12.5 << QStringLiteral("12,5");
        QTest::newRow("tenths") << 0.1 << QStringLiteral("0,1");
        QTest::newRow("negative") << -2.75 << QStringLiteral("-2,75");
    }

    void marginTextRoundTrip()
    {
        QFETCH(double, value);
        QTEST(MarginsFile::marginText(value), "text");
        QCOMPARE(MarginsFile::marginValue(MarginsFile::marginText(value)), value);
    }

    // Without the suite folder the file cannot be created: the I/O error is
    // raised, and the next activation, with the folder back, creates it.
    void uncreatableMarginsFileRetried()
    {
        const QString root = suite->root();
        qputenv("BOTICON_ROOT", QDir(root).filePath(QStringLiteral("ausente")).toLocal8Bit());
        QVERIFY_THROWS_EXCEPTION(InOutError, MarginsFile::step(page()));
        QVERIFY(QDir(root).mkpath(QStringLiteral("ausente")));
        MarginsFile::step(page());
        QCOMPARE(TextFile::readLines(QDir(root).filePath(QStringLiteral("ausente/GUARDMARG.TXT"))),
                 QStringList({QStringLiteral("8"), QStringLiteral("7")}));
    }
};

QTEST_MAIN(FixedLayoutsTest)
#include "tst_fixed_layouts.moc"
