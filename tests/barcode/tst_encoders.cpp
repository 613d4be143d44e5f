// Encoder checks from worked examples: check digits and check symbols computed
// by hand, module counts from the symbology's structure, and the characters
// each symbology drops or fills in. Whether the modules really scan is the
// oracle test's job.

#include "BarcodeText.h"
#include "Code128.h"
#include "Code128Tables.h"
#include "Code39.h"
#include "Code39Tables.h"
#include "EanUpc.h"
#include "Interleaved2of5.h"

#include <QTest>

Q_DECLARE_METATYPE(Code128Set)

class TstEncoders : public QObject
{
    Q_OBJECT
private slots:
    void eanCode_data();
    void eanCode();
    void eanModules_data();
    void eanModules();
    void code128_data();
    void code128();
    void code39_data();
    void code39();
    void interleaved2of5_data();
    void interleaved2of5();
    void longTextsAreCut();
};

void TstEncoders::eanCode_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("modules");

    QTest::newRow("EAN-13 computes check 8") << "789786260021" << 12 << "7897862600218" << 95;
    QTest::newRow("EAN-13 keeps a right check digit") << "7891106001212" << 12 << "7891106001212" << 95;
    QTest::newRow("EAN-13 replaces a wrong check digit") << "7891106001219" << 12 << "7891106001212" << 95;
    QTest::newRow("EAN-13 fills short codes with zeros") << "12345" << 12 << "0000000123457" << 95;
    QTest::newRow("EAN-13 drops non-digits") << "789-786.260 021" << 12 << "7897862600218" << 95;
    QTest::newRow("EAN-13 empty") << "" << 12 << "0000000000000" << 95;
    QTest::newRow("EAN-8 check 0") << "1234567" << 7 << "12345670" << 67;
    QTest::newRow("EAN-8 empty") << "" << 7 << "00000000" << 67;
    QTest::newRow("UPC-A check 2") << "03600029145" << 11 << "036000291452" << 95;
    QTest::newRow("UPC-A empty") << "" << 11 << "000000000000" << 95;
}

void TstEncoders::eanCode()
{
    QFETCH(QString, texto);
    QFETCH(int, digits);
    QFETCH(QString, code);
    QFETCH(int, modules);

    const QString normal = NormalizaEAN(texto, digits);
    QCOMPARE(normal + DigitoVerificador(normal), code);

    const QString bars = digits == 12 ? ModulosEAN13(code) : digits == 7 ? ModulosEAN8(code) : ModulosUPCA(code);
    QCOMPARE(bars.size(), modules);
    QVERIFY(bars.startsWith(QStringLiteral("101")) && bars.endsWith(QStringLiteral("101")));
    QCOMPARE(bars.mid(modules / 2 - 2, 5), QStringLiteral("01010"));
}

// Whole symbols spelled out from the number-set tables of ISO/IEC 15420; the
// builders also take short or dirty codes, which they read as the code the
// digits make once cut or zero-filled to the symbol's length.
void TstEncoders::eanModules_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("modules");

    // 1234567|0: L 1 2 3 4, R 5 6 7 0.
    const QString ean8 = QStringLiteral("101" "0011001" "0010011" "0111101" "0100011" "01010"
                                        "1001110" "1010000" "1000100" "1110010" "101");
    QTest::newRow("EAN-8 12345670") << 8 << "12345670" << ean8;
    QTest::newRow("EAN-8 dirty code") << 8 << "1234-5670" << ean8;
    QTest::newRow("EAN-8 long code cut") << 8 << "123456709" << ean8;
    // Leading 5 puts 7 8 9 7 8 6 in L G G L L G; right half 2 6 0 0 2 1 in R.
    const QString ean13 = QStringLiteral("101" "0111011" "0001001" "0010111" "0111011" "0110111" "0000101" "01010"
                                         "1101100" "1010000" "1110010" "1110010" "1101100" "1100110" "101");
    QTest::newRow("EAN-13 5789786260021") << 13 << "5789786260021" << ean13;
    QTest::newRow("EAN-13 accented and spaced") << 13 << QStringLiteral("5789 786 260 021 é") << ean13;
    // A short code is zero-filled on the left: leading 0, all left digits in L.
    const QString upca = QStringLiteral("101" "0001101" "0001101" "0001101" "0001101" "0001101" "0001101" "01010"
                                        "1110010" "1110010" "1110010" "1110010" "1100110" "1101100" "101");
    QTest::newRow("UPC-A short code filled") << 12 << "12" << upca;
}

void TstEncoders::eanModules()
{
    QFETCH(int, digits);
    QFETCH(QString, code);
    QFETCH(QString, modules);

    const QString bars = digits == 13 ? ModulosEAN13(code) : digits == 8 ? ModulosEAN8(code) : ModulosUPCA(code);
    QCOMPARE(bars, modules);
}

void TstEncoders::code128_data()
{
    QTest::addColumn<Code128Set>("set");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("check");
    QTest::addColumn<int>("modules");
    QTest::addColumn<QString>("sameAs");

    // 104 + 1*33 + 2*34 + 3*35 = 310; 310 mod 103 = 1.
    QTest::newRow("B ABC") << Code128Set::B << "ABC" << 1 << 68 << "";
    // 105 + 12 + 2*34 + 3*56 + 4*7 = 381; 381 mod 103 = 72. The odd last digit stands alone.
    QTest::newRow("C odd digit count") << Code128Set::C << "1234567" << 72 << 79 << "";
    QTest::newRow("C keeps only digits") << Code128Set::C << "12-34" << (105 + 12 + 68) % 103 << 57 << "1234";
    // The tab yields no symbol and no check position: B then C move up.
    QTest::newRow("B drops a tab") << Code128Set::B << "A\tBC" << 1 << 68 << "ABC";
    QTest::newRow("B drops accents and DEL") << Code128Set::B << "Aé\x7f" "BC" << 1 << 68 << "ABC";
    // Lower case under start A takes the same symbol values as under B.
    QTest::newRow("A lower case") << Code128Set::A << "a" << (103 + 65) % 103 << 46 << "";
    QTest::newRow("A empty") << Code128Set::A << "" << 0 << 35 << "";
    QTest::newRow("B empty") << Code128Set::B << "" << 1 << 35 << "";
    QTest::newRow("C empty") << Code128Set::C << "" << 2 << 35 << "";
    // Default text of the control: 12 characters, start, check, stop.
    QTest::newRow("A default text") << Code128Set::A << "789786260021" << 56 << 167 << "";
}

void TstEncoders::code128()
{
    QFETCH(Code128Set, set);
    QFETCH(QString, texto);
    QFETCH(int, check);
    QFETCH(int, modules);
    QFETCH(QString, sameAs);

    QCOMPARE(DigitoCode128(texto, set), check);
    const QString bars = ModulosCode128(texto, set);
    QCOMPARE(bars.size(), modules);
    QVERIFY(bars.startsWith(QLatin1StringView(TabelaCode128[Code128StartA + int(set)].pattern)));
    QVERIFY(bars.endsWith(QLatin1StringView(FimCode128)));
    QCOMPARE(bars.mid(bars.size() - 24, 11), QLatin1StringView(TabelaCode128[check].pattern));
    if (!sameAs.isEmpty())
        QCOMPARE(bars, ModulosCode128(sameAs, set));
}

void TstEncoders::code39_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("carried");

    QTest::newRow("lower case dropped") << "a1" << "1";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("asterisk in the text") << "A*B" << "A*B";
    QTest::newRow("accents dropped") << "AÇÃO-1" << "AO-1";
    QTest::newRow("whole set") << "0189AZ-. $/+%" << "0189AZ-. $/+%";
}

void TstEncoders::code39()
{
    QFETCH(QString, texto);
    QFETCH(QString, carried);

    const QString bars = ModulosCode39(texto);
    QCOMPARE(bars.size(), Code39PatternLength * (carried.size() + 2));
    QString expected = QLatin1StringView(TabelaCode39[39].pattern); // "*"
    for (const QChar c : carried) {
        const auto row = std::find_if(TabelaCode39.begin(), TabelaCode39.end(),
                                      [c](const Code39Row &r) { return r.character == c; });
        expected += QLatin1StringView(row->pattern);
    }
    expected += QLatin1StringView(TabelaCode39[39].pattern);
    QCOMPARE(bars, expected);
}

void TstEncoders::interleaved2of5_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("modules");

    // Pair (0,1): bars 0 = n n w w n, spaces 1 = w n n n w.
    QTest::newRow("odd count gets a leading zero") << "123"
        << "PBPB" "PBBBPBPPPBPPPBPBBB" "PBBBPPPBBBPBPBPPPB" "PPPBP";
    QTest::newRow("non-digits filtered") << "12a3" << Modulos2e5I(QStringLiteral("0123"));
    QTest::newRow("empty is start and stop") << "" << "PBPBPPPBP";
}

void TstEncoders::interleaved2of5()
{
    QFETCH(QString, texto);
    QFETCH(QString, modules);
    QCOMPARE(Modulos2e5I(texto), modules);
}

// Texts come from 255-character fields; beyond that nothing is read, so the
// Code 128 check sum and the data always cover the same characters.
void TstEncoders::longTextsAreCut()
{
    const QString longText = QString(300, u'7');
    QCOMPARE(ApenasDigitos(longText).size(), MaxTextoBarras);

    const QString letters = QString(300, u'A');
    const QString cut = letters.left(MaxTextoBarras);
    QCOMPARE(ModulosCode128(letters, Code128Set::B), ModulosCode128(cut, Code128Set::B));
    QCOMPARE(DigitoCode128(letters, Code128Set::B), DigitoCode128(cut, Code128Set::B));
    QCOMPARE(ModulosCode39(letters).size(), Code39PatternLength * (MaxTextoBarras + 2));

    QCOMPARE(PreencheEsquerda(QStringLiteral("12"), u'0', 5), QStringLiteral("00012"));
    QCOMPARE(PreencheEsquerda(QStringLiteral("123456"), u'0', 5), QStringLiteral("123456"));
}

QTEST_APPLESS_MAIN(TstEncoders)
#include "tst_encoders.moc"
