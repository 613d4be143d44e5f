// The printer languages as their makers' references define them, read back
// through our own readers: the code page a file selects and the bytes of its
// text, field data that reaches the printer as typed.
#include "Epl2Label.h"
#include "Epl2Text.h"
#include "LabelLayout.h"
#include "MonoPicture.h"
#include "PrinterCheck.h"
#include "ThermalRenderer.h"

#include <QtTest>

Q_DECLARE_METATYPE(PrinterLanguage)

namespace {

const QString Accents = QStringLiteral("LOÇÃO ÁGUA Ç");

RollSetup roll(PrinterLanguage language, int dpi = 203)
{
    RollSetup setup;
    setup.language = language;
    setup.dpi = dpi;
    setup.label = QSize(480, 240);
    return setup;
}

ThermalElement text(const QString &value, const QRect &box = QRect(10, 10, 400, 40))
{
    ThermalElement e;
    e.kind = ThermalElement::Kind::Text;
    e.box = box;
    e.value = value;
    e.fontHeight = 24;
    return e;
}

QList<QByteArray> linesOf(const QByteArray &file)
{
    QList<QByteArray> lines = file.split('\n');
    for (QByteArray &line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    return lines;
}

QByteArray lineStarting(const QByteArray &file, const QByteArray &start)
{
    for (const QByteArray &line : linesOf(file)) {
        if (line.startsWith(start))
            return line;
    }
    return {};
}

QStringList texts(const RenderedFile &file)
{
    QStringList all;
    for (const PrintImage &image : file.images) {
        for (const PrintedElement &e : image.elements) {
            for (const PrintedText &t : e.texts)
                all << t.text;
            if (e.symbology || e.kind == PrintedElement::Kind::MatrixCode)
                all << e.data;
        }
    }
    return all;
}

QString faultsText(const RenderedFile &file)
{
    QStringList messages;
    for (const RenderFault &fault : file.faults)
        messages << QStringLiteral("linha %1: %2").arg(fault.line).arg(fault.message);
    return messages.join(QStringLiteral("; "));
}

// Which way an element's text or bars run on the label: where one step along
// its own x axis goes once placed.
QPoint reading(const PrintedElement &e)
{
    return (e.placement.map(QPointF(1, 0)) - e.placement.map(QPointF(0, 0))).toPoint();
}

ThermalElement barcode(const QString &value, const QRect &box, int quarterTurns)
{
    ThermalElement e;
    e.kind = ThermalElement::Kind::Barcode;
    e.box = box;
    e.value = value;
    e.symbology = PrinterSymbology::Code128Auto;
    e.legend = false;
    e.quarterTurns = quarterTurns;
    return e;
}

} // namespace

class PrinterRulesTest : public QObject
{
    Q_OBJECT

    // Every file written here, by resolution, for the printer's check.
    QMap<int, QList<QByteArray>> m_written;

    QByteArray written(const RollSetup &setup, const QList<LabelContent> &row)
    {
        const QByteArray file = writeCommandFile(setup, row);
        m_written[setup.dpi] << file;
        return file;
    }

private slots:
    // The printer takes every command file the writers made here.
    void cleanupTestCase()
    {
        for (auto it = m_written.cbegin(); it != m_written.cend(); ++it)
            QCOMPARE(printerCheck(it.value(), it.key()), QString());
    }

    // --check names every line a printer would not take, file by file.
    void checkNamesWhatThePrinterRefuses()
    {
        QCOMPARE(printerCheck({"^XA^FO0,0^BQN,2,14^FDMA,123^FS^XZ\r\n", "N\r\nA0,0,5,2,1,1,N,\"X\"\r\nP1\r\n"}, 300),
                 QStringLiteral("Etiq001.txt, linha 1: ampliação de '^BQ' é 14, fora de 1 a 10: a impressora usa 3\n"
                                "Etiq002.txt, linha 2: rotação 5 fora de 0 a 3: a impressora recusa a linha"));
    }

    // "I8,3,001" selects DOS 860: the fixed layout keeps that header and sends
    // its names in DOS 860; a report's files select Windows-1252 ("I8,A,001")
    // and send it. Each preview decodes by the page its file selects.
    void textInTheSelectedCodePage()
    {
        QStringList lines = Epl2::header(true);
        lines << Epl2::labelBlock(1, ThermalLabel::fromJobRow(Accents, QStringLiteral("7891058017392"), Decimal()));
        lines << Epl2::printLine();
        const QByteArray fixed = Epl2::fileBytes(lines);
        m_written[203] << fixed;
        QVERIFY(linesOf(fixed).contains("I8,3,001"));
        QCOMPARE(lineStarting(fixed, "A0,0,"), QByteArray("A0,0,0,2,1,1,N,\"LO\x80\x8EO \x86GUA \x80\""));
        QCOMPARE(texts(readCommandFile(fixed, 203)).first(), Accents);

        const QByteArray report = written(roll(PrinterLanguage::Epl2), {{text(Accents)}});
        QVERIFY(linesOf(report).contains("I8,A,001"));
        QVERIFY(report.contains("\"LO\xC7\xC3O \xC1GUA \xC7\""));
        QCOMPARE(texts(readCommandFile(report, 203)), QStringList{Accents});

        // The same bytes under the other page: what a printer would show.
        QByteArray misread = report;
        misread.replace("I8,A,001", "I8,3,001");
        QCOMPARE(texts(readCommandFile(misread, 203)), QStringList{QStringLiteral("LO╟├O ┴GUA ╟")});
        misread.replace("I8,3,001", "I8,B,001");
        QCOMPARE(faultsText(readCommandFile(misread, 203)),
                 QStringLiteral("linha 2: página de código 'B' de 'I' não é lida por este programa (use 0, DOS 437; 3, DOS 860; ou A, Windows-1252)"));
    }

    // Letters DOS 860 lacks go without their accent rather than as another glyph.
    void lettersThePageLacks()
    {
        QCOMPARE(encodeEpl2(QStringLiteral("AMÊNDOA ÕÜ"), Epl2CodePage::Dos860), QByteArray("AM\x89NDOA \x99\x9A"));
        QCOMPARE(encodeEpl2(QStringLiteral("Ë€"), Epl2CodePage::Dos860), QByteArray("E?"));
        QCOMPARE(decodeEpl2(encodeEpl2(QStringLiteral("ção"), Epl2CodePage::Dos437), Epl2CodePage::Dos437), QStringLiteral("çao"));
    }

    // EPL2 turns a field about its start position: the reference's rule,
    // read from hand-written lines whose landing place is worked out by hand.
    void turnedEpl2FieldsTurnAboutTheirPoint_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QRect>("lands");
        QTest::addColumn<QPoint>("reads");
        // Font 2 is 10 x 16 dots a character: "ABC" is 30 x 16 unturned.
        QTest::newRow("A 0") << QByteArray("A100,50,0,2,1,1,N,\"ABC\"") << QRect(100, 50, 30, 16) << QPoint(1, 0);
        QTest::newRow("A 90") << QByteArray("A100,50,1,2,1,1,N,\"ABC\"") << QRect(84, 50, 16, 30) << QPoint(0, 1);
        QTest::newRow("A 180") << QByteArray("A100,50,2,2,1,1,N,\"ABC\"") << QRect(70, 34, 30, 16) << QPoint(-1, 0);
        QTest::newRow("A 270") << QByteArray("A100,50,3,2,1,1,N,\"ABC\"") << QRect(100, 20, 16, 30) << QPoint(0, -1);
        // Code 128 of "1234" in subset C: 57 modules of 1 dot, 20 tall.
        QTest::newRow("B 90") << QByteArray("B100,50,1,1C,1,3,20,N,\"1234\"") << QRect(80, 50, 20, 57) << QPoint(0, 1);
        QTest::newRow("B 180") << QByteArray("B100,50,2,1C,1,3,20,N,\"1234\"") << QRect(43, 30, 57, 20) << QPoint(-1, 0);
        QTest::newRow("B 270") << QByteArray("B100,50,3,1C,1,3,20,N,\"1234\"") << QRect(100, -7, 20, 57) << QPoint(0, -1);
    }

    void turnedEpl2FieldsTurnAboutTheirPoint()
    {
        QFETCH(QByteArray, line);
        QFETCH(QRect, lands);
        QFETCH(QPoint, reads);
        const RenderedFile file = readCommandFile("N\n" + line + "\nP1\n", 203);
        QCOMPARE(faultsText(file), QString());
        const PrintedElement &e = file.images.first().elements.first();
        QCOMPARE(e.bounds(), lands);
        QCOMPARE(reading(e), reads);
    }

    // A report's turned price and barcode land inside their boxes and read the
    // way the turn says, in both languages: EPL2 by its rule, ZPL by ^FO.
    void turnedFieldsStayInTheirBoxes_data()
    {
        QTest::addColumn<PrinterLanguage>("language");
        QTest::addColumn<int>("turns");
        QTest::addColumn<QPoint>("reads");
        for (const auto &[language, name] : {std::pair{PrinterLanguage::Epl2, "EPL2"}, std::pair{PrinterLanguage::Zpl, "ZPL"}}) {
            QTest::addRow("%s 90", name) << language << 1 << QPoint(0, 1);
            QTest::addRow("%s 180", name) << language << 2 << QPoint(-1, 0);
            QTest::addRow("%s 270", name) << language << 3 << QPoint(0, -1);
        }
    }

    void turnedFieldsStayInTheirBoxes()
    {
        QFETCH(PrinterLanguage, language);
        QFETCH(int, turns);
        QFETCH(QPoint, reads);
        const bool upright = turns % 2 == 0;
        const QRect priceBox = upright ? QRect(20, 20, 200, 40) : QRect(20, 20, 40, 200);
        const QRect codeBox = upright ? QRect(240, 20, 220, 60) : QRect(300, 10, 60, 220);
        ThermalElement price = text(QStringLiteral("R$ 12,90"), priceBox);
        price.quarterTurns = turns;
        RollSetup setup = roll(language);
        setup.across = 3;
        setup.gap = 16;
        const QByteArray file = written(setup, {{}, {price, barcode(QStringLiteral("7891058017392"), codeBox, turns)}});
        const RenderedFile rendered = readCommandFile(file, 203);
        QCOMPARE(faultsText(rendered), QString());
        const QList<PrintedElement> elements = rendered.images.first().elements;
        QCOMPARE(elements.size(), 2);
        // The second label of the row starts at dot 496.
        const QPoint label(496, 0);
        QVERIFY(priceBox.translated(label).contains(elements[0].bounds()));
        QVERIFY(codeBox.translated(label).contains(elements[1].barBounds()));
        QCOMPARE(reading(elements[0]), reads);
        QCOMPARE(reading(elements[1]), reads);
    }

    // ^ and ~ reach the printer as typed through ^FH; control characters go
    // as blanks in both languages, so no field data can start a command.
    void dataKeptAsTyped()
    {
        ThermalElement qr;
        qr.kind = ThermalElement::Kind::MatrixCode;
        qr.box = QRect(0, 0, 200, 200);
        qr.value = QStringLiteral("https://loja/~farmacia_a^b");
        const QByteArray zpl = written(roll(PrinterLanguage::Zpl), {{qr, text(QStringLiteral("5~6\nP9"), QRect(210, 0, 260, 40))}});
        QVERIFY(zpl.contains("^FH^FDMA,https://loja/_7Efarmacia_5Fa_5Eb^FS"));
        QVERIFY(zpl.contains("^FH^FD5_7E6 P9^FS"));
        const RenderedFile read = readCommandFile(zpl, 203);
        QCOMPARE(faultsText(read), QString());
        QCOMPARE(texts(read), (QStringList{qr.value, QStringLiteral("5~6 P9")}));

        // The report writer and the fixed layout quote alike.
        const QString typed = QStringLiteral("A\"B\\C\r\nP9999");
        const QByteArray epl2 = written(roll(PrinterLanguage::Epl2), {{text(typed), barcode(typed, QRect(10, 60, 460, 80), 0)}});
        QCOMPARE(lineStarting(epl2, "B").right(16), QByteArray("\"A\\\"B\\\\C  P9999\""));
        QVERIFY(!linesOf(epl2).contains("P9999"));
        // A text's blanks run together as it is laid out; a barcode keeps each one.
        QCOMPARE(texts(readCommandFile(epl2, 203)), (QStringList{QStringLiteral("A\"B\\C P9999"), QStringLiteral("A\"B\\C  P9999")}));
        QStringList lines = Epl2::labelBlock(1, ThermalLabel::fromJobRow(typed, typed, Decimal()));
        QCOMPARE(lines[0], QStringLiteral("A0,0,0,2,1,1,N,") + epl2Quoted(typed.left(20)));
        QCOMPARE(epl2Quoted(typed), QStringLiteral("\"A\\\"B\\\\C  P9999\""));
    }

    // A 30 x 30 mm box at 300 dpi holds a QR of 12 dots a module; ZPL goes to 10.
    void parametersWithinTheirRanges()
    {
        ThermalElement qr;
        qr.kind = ThermalElement::Kind::MatrixCode;
        qr.box = QRect(0, 0, 360, 360);
        qr.value = QStringLiteral("7891058017392");
        const QByteArray zpl = written(roll(PrinterLanguage::Zpl, 300), {{qr}});
        // 21 modules of 10 dots, centred in the box.
        QVERIFY(zpl.contains("^FO75,75^BQN,2,10^FDMA,7891058017392^FS"));
        const RenderedFile read = readCommandFile(zpl, 300);
        QCOMPARE(faultsText(read), QString());
        QCOMPARE(read.images.first().elements.first().barBounds(), QRect(75, 75, 210, 210));

        // A barcode never goes past 10 dots a module, however wide its box.
        // "12" takes 66 modules with its quiet zones: 15 dots each would fit in 1,000.
        RollSetup wideLabel = roll(PrinterLanguage::Zpl);
        wideLabel.label = QSize(1000, 100);
        const QByteArray wide = written(wideLabel, {{barcode(QStringLiteral("12"), QRect(0, 0, 1000, 60), 0)}});
        QVERIFY(wide.contains("^BY10,3"));
    }

    // What a printer does with a value out of range: ZPL takes the
    // parameter's default, EPL2 refuses the line. The preview does the same.
    void outOfRangeAsThePrinterTakesIt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("faults");
        QTest::addColumn<int>("elements");
        QTest::addColumn<int>("width");
        QTest::newRow("^BQ 14 at 300 dpi") << QByteArray("^XA^FO0,0^BQN,2,14^FDMA,7891058017392^FS^XZ")
                                           << "linha 1: ampliação de '^BQ' é 14, fora de 1 a 10: a impressora usa 3" << 1 << 21 * 3;
        QTest::newRow("^BY 12") << QByteArray("^XA^FO0,0^BY12^BCN,20,N,N,N,N^FD>;1234^FS^XZ")
                                << "linha 1: módulo de '^BY' é 12, fora de 1 a 10: a impressora usa 2" << 1 << 57 * 2;
        QTest::newRow("^FO negative") << QByteArray("^XA^FO-5,0^GB30,10,1^FS^XZ")
                                      << "linha 1: x de '^FO' é -5, fora de 0 a 32000: a impressora usa 0" << 1 << 30;
        QTest::newRow("EPL2 rotation 4") << QByteArray("N\nA0,0,4,2,1,1,N,\"X\"\nP1\n")
                                         << "linha 2: rotação 4 fora de 0 a 3: a impressora recusa a linha" << 0 << 0;
        QTest::newRow("EPL2 narrow bar 11") << QByteArray("N\nB0,0,0,1,11,33,40,N,\"12\"\nP1\n")
                                            << "linha 2: barra estreita de 'B' é 11, fora de 1 a 10: a impressora recusa a linha" << 0 << 0;
    }

    void outOfRangeAsThePrinterTakesIt()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, faults);
        QFETCH(int, elements);
        QFETCH(int, width);
        const RenderedFile file = readCommandFile(bytes, 300);
        QCOMPARE(faultsText(file), faults);
        QCOMPARE(file.images.first().elements.size(), elements);
        if (elements)
            QCOMPARE(file.images.first().elements.first().bounds().width(), width);
    }

    // A logo is stored once for the job and recalled in each label; the
    // preview, reading the job's files in order, prints it dot for dot as
    // the logo sent inside a label.
    void logoStoredOncePerJob_data()
    {
        QTest::addColumn<PrinterLanguage>("language");
        QTest::addColumn<QByteArray>("recall");
        QTest::addColumn<QByteArray>("store");
        QTest::newRow("ZPL") << PrinterLanguage::Zpl << QByteArray("^FO12,10^XGR:SLV0.GRF,1,1^FS") << QByteArray("~DGR:SLV0.GRF,");
        QTest::newRow("EPL2") << PrinterLanguage::Epl2 << QByteArray("GG12,10,\"SLV0\"") << QByteArray("GM\"SLV0\"");
    }

    void logoStoredOncePerJob()
    {
        QFETCH(PrinterLanguage, language);
        QFETCH(QByteArray, recall);
        QFETCH(QByteArray, store);
        // 45 x 20 dots: an odd width, a ring and a bar, bytes that repeat and bytes that do not.
        QImage logo(45, 20, QImage::Format_RGB32);
        logo.fill(Qt::white);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 45; ++x) {
                const int dx = x - 10, dy = y - 10;
                if ((dx * dx + dy * dy < 81 && dx * dx + dy * dy > 25) || (x > 25 && y > 5 && y < 12) || (x + y) % 7 == 0)
                    logo.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
        logo = monoPicture(logo, logo.size(), {});
        ThermalElement inside;
        inside.kind = ThermalElement::Kind::Graphic;
        inside.box = QRect(10, 10, 49, 20);
        inside.picture = logo;
        ThermalElement stored = inside;
        stored.storedAs = QStringLiteral("SLV0");

        const RollSetup setup = roll(language);
        const QByteArray first = storePictures(setup, {{QStringLiteral("SLV0"), logo}}) + writeCommandFile(setup, {{stored}});
        const QByteArray second = writeCommandFile(setup, {{stored}});
        QCOMPARE(first.count(store), 1);
        QVERIFY(linesOf(first).contains(recall));
        QVERIFY(linesOf(second).contains(recall));
        QVERIFY(!second.contains(store));
        m_written[setup.dpi] << first << second;

        PrinterMemory printer;
        const RenderedFile one = readCommandFile(first, 203, &printer);
        const RenderedFile two = readCommandFile(second, 203, &printer);
        const RenderedFile sent = readCommandFile(written(setup, {{inside}}), 203);
        QCOMPARE(faultsText(one) + faultsText(two) + faultsText(sent), QString());
        const QRect area(0, 0, 80, 40);
        const QImage expected = paintPrintImage(sent.images.first(), area);
        QCOMPARE(paintPrintImage(one.images.first(), area), expected);
        QCOMPARE(paintPrintImage(two.images.first(), area), expected);
        // Alone, the second file recalls what this printer never stored.
        QVERIFY(faultsText(readCommandFile(second, 203)).contains(QStringLiteral("que não foi guardado")));
        QCOMPARE(printerCheck({first, second}), QString());
    }
};

QTEST_MAIN(PrinterRulesTest)
#include "tst_printer_rules.moc"
