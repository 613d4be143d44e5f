// The renderer on the bytes the program sends: the fixed three-across EPL2
// layout of a known job (positions, every barcode read back by zxing-cpp, what
// the "3,0 x 1,7" stock cannot hold), then one row per command of both
// languages, the faults it must name, and the command-line tool.
#include "Cp1252.h"
#include "Epl2Label.h"
#include "LabelStock.h"
#include "PrinterCheck.h"
#include "ThermalRenderer.h"
#include "ZxingOracle.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(PrintedElement::Kind)

namespace {

Decimal price(const char *text)
{
    Decimal value;
    Decimal::parse(QString::fromLatin1(text), 2, &value);
    return value;
}

const QList<ThermalLabel> KnownJob = {
    ThermalLabel::fromJobRow(QStringLiteral("DIPIRONA SÓDICA 500MG 10 COMPRIMIDOS"), QStringLiteral("7891058017392"), price("4.5")),
    ThermalLabel::fromJobRow(QStringLiteral("PARACETAMOL 750MG"), QStringLiteral("7896004711225"), price("1234.5")),
    ThermalLabel::fromJobRow(QStringLiteral("ÁGUA BORICADA 3% 100ML"), QStringLiteral("7891000100103"), price("12.9")),
};

// A command file exactly as the thermal output writes it.
QByteArray fixedLayoutFile(const QList<ThermalLabel> &labels)
{
    QStringList lines = Epl2::header(true);
    for (int i = 0; i < labels.size(); ++i)
        lines << Epl2::labelBlock(i + 1, labels[i]);
    lines << Epl2::printLine();
    return Epl2::fileBytes(lines);
}

PrintImage onlyImage(const RenderedFile &file)
{
    if (file.images.size() != 1)
        qFatal("expected one image, got %lld", qlonglong(file.images.size()));
    return file.images.first();
}

QString faultsText(const RenderedFile &file)
{
    QStringList texts;
    for (const RenderFault &fault : file.faults)
        texts << QStringLiteral("linha %1: %2").arg(fault.line).arg(fault.message);
    return texts.join(QStringLiteral("; "));
}

// The symbol with room for its quiet zones, whatever the label around it.
QString decodeAlone(const PrintImage &image, const PrintedElement &barcode)
{
    const QRect area = barcode.quietBounds().adjusted(-4, -4, 4, 4) | barcode.bounds().adjusted(0, 0, 0, 4);
    PrintImage alone = image;
    alone.elements = {barcode};
    return DecodeWithZxing(paintPrintImage(alone, area), *barcode.symbology);
}

} // namespace

class ThermalRendererTest : public QObject
{
    Q_OBJECT

private slots:
    void fixedLayoutPositions()
    {
        QCOMPARE(printerCheck({fixedLayoutFile(KnownJob)}), QString());
        const RenderedFile file = readCommandFile(fixedLayoutFile(KnownJob), 203);
        QCOMPARE(file.language, PrinterLanguage::Epl2);
        QCOMPARE(faultsText(file), QString());
        const PrintImage image = onlyImage(file);
        QVERIFY(image.printed);
        QCOMPARE(image.declared, QSize(999, 100));
        QCOMPARE(image.elements.size(), 12);
        for (int column = 0; column < 3; ++column) {
            const int x = 285 * column;
            const PrintedElement *e = &image.elements[4 * column];
            // Font 2 is 10 x 16 dots a character; font 4 14 x 24.
            QCOMPARE(e[0].bounds(), QRect(x, 0, 10 * int(KnownJob[column].nameLine1.size()), 16));
            QCOMPARE(e[0].texts.first().text, KnownJob[column].nameLine1);
            QCOMPARE(e[1].bounds().topLeft(), QPoint(x, 20));
            // 13 digits in Code 128 with subset changes: 123 modules of 2 dots.
            QCOMPARE(e[2].barBounds(), QRect(x, 42, 246, 40));
            QCOMPARE(e[2].data, KnownJob[column].barcode);
            QCOMPARE(e[3].bounds(), QRect(x, 119, 14 * int(3 + KnownJob[column].price.size()), 24));
            QCOMPARE(e[3].texts.first().text, QStringLiteral("R$ ") + KnownJob[column].price);
        }
        QCOMPARE(image.elements[8].texts.first().text, QStringLiteral("ÁGUA BORICADA 3% 100"));
    }

    void fixedLayoutBarcodesDecode()
    {
        const PrintImage image = onlyImage(readCommandFile(fixedLayoutFile(KnownJob), 203));
        int decoded = 0;
        for (const PrintedElement &e : image.elements) {
            if (e.kind != PrintedElement::Kind::Barcode)
                continue;
            QCOMPARE(decodeAlone(image, e), e.data);
            QCOMPARE(e.data.size(), 13);
            ++decoded;
        }
        QCOMPARE(decoded, 3);
    }

    void fixedLayoutOnItsStock()
    {
        const PrintImage image = onlyImage(readCommandFile(fixedLayoutFile(KnownJob), 203));
        const auto size = labelSizeFromDescription(QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"));
        QCOMPARE(size, std::optional<QSizeF>(QSizeF(30, 17)));
        const LabelStock stock = LabelStock::fromMillimetres(*size, columnStartsOf(image, 240), 203);
        QCOMPARE(stock.label, QSize(240, 136));
        QCOMPARE(stock.columnStarts, QList<int>({0, 285, 570}));

        QStringList messages;
        for (const StockNote &note : checkAgainstStock(image, stock)) {
            QVERIFY(note.outside);
            messages << note.message;
        }
        // 246 dots of bars on a 240-dot label; the price's 24 dots from y = 119 on a 136-dot one.
        QStringList expected;
        for (int column = 1; column <= 3; ++column)
            expected << QStringLiteral("Código de barras 0,8 mm além da etiqueta na coluna %1").arg(column)
                     << QStringLiteral("Texto 0,9 mm além da etiqueta na coluna %1").arg(column);
        QCOMPARE(messages, expected);

        // The stop pattern's last bar (dots 242-245) lies past the label: red.
        // The picture starts 4 dots before dot 0.
        const QImage picture = paintOnStock(image, stock);
        QVERIFY(picture.pixelColor(4 + 244, 4 + 60).red() > 200);
        QCOMPARE(picture.pixelColor(4 + 244, 4 + 60).green(), 0);
        QCOMPARE(picture.pixelColor(4 + 1, 4 + 60), QColor(Qt::black));
    }

    void commands_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<PrintedElement::Kind>("kind");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<QString>("data");
        using K = PrintedElement::Kind;
        // EPL2 font cells (programming guide): 203 dpi 8x12 .. 32x48, 300 dpi 12x20 .. 48x80.
        QTest::newRow("A font 1 x2 x3") << QByteArray("N\nA10,20,0,1,2,3,N,\"AB\"\nP1\n") << 203 << K::Text << QRect(10, 20, 32, 36) << "";
        QTest::newRow("A font 1 at 300") << QByteArray("N\nA10,20,0,1,2,3,N,\"AB\"\nP1\n") << 300 << K::Text << QRect(10, 20, 48, 60) << "";
        QTest::newRow("A font 5") << QByteArray("N\nA0,0,0,5,1,1,N,\"OK\"\nP1\n") << 203 << K::Text << QRect(0, 0, 64, 48) << "";
        QTest::newRow("A font 3 at 300") << QByteArray("N\nA0,0,0,3,1,1,R,\"X\"\nP1\n") << 300 << K::Text << QRect(0, 0, 20, 36) << "";
        QTest::newRow("A turned 90") << QByteArray("N\nA50,5,1,2,1,1,N,\"ABC\"\nP1\n") << 203 << K::Text << QRect(34, 5, 16, 30) << "";
        QTest::newRow("A escapes") << QByteArray("N\nA0,0,0,2,1,1,N,\"a\\\"b\\\\\"\nP1\n") << 203 << K::Text << QRect(0, 0, 40, 16) << "";
        QTest::newRow("R moves the origin") << QByteArray("R30,7\nN\nLO5,6,100,3\nP1\n") << 203 << K::Line << QRect(35, 13, 100, 3) << "";
        QTest::newRow("B EAN-13") << QByteArray("N\nB0,0,0,E30,2,4,50,N,\"789100010010\"\nP1\n") << 203 << K::Barcode << QRect(0, 0, 190, 50)
                                  << "7891000100103";
        // Code 39: per character three wide (6) and six narrow (2) elements, a narrow gap between.
        QTest::newRow("B Code 39") << QByteArray("N\nB0,0,0,3,2,6,30,N,\"AB\"\nP1\n") << 203 << K::Barcode << QRect(0, 0, 4 * 30 + 3 * 2, 30) << "AB";
        QTest::newRow("B turned 90") << QByteArray("N\nB60,10,1,1,2,6,40,N,\"7891234567895\"\nP1\n") << 203 << K::Barcode
                                     << QRect(20, 10, 40, 246) << "7891234567895";
        QTest::newRow("^BC turned R, mode A") << QByteArray("^XA^FO5,0^BY1^BCR,30,N,N,N,A^FDAB1234^FS^XZ") << 203 << K::Barcode
                                              << QRect(5, 0, 30, 11 * 7 + 13) << "AB1234";
        QTest::newRow("B Code 128 C") << QByteArray("N\nB0,0,0,1C,1,3,20,N,\"1234\"\nP1\n") << 203 << K::Barcode
                                      << QRect(0, 0, 11 * 4 + 13, 20) << "1234";
        QTest::newRow("^A0 text") << QByteArray("^XA^FO10,20^A0N,30,30^FDHi^FS^XZ") << 203 << K::Text << QRect() << "";
        QTest::newRow("^GB with ^LH") << QByteArray("^XA^LH5,5^FO10,10^GB100,50,3^FS^XZ") << 203 << K::Box << QRect(15, 15, 100, 50) << "";
        QTest::newRow("^BE") << QByteArray("^XA^FO0,0^BY2^BEN,50,N^FD789100010010^FS^XZ") << 203 << K::Barcode << QRect(0, 0, 190, 50)
                             << "7891000100103";
        QTest::newRow("^B3 ratio 2.5") << QByteArray("^XA^FO0,0^BY3,2.5^B3N,N,40,N^FDA^FS^XZ") << 203 << K::Barcode
                                       << QRect(0, 0, 3 * (3 * 8 + 6 * 3) + 2 * 3, 40) << "A";
        QTest::newRow("^BC start C") << QByteArray("^XA^FO0,0^BY1^BCN,20,N^FD>;1234^FS^XZ") << 203 << K::Barcode
                                     << QRect(0, 0, 11 * 4 + 13, 20) << "1234";
        QTest::newRow("^BC mode N in B") << QByteArray("^XA^FO0,0^BY1^BCN,20,N^FD1234^FS^XZ") << 203 << K::Barcode
                                         << QRect(0, 0, 11 * 6 + 13, 20) << "1234";
    }

    void commands()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, dpi);
        QFETCH(PrintedElement::Kind, kind);
        QFETCH(QRect, bounds);
        QFETCH(QString, data);
        const RenderedFile file = readCommandFile(bytes, dpi);
        QCOMPARE(faultsText(file), QString());
        const PrintImage image = onlyImage(file);
        QCOMPARE(image.elements.size(), 1);
        const PrintedElement &e = image.elements.first();
        QCOMPARE(e.kind, kind);
        if (bounds.isValid())
            QCOMPARE(e.kind == PrintedElement::Kind::Barcode ? e.barBounds() : e.bounds(), bounds);
        else
            QCOMPARE(e.bounds().height(), 30); // a proportional font: only its height is fixed
        if (kind == PrintedElement::Kind::Barcode) {
            QCOMPARE(e.data, data);
            QCOMPARE(decodeAlone(image, e), data);
        }
    }

    void code128AutoDecodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modules");
        QTest::newRow("13 digits: C then B") << "7891234567895" << 123;
        QTest::newRow("letters then digits") << "AB12345678" << 11 * 9 + 13;
        QTest::newRow("odd run keeps one digit in B") << "X12345" << 11 * 7 + 13;
        QTest::newRow("lower case") << "lote a7" << 11 * 9 + 13;
    }

    void code128AutoDecodes()
    {
        QFETCH(QString, text);
        QFETCH(int, modules);
        const QByteArray bytes = "N\nB0,0,0,1,1,3,30,N,\"" + text.toLatin1() + "\"\nP1\n";
        const PrintImage image = onlyImage(readCommandFile(bytes, 203));
        const PrintedElement &e = image.elements.first();
        QCOMPARE(e.barBounds().width(), modules);
        QCOMPARE(decodeAlone(image, e), text);
    }

    void zplReadsUtf8AfterCi28()
    {
        const QByteArray text = QStringLiteral("Ação").toUtf8();
        const PrintImage utf8 = onlyImage(readCommandFile("^XA^CI28^FO0,0^A0N,20,20^FD" + text + "^FS^XZ", 203));
        QCOMPARE(utf8.elements.first().texts.first().text, QStringLiteral("Ação"));
        const PrintImage cp1252 = onlyImage(readCommandFile("^XA^FO0,0^A0N,20,20^FD" + toCp1252(QStringLiteral("Ação")) + "^FS^XZ", 203));
        QCOMPARE(cp1252.elements.first().texts.first().text, QStringLiteral("Ação"));
    }

    // A graphic's binary bytes may hold line ends: they do not end the
    // command, and what follows is numbered as an editor shows it; ^FW turns the
    // fields after it; X draws a frame of its thickness.
    void graphicsAndTurns()
    {
        QByteArray epl2("N\r\nGW10,20,1,3,");
        epl2 += QByteArray("\x0a\x0d\x7f", 3); // dark dots where the bits are 0
        epl2 += "\r\nX0,0,3,40,30\r\nLO0,50,20,\r\nP1\r\n";
        const RenderedFile file = readCommandFile(epl2, 203);
        // Line 5 as an editor counts it: the graphic's 0x0a byte ended line 2.
        QCOMPARE(faultsText(file), QStringLiteral("linha 5: parâmetros inválidos: esperava 4 números e veio '0,50,20,'"));
        const PrintImage image = onlyImage(file);
        QCOMPARE(image.elements.size(), 2);
        const QImage picture = paintPrintImage(image, QRect(0, 0, 40, 30));
        const auto row = [&](int y, int from) {
            QString dots;
            for (int x = from; x < from + 8; ++x)
                dots += qGray(picture.pixel(x, y)) < 128 ? QLatin1Char('#') : QLatin1Char('.');
            return dots;
        };
        QCOMPARE(row(20, 10), QStringLiteral("####.#.#"));   // 0x0a
        QCOMPARE(row(21, 10), QStringLiteral("####..#."));   // 0x0d
        QCOMPARE(row(22, 10), QStringLiteral("#......."));   // 0x7f
        QCOMPARE(row(0, 0), QStringLiteral("########"));     // the frame's top, 3 dots thick
        QCOMPARE(row(3, 0), QStringLiteral("###....."));

        const PrintImage zpl = onlyImage(readCommandFile("^XA^FWR^FO100,10^A0,20,20^FDABC^FS^FO10,10^A0N,20,20^FDABC^FS^XZ", 203));
        const QRect turned = zpl.elements[0].bounds();
        const QRect upright = zpl.elements[1].bounds();
        QCOMPARE(turned.topLeft(), QPoint(100, 10));
        QCOMPARE(turned.size(), upright.size().transposed());
    }

    void faults_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("faults");
        QTest::newRow("EPL2 unknown command") << QByteArray("N\nGX10,10,\"LOGO\"\nP1\n") << "linha 2: comando desconhecido 'GX'";
        QTest::newRow("EPL2 graphic never stored") << QByteArray("N\nGG10,10,\"LOGO\"\nP1\n")
                                                   << "linha 2: 'GG' chama o gráfico 'LOGO', que não foi guardado (GM) antes";
        QTest::newRow("EPL2 unknown font") << QByteArray("N\r\nA0,0,0,7,1,1,N,\"x\"\r\nP1\r\n")
                                           << "linha 2: fonte '7' de 'A' não é desenhada por este programa (use 1 a 5)";
        QTest::newRow("EPL2 unknown symbology") << QByteArray("N\nB0,0,0,9,2,6,40,B,\"x\"\nP1\n")
                                                << "linha 2: código de barras '9' de 'B' não é desenhado por este programa "
                                                   "(use 1, 1A, 1B, 1C, 3, 3C, E30, E80, UA0 ou 2)";
        QTest::newRow("EPL2 never printed") << QByteArray("N\nLO0,0,10,10\n")
                                            << "linha 2: o arquivo termina sem 'P': esta imagem não seria impressa";
        QTest::newRow("EPL2 data without quotes") << QByteArray("N\nA0,0,0,1,1,1,N,V00\nP1\n") << "linha 2: 'A' sem o texto entre aspas";
        QTest::newRow("ZPL unknown command, graphic never stored") << QByteArray("~SD20\n^XA\n^FO0,0^XGR:LOGO.GRF^FS\n^XZ")
                                              << "linha 1: comando desconhecido '~SD'; linha 3: '^XG' chama o gráfico 'R:LOGO.GRF', que não foi guardado (~DG) antes";
        QTest::newRow("EPL2 graphic cut short") << QByteArray("N\nGW0,0,2,4,\x00\x00\x00")
                                                << "linha 2: 'GW' anuncia 8 bytes de gráfico e o arquivo acaba antes";
        QTest::newRow("EPL2 box inside out") << QByteArray("N\nX50,50,2,40,90\nP1\n")
                                             << "linha 2: 'X' com quadro impossível: de 50,50 a 40,90, espessura 2";
        QTest::newRow("ZPL graphic of the wrong size") << QByteArray("^XA^FO0,0^GFA,4,4,2,FFFF^FS^XZ")
                                                       << "linha 1: '^GF' com dados que não são 4 bytes em hexadecimal (dados comprimidos não são desenhados)";
        QTest::newRow("ZPL QR without its mode") << QByteArray("^XA^FO0,0^BQN,2,4^FDhttps://x^FS^XZ")
                                                 << "linha 1: dados de '^BQ' sem o nível de correção e o modo (\"MA,texto\")";
        QTest::newRow("ZPL unfinished") << QByteArray("^XA^FO0,0^GB10,10,1^FS") << "linha 1: o arquivo termina sem '^XZ': este formato não seria impresso";
    }

    void faults()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, faults);
        QCOMPARE(faultsText(readCommandFile(bytes, 203)), faults);
    }

    void previewTool()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("Etiq001.txt"));
        const QString second = dir.filePath(QStringLiteral("Etiq002.txt"));
        for (const auto &[path, bytes] : {std::pair{first, fixedLayoutFile(KnownJob)}, std::pair{second, fixedLayoutFile({KnownJob[0]})}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        const QString png = dir.filePath(QStringLiteral("job.png"));
        QProcess tool;
        tool.start(QStringLiteral(SELVAR_LABEL_PREVIEW), {first, second, QStringLiteral("-o"), png, QStringLiteral("--label"), QStringLiteral("30x17")});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines.last(), QStringLiteral("Etiq002.txt: Texto 0,9 mm além da etiqueta na coluna 1"));
        const QImage picture(png);
        QVERIFY(picture.height() > 2 * 136);
        QVERIFY(picture.width() >= 999);

        QFile broken(second);
        QVERIFY(broken.open(QIODevice::Append));
        broken.write("GX0,0,\"LOGO\"\r\n");
        broken.close();
        tool.start(QStringLiteral(SELVAR_LABEL_PREVIEW), {second, QStringLiteral("-o"), png, QStringLiteral("--dpi"), QStringLiteral("300")});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 2);
        QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains(QStringLiteral("Etiq002.txt, linha 18: comando desconhecido 'GX'")));
    }
};

QTEST_MAIN(ThermalRendererTest)
#include "tst_thermal_renderer.moc"
