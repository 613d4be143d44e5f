// Sheets as they come out: PDF pages read back with poppler, barcodes decoded
// with zxing-cpp from the rasterised page, cell by cell.
#include "ProjectParser.h"
#include "ReportTestKit.h"
#include "SelvarError.h"
#include "SheetDocument.h"
#include "TRvSystem.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace ReportTestKit;

namespace {

struct Label
{
    QString name;
    QString ean;
    QString price;
    QString priceShown;
};

const QList<Label> Labels = {
    {"ALFA", "7891106001212", "12.5", "12,50"},   {"BRAVO", "7897862600218", "3", "3,00"},
    {"CHARLIE", "7896004703398", "1234.5", "1.234,50"}, {"DELTA", "7891000100103", "0.99", "0,99"},
    {"ECHO", "7894900011517", "7.1", "7,10"},     {"FOXTROT", "7891910000197", "45", "45,00"},
    {"GOLF", "7896098900208", "100", "100,00"},
};

ReportProject project(const QString &text)
{
    return parseReportProject(text, QStringLiteral("teste.rav"));
}

// The job: `skipped` used positions, then the labels, numbered like TABREV2.
QList<LabelRecord> job(int skipped)
{
    QList<LabelRecord> rows;
    for (int i = 0; i < skipped; ++i)
        rows << labelRow(QString(), QString(), QString(), QString());
    int number = 0;
    for (const Label &l : Labels)
        rows << labelRow(QStringLiteral("%1").arg(++number, 6, 10, QLatin1Char('0')), l.name, l.ean, l.price);
    return rows;
}

QString writePdf(const SheetDocument &document, const QTemporaryDir &dir)
{
    TRvSystem engine(QStringLiteral("RvSystem2"));
    OutputOptions options;
    options.destination = OutputOptions::Destination::File;
    options.fileName = dir.filePath(QStringLiteral("folha.pdf"));
    engine.printDocument(document, options);
    return options.fileName;
}

// The words pdftotext finds inside a cell of a page.
QStringList wordsIn(const QList<PdfWord> &words, int page, const QRectF &cell)
{
    QStringList found;
    for (const PdfWord &w : words) {
        if (w.page == page && cell.contains(w.centre))
            found << w.text;
    }
    return found;
}

} // namespace

class SheetOutputTest : public QObject
{
    Q_OBJECT

private slots:
    void gridWalksCells_data()
    {
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("position");
        QTest::addColumn<QRectF>("cell");
        QTest::addColumn<int>("page");
        const int across = int(SheetGrid::Order::AcrossThenDown);
        const int down = int(SheetGrid::Order::DownThenAcross);
        QTest::newRow("first") << across << 0 << QRectF(8, 14, 29, 13) << 0;
        QTest::newRow("second, to the right") << across << 1 << QRectF(40, 14, 29, 13) << 0;
        QTest::newRow("next row") << across << 3 << QRectF(8, 28, 29, 13) << 0;
        QTest::newRow("last of page") << across << 5 << QRectF(72, 28, 29, 13) << 0;
        QTest::newRow("next page starts over") << across << 6 << QRectF(8, 14, 29, 13) << 1;
        QTest::newRow("down first") << down << 1 << QRectF(8, 28, 29, 13) << 0;
        QTest::newRow("then across") << down << 2 << QRectF(40, 14, 29, 13) << 0;
    }

    void gridWalksCells()
    {
        QFETCH(int, order);
        QFETCH(int, position);
        QFETCH(QRectF, cell);
        QFETCH(int, page);
        SheetGrid grid{3, 2, 8, 14, 32, 14, 29, 13, SheetGrid::Order(order)};
        QCOMPARE(grid.cellRect(position), cell);
        QCOMPARE(grid.pageOf(position), page);
        QCOMPARE(grid.pageCount(7), 2);
        QCOMPARE(grid.pageCount(0), 1);
    }

    void sevenLabelsAfterThreeUsedPositions()
    {
        const ReportProject p = project(smallProject());
        const SheetReport &report = p.reports.first();
        const SheetDocument document(report, job(3), {});
        QTemporaryDir dir;
        const QString pdf = writePdf(document, dir);

        // 3 blanks + 7 labels on sheets of 9: two pages.
        QCOMPARE(pdfPageCount(pdf), 2);
        const QList<PdfWord> words = pdfWords(pdf);
        const int dpi = 300;
        const QImage pages[] = {pdfPage(pdf, 0, dpi), pdfPage(pdf, 1, dpi)};
        for (int position = 0; position < 10; ++position) {
            const int page = report.grid.pageOf(position);
            const QRectF cell = report.grid.cellRect(position);
            const QStringList inCell = wordsIn(words, page, cell);
            const QString decoded = decodeCell(pages[page], cell, dpi);
            if (position < 3) {
                QVERIFY2(inCell.isEmpty(), qPrintable(inCell.join(' ')));
                QCOMPARE(decoded, QString());
                continue;
            }
            const Label &label = Labels[position - 3];
            QCOMPARE(inCell.value(0), label.name);
            QVERIFY2(inCell.contains(QStringLiteral("Preço")), qPrintable(inCell.join(' ')));
            QVERIFY2(inCell.contains(label.priceShown), qPrintable(inCell.join(' ')));
            QCOMPARE(decoded, label.ean);
        }
    }

    void everySymbologyReadsBack_data()
    {
        QTest::addColumn<QString>("symbology");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reads");
        QTest::newRow("EAN-13") << "EAN13" << "7891106001212" << "7891106001212";
        QTest::newRow("EAN-13, check digit recomputed") << "ean13" << "7891106001219" << "7891106001212";
        QTest::newRow("EAN-8") << "EAN8" << "1234567" << "12345670";
        QTest::newRow("UPC-A") << "UPCA" << "03600029145" << "036000291452";
        QTest::newRow("Code 128 A") << "CODE128A" << "ABC-123" << "ABC-123";
        QTest::newRow("Code 128 B") << "CODE128B" << "Selvar 7,50" << "Selvar 7,50";
        QTest::newRow("Code 128 C") << "btCode128C" << "12345678" << "12345678";
        QTest::newRow("Code 39") << "CODE39" << "SELVAR-12" << "SELVAR-12";
        QTest::newRow("Interleaved 2 of 5, odd count") << "2E5I" << "1234567" << "01234567";
    }

    void everySymbologyReadsBack()
    {
        QFETCH(QString, symbology);
        QFETCH(QString, text);
        QFETCH(QString, reads);
        // A label just wide enough for EAN-13 at 0.25 mm modules with its quiet
        // zones: the narrow labels of the A4 6 x 20 sheet.
        const ReportProject p = project(QStringLiteral("ativo \"R\"\nrelatorio \"R\"\n  papel A4\n  grade colunas=1 linhas=1\n"
                                                       "  margens esquerda=10 topo=10\n  etiqueta largura=30 altura=12\n"
                                                       "  barras CODIGOEAN x=0 y=0 largura=30 altura=12 simbologia=%1\nfim\n")
                                            .arg(symbology));
        const SheetDocument document(p.reports.first(), {labelRow(QStringLiteral("000001"), QStringLiteral("X"), text, {})}, {});
        const int dpi = 600;
        QCOMPARE(decodeCell(document.pageImage(0, dpi), QRectF(10, 10, 30, 12), dpi), reads);
    }

    void quietZonesStayLight()
    {
        // EAN-13 asks 11 modules left and 7 right free of ink: in a box of 113
        // modules the bars fill exactly modules 12 to 106.
        const ReportProject p = project(QStringLiteral("ativo \"R\"\nrelatorio \"R\"\n  papel A4\n  grade colunas=1 linhas=1\n"
                                                       "  margens esquerda=0 topo=0\n  etiqueta largura=113 altura=20\n"
                                                       "  barras CODIGOEAN x=0 y=0 largura=113 altura=20 legenda=nao\nfim\n"));
        const SheetDocument document(p.reports.first(), {labelRow(QStringLiteral("1"), QStringLiteral("X"), QStringLiteral("7891106001212"), {})}, {});
        const int dpi = 254; // 10 dots per millimetre: one module = 10 dots
        const QImage page = document.pageImage(0, dpi);
        int firstInk = -1, lastInk = -1;
        for (int x = 0; x < 1130; ++x) {
            if (qGray(page.pixel(x, 100)) < 128) {
                if (firstInk < 0)
                    firstInk = x;
                lastInk = x;
            }
        }
        QCOMPARE(firstInk, 110);
        QCOMPARE(lastInk, 1130 - 70 - 1);
    }

    void calibrationMovesEverything()
    {
        const auto nameCentre = [](const QString &text, const QPointF &offset) {
            const ReportProject p = project(text);
            const SheetDocument document(p.reports.first(), job(0), p.offset + p.reports.first().offset + offset);
            QTemporaryDir dir;
            const QList<PdfWord> words = pdfWords(writePdf(document, dir));
            for (const PdfWord &w : words) {
                if (w.text == Labels[0].name)
                    return w.centre;
            }
            return QPointF(-1, -1);
        };
        const QPointF plain = nameCentre(smallProject(), {});
        const QPointF moved = nameCentre(QStringLiteral("deslocamento x=3 y=-2\n") + smallProject(QStringLiteral("  deslocamento x=1,5 y=0\n")), {});
        QVERIFY(plain.x() > 0);
        QVERIFY2(qAbs(moved.x() - plain.x() - 4.5) < 0.2 && qAbs(moved.y() - plain.y() + 2) < 0.2,
                 qPrintable(QStringLiteral("%1,%2 -> %3,%4").arg(plain.x()).arg(plain.y()).arg(moved.x()).arg(moved.y())));
    }

    void productWithoutEanGetsNoBarcode()
    {
        const ReportProject p = project(smallProject());
        const SheetDocument document(p.reports.first(), {labelRow(QStringLiteral("000001"), QStringLiteral("SEMEAN"), QString(), QStringLiteral("2"))}, {});
        const int dpi = 300;
        const QRectF cell = p.reports.first().grid.cellRect(0);
        const QImage page = document.pageImage(0, dpi);
        QCOMPARE(decodeCell(page, cell, dpi), QString());
        // ... but the rest of its label is there.
        QTemporaryDir dir;
        QCOMPARE(wordsIn(pdfWords(writePdf(document, dir)), 0, cell), QStringList({"SEMEAN", "Preço", "R$:", "2,00"}));
    }

    void unwritableFileIsReported()
    {
        const ReportProject p = project(smallProject());
        const SheetDocument document(p.reports.first(), job(0), {});
        QTemporaryDir dir;
        TRvSystem engine(QStringLiteral("RvSystem2"));
        OutputOptions options;
        options.destination = OutputOptions::Destination::File;
        options.fileName = dir.path(); // a folder, not a file
        try {
            engine.printDocument(document, options);
            QFAIL("no error");
        } catch (const SelvarError &e) {
            QCOMPARE(e.message(), QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(dir.path()));
        }
    }

    void emptyJobGivesOneBlankPage()
    {
        const ReportProject p = project(smallProject());
        const SheetDocument document(p.reports.first(), {}, {});
        QTemporaryDir dir;
        const QString pdf = writePdf(document, dir);
        QCOMPARE(pdfPageCount(pdf), 1);
        QVERIFY(pdfWords(pdf).isEmpty());
    }

    // The most a project may ask for, 100 x 100 labels of 1 mm on one A4 page,
    // still prints: 10,001 labels make two pages, the last label on the second.
    void largestGridStillPrints()
    {
        const ReportProject p = project(QStringLiteral("ativo \"R\"\nrelatorio \"R\"\n  papel A4\n"
                                                       "  grade colunas=100 linhas=100\n  margens esquerda=5 topo=5\n"
                                                       "  etiqueta largura=1 altura=1\n  passo horizontal=2 vertical=2.8\n"
                                                       "  texto \"X\" x=0 y=0 largura=1 altura=1 tamanho=4 negrito=sim\nfim\n"));
        QList<LabelRecord> rows;
        for (int i = 1; i <= 10001; ++i)
            rows << labelRow(QString::number(i), QStringLiteral("P"), QString(), QStringLiteral("1.00"));
        const SheetDocument document(p.reports.first(), rows, {});
        QCOMPARE(document.pageCount(), 2);
        const auto darkIn = [](const QImage &image, const QRect &area) {
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        return true;
            return false;
        };
        const int dpi = 254; // 10 dots per mm
        const QImage second = document.pageImage(1, dpi);
        QVERIFY(darkIn(second, QRect(50, 50, 10, 10)));   // label 10,001 in the first cell
        QVERIFY(!darkIn(second, QRect(70, 50, 10, 10)));  // and nothing after it
        const QImage first = document.pageImage(0, dpi);
        QVERIFY(darkIn(first, QRect(50 + 99 * 20, 50 + qRound(99 * 28.0), 10, 10))); // the last cell of a full page
    }
};

QTEST_MAIN(SheetOutputTest)
#include "tst_sheet_output.moc"
