// Lines, frames, turned texts and barcodes, QR codes, DataMatrix and dates:
// written by the project file, printed in EPL2, ZPL and on a sheet, and read
// back from the printed picture (the renderer's image of the command bytes,
// the sheet engine's page) by pixel count and by zxing-cpp.
#include "DrawnElements.h"
#include "DrawnWarnings.h"
#include "MonoPicture.h"
#include "PrinterCheck.h"
#include "ProjectFile.h"
#include "ProjectError.h"
#include "ProjectParser.h"
#include "ProjectWriter.h"
#include "ReportTestKit.h"
#include "SheetDocument.h"
#include "ThermalRenderer.h"
#include "ThermalReportFiles.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString File = QStringLiteral("c:\\boticon\\rpt\\Selvar.rav");
const QString Url = QStringLiteral("https://farmacia.example/p/");

// A logo-like picture: a dark band, a grey disc, a gradient and thin strokes.
QImage logo()
{
    QImage image(600, 200, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(0, 0, 600, 40), QColor(20, 60, 20));
    painter.setBrush(QColor(120, 120, 120));
    painter.drawEllipse(QRect(20, 60, 120, 120));
    QLinearGradient ramp(200, 0, 580, 0);
    ramp.setColorAt(0, Qt::black);
    ramp.setColorAt(1, Qt::white);
    painter.fillRect(QRect(200, 60, 380, 60), ramp);
    painter.setPen(QPen(Qt::black, 3));
    for (int x = 200; x < 580; x += 12)
        painter.drawLine(x, 130, x + 8, 190);
    return image;
}

QList<LabelRecord> products()
{
    using ReportTestKit::labelRow;
    return {
        labelRow(QStringLiteral("000001"), QStringLiteral("Dipirona Sódica 500 mg"), QStringLiteral("7891058017392"), QStringLiteral("4.50")),
        labelRow(QStringLiteral("000002"), QStringLiteral("Paracetamol 750 mg"), QStringLiteral("7896004711225"), QStringLiteral("1234.50")),
        labelRow(QStringLiteral("000003"), QStringLiteral("Água Boricada 3% 100 ml"), QStringLiteral("7891000100103"), QStringLiteral("12.90")),
        labelRow(QStringLiteral("000004"), QStringLiteral("Álcool 70%"), QStringLiteral("7898000000013"), QStringLiteral("8.75")),
    };
}

// Every new kind on one 50 x 30 mm label; `head` makes it thermal or a sheet.
QString project(const QString &head)
{
    return QStringLiteral("ativo \"Folha\"\n"
                          "relatorio \"Folha\"\n  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=10 topo=10\n"
                          "  etiqueta largura=50 altura=30\nfim\n"
                          "relatorio \"Novo\"\n  modelos \"Novo\"\n%1\n  etiqueta largura=50 altura=30\n"
                          "  quadro x=0 y=0 largura=50 altura=30 espessura=0.25\n"
                          "  linha x=2 y=11 largura=20 espessura=0.5\n"
                          "  linha x=23 y=1 altura=10 espessura=0.25\n"
                          "  preco PRECO1 x=44 y=2 largura=5 altura=26 tamanho=10 rotacao=90\n"
                          "  barras CODIGOEAN x=25 y=1 largura=11 altura=28 rotacao=270\n"
                          "  qr \"%2\" + CODIGOEAN x=1 y=13 largura=16 altura=16\n"
                          "  datamatrix CODIGOEAN x=36 y=2 largura=8 altura=8\n"
                          "  data \"mm/aaaa\" x=2 y=2 largura=18 altura=4 tamanho=8 meses=6\n"
                          "fim\n")
        .arg(head, Url);
}

const SheetReport &reportNamed(const ReportProject &p, const QString &name)
{
    return *p.findReport(name);
}

bool dark(const QImage &image, int x, int y)
{
    return image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128;
}

// Dark pixels in a row from `start` in steps of `step` until the first light one.
int darkRun(const QImage &image, QPoint at, QPoint step)
{
    int n = 0;
    while (dark(image, at.x(), at.y())) {
        ++n;
        at += step;
    }
    return n;
}

int darkCount(const QImage &image, const QRect &area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            n += dark(image, x, y);
    }
    return n;
}

QString faultOf(const QString &text)
{
    try {
        parseReportProject(text, File);
    } catch (const ProjectError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class DrawnElementsTest : public QObject
{
    Q_OBJECT

private slots:
    void thermalLabelsReadBack_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("dpi");
        QTest::newRow("ZPL 203") << QStringLiteral("ZPL") << 203;
        QTest::newRow("ZPL 300") << QStringLiteral("ZPL") << 300;
        QTest::newRow("EPL2 203") << QStringLiteral("EPL2") << 203;
        QTest::newRow("EPL2 300") << QStringLiteral("EPL2") << 300;
    }

    // Each product's label as the printer gets it: the frame and the lines
    // whole dots where and as thick as asked, the QR code and the DataMatrix
    // decoding to the product's own text, the turned EAN-13 scanning, the
    // turned price inside its box, nothing the renderer cannot image.
    void thermalLabelsReadBack()
    {
        QFETCH(QString, language);
        QFETCH(int, dpi);
        const ReportProject p = parseReportProject(project(QStringLiteral("  termica linguagem=%1 resolucao=%2").arg(language).arg(dpi)), File);
        const SheetReport &report = reportNamed(p, QStringLiteral("Novo"));
        const double k = dotsPerMm(dpi);
        for (const LabelRecord &product : products()) {
            const QString ean = product.value(QStringLiteral("CODIGOEAN")).display;
            const QList<QByteArray> files = thermalCommandFiles(report, {product}, QPointF());
            QCOMPARE(files.size(), 1);
            QCOMPARE(printerCheck(files, dpi), QString());
            const RenderedFile rendered = readCommandFile(files[0], dpi);
            QVERIFY2(rendered.faults.isEmpty(), qPrintable(rendered.faults.value(0).message));
            QCOMPARE(rendered.images.size(), 1);
            const PrintImage &printed = rendered.images[0];
            const QImage image = paintPrintImage(printed, QRect(QPoint(0, 0), printed.declared));

            // The frame: 0,25 mm is 2 dots at 203 dpi and 3 at 300, on every side.
            const int frame = int(std::lround(0.25 * k));
            const int w = int(std::lround(50 * k)), h = int(std::lround(30 * k));
            QCOMPARE(darkRun(image, QPoint(w / 3, 0), QPoint(0, 1)), frame);
            QCOMPARE(darkRun(image, QPoint(w / 3, h - 1), QPoint(0, -1)), frame);
            QCOMPARE(darkRun(image, QPoint(0, h / 2), QPoint(1, 0)), frame);
            QCOMPARE(darkRun(image, QPoint(w - 1, h / 2), QPoint(-1, 0)), frame);

            // The line across: 20 mm by 0,5 mm from (2, 11), every dot and no more.
            const QRect line(int(std::lround(2 * k)), int(std::lround(11 * k)), int(std::lround(20 * k)), int(std::lround(0.5 * k)));
            QCOMPARE(darkCount(image, line), line.width() * line.height());
            QCOMPARE(darkCount(image, line.adjusted(-3, -3, 3, 3)), line.width() * line.height());
            // The line down: 0,25 mm wide.
            QCOMPARE(darkRun(image, QPoint(int(std::lround(23 * k)), int(std::lround(5 * k))), QPoint(1, 0)), frame);

            const auto area = [&](double x, double y, double width, double height) {
                return image.copy(QRect(int(x * k), int(y * k), int(width * k), int(height * k)));
            };
            QCOMPARE(ReportTestKit::decodeMatrixImage(area(0.5, 12.5, 17, 17)), Url + ean);
            QCOMPARE(ReportTestKit::decodeMatrixImage(area(35.5, 1.5, 9, 9)), ean);
            QCOMPARE(ReportTestKit::decodeImage(area(24.5, 0.5, 12, 29)), ean);

            // The price turned a quarter, inside its box.
            const QRect priceBox(int(std::lround(44 * k)), int(std::lround(2 * k)), int(std::lround(5 * k)), int(std::lround(26 * k)));
            const QString price = SheetDocument::textOf(report.elements[3], product);
            bool found = false;
            for (const PrintedElement &e : printed.elements) {
                if (e.kind == PrintedElement::Kind::Text && e.texts.value(0).text == price) {
                    found = true;
                    QVERIFY(priceBox.contains(e.bounds()));
                    QVERIFY(e.bounds().height() > e.bounds().width()); // reads along the box's height
                }
            }
            QVERIFY2(found, qPrintable(price));
        }
    }

    // The same label on a sheet at a printer's resolution: whole pixels, codes
    // that read, the turned EAN-13 scanning.
    void sheetLabelReadsBack()
    {
        const ReportProject p = parseReportProject(project({}).replace(QStringLiteral("\"Novo\"\n"),
                                                                       QStringLiteral("\"Novo\"\n  papel A4\n  grade colunas=1 linhas=1\n"
                                                                                      "  margens esquerda=10 topo=10\n")),
                                                   File);
        const SheetReport &report = reportNamed(p, QStringLiteral("Novo"));
        constexpr int Dpi = 300;
        const double k = Dpi / 25.4;
        for (const LabelRecord &product : products()) {
            const QString ean = product.value(QStringLiteral("CODIGOEAN")).display;
            const QImage page = SheetDocument(report, {product}, QPointF()).pageImage(0, Dpi);
            const auto area = [&](double x, double y, double width, double height) {
                return page.copy(QRect(int((10 + x) * k), int((10 + y) * k), int(width * k), int(height * k)));
            };
            QCOMPARE(ReportTestKit::decodeMatrixImage(area(0.5, 12.5, 17, 17)), Url + ean);
            QCOMPARE(ReportTestKit::decodeMatrixImage(area(35.5, 1.5, 9, 9)), ean);
            QCOMPARE(ReportTestKit::decodeImage(area(24.5, 0.5, 12, 29)), ean);
            // 0,5 mm at 300 dpi is 6 pixels (5,9 rounded), the same along the whole line.
            const int top = int(std::lround((10 + 11) * k));
            for (double x = 3; x < 21; x += 2.5)
                QCOMPARE(darkRun(page, QPoint(int((10 + x) * k), top), QPoint(0, 1)), 6);
            QCOMPARE(darkRun(page, QPoint(int((10 + 25) * k), int(std::lround(10 * k))), QPoint(0, 1)), 3);
        }
    }

    // A logo of 300 x 100 dots at 203 dpi (450 x 150 at 300): what the printer
    // images from the bytes is the converted picture dot for dot, where asked.
    void logoPrintsDotForDot_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QString>("conversion");
        QTest::newRow("ZPL 203") << QStringLiteral("ZPL") << 203 << QString();
        QTest::newRow("ZPL 300 dithered") << QStringLiteral("ZPL") << 300 << QStringLiteral("pontilhado=sim");
        QTest::newRow("EPL2 203 dithered") << QStringLiteral("EPL2") << 203 << QStringLiteral("pontilhado=sim");
        QTest::newRow("EPL2 300") << QStringLiteral("EPL2") << 300 << QStringLiteral("limiar=70");
    }

    void logoPrintsDotForDot()
    {
        QFETCH(QString, language);
        QFETCH(int, dpi);
        QFETCH(QString, conversion);
        QTemporaryDir folder;
        QVERIFY(logo().save(folder.filePath(QStringLiteral("logo.png"))));
        const QString text = QStringLiteral("ativo \"F\"\nrelatorio \"F\"\n papel A4\n grade colunas=1 linhas=1\n margens esquerda=0 topo=0\n"
                                            " etiqueta largura=50 altura=30\nfim\nrelatorio \"T\"\n termica linguagem=%1 resolucao=%2\n"
                                            " etiqueta largura=50 altura=30\n imagem \"logo.png\" x=2 y=3 largura=37.5 altura=12.5 %3\nfim\n")
                                 .arg(language)
                                 .arg(dpi)
                                 .arg(conversion);
        const ReportProject p = parseReportProject(text, folder.filePath(QStringLiteral("Selvar.rav")));
        const SheetReport &report = reportNamed(p, QStringLiteral("T"));
        const double k = dotsPerMm(dpi);
        const CellElement &element = report.elements[0];
        const QImage expected = monoPicture(logo(), QSize(int(37.5 * k), int(12.5 * k)), {element.threshold, element.dither});
        QCOMPARE(expected.size(), QSize(int(37.5 * k), int(12.5 * k)));
        // Three labels one across: the logo goes to the printer once, in the
        // first file, and the last label, read after the others as the printer
        // gets them, recalls it.
        const QList<QByteArray> files = thermalCommandFiles(report, products().mid(0, 3), QPointF());
        QCOMPARE(files.size(), 3);
        const QByteArray store = language == QLatin1String("ZPL") ? QByteArray("~DG") : QByteArray("GM\"");
        QCOMPARE(files[0].count(store) + files[1].count(store) + files[2].count(store), 1);
        QVERIFY(files[2].size() < files[0].size() / 10);
        QCOMPARE(printerCheck(files, dpi), QString());
        PrinterMemory printer;
        readCommandFile(files[0], dpi, &printer);
        readCommandFile(files[1], dpi, &printer);
        const RenderedFile rendered = readCommandFile(files[2], dpi, &printer);
        QVERIFY2(rendered.faults.isEmpty(), qPrintable(rendered.faults.value(0).message));
        const QImage image = paintPrintImage(rendered.images.value(0), QRect(0, 0, int(50 * k), int(30 * k)));
        const QPoint at(int(2 * k), int(3 * k));
        int differing = 0, darkDots = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                differing += monoDark(expected, x, y) != dark(image, at.x() + x, at.y() + y);
                darkDots += monoDark(expected, x, y);
            }
        }
        QCOMPARE(differing, 0);
        QVERIFY(darkDots > expected.width() * expected.height() / 10);
        // Nothing printed around it.
        QCOMPARE(darkCount(image, QRect(QPoint(0, 0), image.size())), darkDots);
    }

    // The threshold decides a flat grey whole; dithering spreads it as dots
    // in proportion to its darkness.
    void greysBecomeDots()
    {
        QImage grey(80, 40, QImage::Format_RGB32);
        grey.fill(QColor(102, 102, 102)); // 40 % of white
        const auto share = [](const QImage &mono) {
            int n = 0;
            for (int y = 0; y < mono.height(); ++y)
                for (int x = 0; x < mono.width(); ++x)
                    n += monoDark(mono, x, y);
            return double(n) / (mono.width() * mono.height());
        };
        QCOMPARE(share(monoPicture(grey, grey.size(), {50, false})), 1.0);
        QCOMPARE(share(monoPicture(grey, grey.size(), {30, false})), 0.0);
        QVERIFY(std::abs(share(monoPicture(grey, grey.size(), {50, true})) - 0.6) < 0.03);
        // A transparent corner is the label's white.
        QImage clear(10, 10, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QCOMPARE(share(monoPicture(clear, clear.size(), {50, false})), 0.0);
    }

    // A missing picture: the print stops at its line before a byte is written;
    // the designer warns of it, and of a code its box cannot hold.
    // A 30 x 30 mm QR at 300 dpi holds 12 dots a module; ZPL's ^BQ takes 1 to
    // 10: it is written at 10, said so, and reads back from the preview.
    void zplQrReducedToTenDots()
    {
        const QString head = QStringLiteral("  termica linguagem=ZPL resolucao=300\n  etiqueta largura=40 altura=40\n"
                                            "  qr CODIGOEAN x=2 y=2 largura=30 altura=30\nfim\n");
        const QString text = QStringLiteral("ativo \"Folha\"\nrelatorio \"Folha\"\n  papel A4\n  grade colunas=1 linhas=1\n"
                                            "  margens esquerda=10 topo=10\n  etiqueta largura=50 altura=30\nfim\n"
                                            "relatorio \"Z\"\n  modelos \"Z\"\n")
                             + head;
        QCOMPARE(faultOf(text), QString());
        const ReportProject p = parseReportProject(text, File);
        const SheetReport &report = reportNamed(p, QStringLiteral("Z"));
        QCOMPARE(drawnElementWarnings(report, products().mid(0, 1)),
                 QStringList{QStringLiteral("Código QR CODIGOEAN: o QR foi reduzido para 10 pontos por módulo; a caixa comporta 12 (o ZPL aceita de 1 a 10)")});
        const QList<QByteArray> files = thermalCommandFiles(report, products().mid(0, 1), QPointF());
        QVERIFY2(files[0].contains("^BQN,2,10^"), files[0].constData());
        QCOMPARE(printerCheck(files, 300), QString());
        const RenderedFile rendered = readCommandFile(files[0], 300);
        QVERIFY(rendered.faults.isEmpty());
        const PrintImage &printed = rendered.images[0];
        QCOMPARE(printed.elements.first().barBounds().size(), QSize(210, 210));
        QCOMPARE(ReportTestKit::decodeMatrixImage(paintPrintImage(printed, QRect(QPoint(0, 0), printed.declared))), QStringLiteral("7891058017392"));
    }

    void missingImageIsToldBeforePrinting()
    {
        QTemporaryDir folder;
        QDir(folder.path()).mkpath(QStringLiteral("rpt"));
        QFile file(folder.filePath(QStringLiteral("rpt/Selvar.rav")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(project(QStringLiteral("  termica linguagem=ZPL"))
                       .replace(QStringLiteral("fim\n"), QStringLiteral("  imagem \"img\\logo.png\" x=1 y=1 largura=10 altura=5\nfim\n"))
                       .toUtf8());
        file.close();
        const ReportProject p = loadReportProject(file.fileName());
        const SheetReport &report = reportNamed(p, QStringLiteral("Novo"));
        QCOMPARE(imageFile(report, report.elements.last()), folder.filePath(QStringLiteral("rpt/img/logo.png")));
        LabelRecord longUrl = products()[0];
        const QString digits(600, QLatin1Char('7'));
        longUrl.set(QStringLiteral("CODIGOEAN"), {digits, digits});
        // At the readable 0,25 mm (2 dots at 203 dpi) the symbol and its 4 + 4 modules of margin.
        const int modules = encodeMatrixCode(MatrixSymbology::QrCode, Url + digits)->columns + 8;
        const QStringList warnings = drawnElementWarnings(report, {products()[0], longUrl});
        QCOMPARE(warnings.size(), 3);
        QCOMPARE(warnings[0], QStringLiteral("Código QR \"%1\" + CODIGOEAN não cabe na caixa de 16 × 16 mm com módulo de 0,25 mm: "
                                             "precisa de %2 × %2 mm (%3 × %3 módulos com as margens)")
                                  .arg(Url, brNumber(std::ceil(modules * 2.5) / 10))
                                  .arg(modules));
        QVERIFY2(warnings[1].startsWith(QStringLiteral("DataMatrix CODIGOEAN não cabe na caixa de 8 × 8 mm")), qPrintable(warnings[1]));
        QCOMPARE(warnings[2], QStringLiteral("A imagem \"img\\logo.png\" não existe (procurada em %1)")
                                  .arg(QDir::toNativeSeparators(folder.filePath(QStringLiteral("rpt/img/logo.png")))));

        QDir(folder.path()).mkpath(QStringLiteral("rpt/img"));
        // A module asked for below what readers read is told, though it fits.
        SheetReport fine = report;
        fine.elements[6].moduleMm = 0.125;
        QVERIFY2(drawnElementWarnings(fine, products().mid(0, 1)).contains(QStringLiteral("DataMatrix CODIGOEAN com módulo de 0,12 mm, abaixo de 0,25 mm: leitores podem não ler")),
                 qPrintable(drawnElementWarnings(fine, products().mid(0, 1)).join('\n')));
        // A file that is no picture is told as such.
        QVERIFY(QFile::copy(folder.filePath(QStringLiteral("rpt/Selvar.rav")), folder.filePath(QStringLiteral("rpt/img/logo.png"))));
        QVERIFY2(drawnElementWarnings(report, products()).value(0).startsWith(QStringLiteral("A imagem \"img\\logo.png\" não pôde ser lida (")),
                 qPrintable(drawnElementWarnings(report, products()).value(0)));
        QVERIFY(QFile::remove(folder.filePath(QStringLiteral("rpt/img/logo.png"))));
        QVERIFY(logo().save(folder.filePath(QStringLiteral("rpt/img/logo.png"))));
        QVERIFY2(drawnElementWarnings(report, products()).isEmpty(), qPrintable(drawnElementWarnings(report, products()).join('\n')));
    }

    void statementsAreReadAndWrittenBack()
    {
        const ReportProject p = parseReportProject(project(QStringLiteral("  termica linguagem=ZPL")), File);
        const QList<CellElement> &elements = reportNamed(p, QStringLiteral("Novo")).elements;
        QCOMPARE(elements.size(), 8);
        QCOMPARE(elements[1].box, QRectF(2, 11, 20, 0.5));
        QCOMPARE(elements[2].box, QRectF(23, 1, 0.25, 10));
        QCOMPARE(elements[3].rotation, 90);
        QCOMPARE(elements[5].parts, (QList<ValuePart>{{Url, false}, {QStringLiteral("CODIGOEAN"), true}}));
        QCOMPARE(elements[5].fieldsRead(), QStringList{QStringLiteral("CODIGOEAN")});
        QCOMPARE(elements[7].monthOffset, 6);
        // Every element written back reads as itself.
        QString again = QStringLiteral("ativo \"F\"\nrelatorio \"F\"\n papel A4\n grade colunas=1 linhas=1\n margens esquerda=0 topo=0\n"
                                       " etiqueta largura=50 altura=30\n");
        CellElement qr = elements[5];
        qr.qrLevel = QrLevel::H;
        qr.moduleMm = 0.5;
        qr.parts.append({QStringLiteral("?a=\"1\""), false});
        CellElement image;
        image.kind = CellElement::Kind::Image;
        image.value = QStringLiteral("logos\\Farmácia \"Central\".png");
        image.box = QRectF(1, 2, 30, 10);
        image.threshold = 65;
        image.dither = true;
        for (const CellElement &e : elements.mid(0, 5) + QList<CellElement>{qr} + elements.mid(6) + QList<CellElement>{image})
            again += elementStatement(e) + QLatin1Char('\n');
        const QList<CellElement> read = parseReportProject(again + QStringLiteral("fim\n"), File).reports[0].elements;
        QCOMPARE(read.size(), elements.size() + 1);
        for (int i = 0; i < read.size(); ++i) {
            CellElement expected = i == 5 ? qr : i == elements.size() ? image : elements[i];
            expected.line = read[i].line;
            QVERIFY2(read[i] == expected, qPrintable(elementStatement(read[i])));
        }
    }

    void faultsNameTheLine_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("fault");
        QTest::newRow("line both ways") << "linha x=1 y=1 largura=10 altura=2" << "linha"
                                        << "dê o comprimento da linha em 'largura' (linha deitada) ou em 'altura' (linha em pé), um dos dois";
        QTest::newRow("line too thin") << "linha x=1 y=1 largura=10 espessura=0.05" << "linha"
                                       << "'espessura' de 0,05 mm não se imprime; use ao menos 0,1 mm";
        QTest::newRow("frame filled") << "quadro x=1 y=1 largura=4 altura=4 espessura=2.5" << "quadro"
                                      << "'espessura' de 2,5 mm enche o quadro de 4 × 4 mm";
        QTest::newRow("qr without plus") << "qr \"https://x/\" CODIGOEAN x=0 y=0 largura=10 altura=10" << "qr"
                                         << "falta '+' antes de 'CODIGOEAN'";
        QTest::newRow("qr plus at the end") << "qr CODIGOEAN + x=0 y=0 largura=10 altura=10" << "qr"
                                            << "'+' sem um campo ou texto depois dele";
        QTest::newRow("qr level") << "qr CODIGOEAN x=0 y=0 largura=10 altura=10 correcao=X" << "qr"
                                  << "'X' não serve para 'correcao' (use L, M, Q, H)";
        QTest::newRow("rotation") << "campo COMPONENTE x=0 y=0 largura=10 altura=5 rotacao=45" << "campo"
                                  << "'45' não serve para 'rotacao' (use 0, 90, 180, 270)";
        QTest::newRow("date format") << "data \"dd-mm\" x=0 y=0 largura=10 altura=5" << "data"
                                     << "formato de data desconhecido 'dd-mm' (use dd/mm/aaaa, mm/aaaa, dd/mm/aa)";
        QTest::newRow("date offset") << "data x=0 y=0 largura=10 altura=5 dias=1.5" << "data"
                                     << "'dias' deve ser um número inteiro de -3660 a 3660";
        QTest::newRow("off the label") << "quadro x=10 y=0 largura=45 altura=30" << "quadro"
                                       << "o elemento vai até 55 × 30 mm e sai da etiqueta de 50 × 30 mm";
    }

    void faultsNameTheLine()
    {
        QFETCH(QString, statement);
        QFETCH(QString, keyword);
        QFETCH(QString, fault);
        const QString text = QStringLiteral("ativo \"F\"\nrelatorio \"F\"\n papel A4\n grade colunas=1 linhas=1\n"
                                            " margens esquerda=0 topo=0\n etiqueta largura=50 altura=30\n %1\nfim\n")
                                 .arg(statement);
        QCOMPARE(faultOf(text), QStringLiteral("Projeto de relatório \"%1\", linha 7 (%2): %3").arg(File, keyword, fault));
    }

    // A turned barcode runs along its box's height: that is what must hold it.
    void turnedBarcodeNeedsItsHeight()
    {
        const QString head = QStringLiteral("ativo \"F\"\nrelatorio \"F\"\n papel A4\n grade colunas=1 linhas=1\n margens esquerda=0 topo=0\n"
                                            " etiqueta largura=50 altura=30\nfim\nrelatorio \"T\"\n termica linguagem=ZPL\n etiqueta largura=50 altura=30\n");
        QVERIFY(faultOf(head + QStringLiteral(" barras CODIGOEAN x=0 y=0 largura=40 altura=10 rotacao=90\nfim\n"))
                    .contains(QStringLiteral("a caixa tem 10 mm")));
        QCOMPARE(faultOf(head + QStringLiteral(" barras CODIGOEAN x=0 y=0 largura=10 altura=28 rotacao=90\nfim\n")), QString());
    }

    void datesCountFromThePrintDay()
    {
        CellElement date;
        date.kind = CellElement::Kind::Date;
        QCOMPARE(dateText(date, QDate(2026, 1, 31)), QStringLiteral("31/01/2026"));
        date.monthOffset = 1;
        QCOMPARE(dateText(date, QDate(2026, 1, 31)), QStringLiteral("28/02/2026")); // the month's last day, not 3 March
        date.dateFormat = QStringLiteral("mm/aaaa");
        date.monthOffset = 0;
        date.dayOffset = 365;
        QCOMPARE(dateText(date, QDate(2026, 12, 10)), QStringLiteral("12/2027"));
        date.dateFormat = QStringLiteral("dd/mm/aa");
        date.dayOffset = -1;
        QCOMPARE(dateText(date, QDate(2027, 1, 1)), QStringLiteral("31/12/26"));
        // The job's labels and a sheet share the day they were made on.
        CellElement printed = date;
        LabelRecord row;
        QCOMPARE(SheetDocument::textOf(printed, row, QDate(2027, 3, 1)), QStringLiteral("28/02/27"));
    }

    // A product whose field is empty gets no code at all, rather than one
    // carrying the fixed text alone.
    void emptyFieldPrintsNoCode()
    {
        const ReportProject p = parseReportProject(project(QStringLiteral("  termica linguagem=ZPL")), File);
        const LabelRecord noEan = ReportTestKit::labelRow(QStringLiteral("9"), QStringLiteral("Sem código"), {}, QStringLiteral("1.00"));
        const QByteArray file = thermalCommandFiles(reportNamed(p, QStringLiteral("Novo")), {noEan}, QPointF()).value(0);
        QVERIFY(!file.contains("^BQ"));
        QVERIFY(!file.contains("^BX"));
        QVERIFY(file.contains("^GB"));
    }
};

QTEST_MAIN(DrawnElementsTest)
#include "tst_drawn_elements.moc"
