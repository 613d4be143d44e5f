// Exact decimals, Brazilian number formats and the Windows-1252 text files.
#include "BrLocale.h"
#include "Conversions.h"
#include "Cp1252.h"
#include "Decimal.h"
#include "Field.h"
#include "LabelQuantity.h"
#include "SelvarError.h"
#include "TextFile.h"

#include <algorithm>
#include <limits>

#include <QTemporaryDir>
#include <QtTest>

class ValuesTest : public QObject
{
    Q_OBJECT

private slots:
    void decimalParse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("plain");
        QTest::newRow("comma") << "3,5" << 2 << "3.50";
        QTest::newRow("point") << "1234567.12345678" << 8 << "1234567.12345678";
        QTest::newRow("negative") << "-0,25" << 3 << "-0.250";
        QTest::newRow("driver text through a double") << "99999999999.99901" << 3 << "99999999999.999";
        QTest::newRow("rounds half away") << "2.345" << 2 << "2.35";
        QTest::newRow("integer") << "7" << 2 << "7.00";
        QTest::newRow("blanks around") << " 12 " << 0 << "12";
        QTest::newRow("leading zeros") << "007,5" << 1 << "7.5";
        QTest::newRow("rounding carries") << "9.995" << 2 << "10.00";
        QTest::newRow("negative half") << "-0,005" << 2 << "-0.01";
        QTest::newRow("only the first dropped digit") << "1.2349" << 2 << "1.23";
        QTest::newRow("no whole part") << ".5" << 2 << "0.50";
        QTest::newRow("largest of a (15,8)") << "92233720368.54775807" << 8 << "92233720368.54775807";
        QTest::newRow("smallest of a (15,8)") << "-92233720368.54775808" << 8 << "-92233720368.54775808";
        QTest::newRow("rounds up to the largest") << "92233720368.547758065" << 8 << "92233720368.54775807";
    }

    void decimalParse()
    {
        QFETCH(QString, text);
        QFETCH(int, scale);
        QFETCH(QString, plain);
        Decimal d;
        QVERIFY(Decimal::parse(text, scale, &d));
        QCOMPARE(d.toPlainString(), plain);
    }

    void decimalRejects()
    {
        Decimal d;
        for (const char *bad : {"", "abc", "1,2,3", "1.2.3", "12a", "-", ".", "1e5", "9999999999999999999"})
            QVERIFY2(!Decimal::parse(QString::fromLatin1(bad), 2, &d), bad);
        for (const char *beyond : {"92233720368.54775808", "-92233720368.54775809", "92233720368.547758075", "1000000000000"})
            QVERIFY2(Decimal::read(QString::fromLatin1(beyond), 8, &d) == Decimal::Read::OutOfRange, beyond);
    }

    // What a driver or a double writes: exponents, the shortest digits of a double.
    void decimalFromDriver_data()
    {
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<QString>("plain"); // at scale 8; empty when it does not fit
        QTest::newRow("1e+06") << QVariant("1e+06") << "1000000.00000000";
        QTest::newRow("5e-05") << QVariant("5e-05") << "0.00005000";
        QTest::newRow("1E7") << QVariant("-1.5E7") << "-15000000.00000000";
        QTest::newRow("beyond the scale") << QVariant("4e-09") << "0.00000000";
        QTest::newRow("beyond 64 bits") << QVariant("1e+30") << "";
        QTest::newRow("double 0.57") << QVariant(0.57) << "0.57000000";
        QTest::newRow("double 12345678901.5") << QVariant(12345678901.5) << "12345678901.50000000";
        QTest::newRow("double 1e20") << QVariant(1e20) << "";
        QTest::newRow("integer") << QVariant(qlonglong(92233720368)) << "92233720368.00000000";
        QTest::newRow("integer beyond") << QVariant(qlonglong(92233720369)) << "";
    }

    void decimalFromDriver()
    {
        QFETCH(QVariant, given);
        QFETCH(QString, plain);
        Decimal d;
        const Decimal::Read read = given.typeId() == QMetaType::Double      ? Decimal::fromDouble(given.toDouble(), 8, &d)
                                   : given.typeId() == QMetaType::LongLong ? Decimal::fromInteger(given.toLongLong(), 8, &d)
                                                                           : Decimal::fromText(given.toString(), 8, &d);
        QCOMPARE(read, plain.isEmpty() ? Decimal::Read::OutOfRange : Decimal::Read::Ok);
        if (!plain.isEmpty())
            QCOMPARE(d.toPlainString(), plain);
    }

    void decimalCompareAndText()
    {
        const Decimal largest8 = Decimal::largest(8), largest2 = Decimal::largest(2);
        QVERIFY(largest8 < largest2);             // 92233720368.5... against 92233720368547758.07
        QVERIFY(Decimal(-100000000000, 0) < Decimal(-1, 8)); // 8 places cannot hold -10^11
        QVERIFY(Decimal(250, 2) == Decimal(2500, 3));
        QVERIFY(Decimal(std::numeric_limits<qint64>::min(), 2) < Decimal(-1, 8));
        Decimal d;
        QVERIFY(!largest2.rescaledTo(3, &d));
        QCOMPARE(Decimal(std::numeric_limits<qint64>::min(), 3).roundHalfEven(), Q_INT64_C(-9223372036854776));
        QCOMPARE(plainDoubleText(1e6), QStringLiteral("1000000"));
        QCOMPARE(plainDoubleText(-5e-05), QStringLiteral("-0.00005"));
        QCOMPARE(plainDoubleText(1.5e20), QStringLiteral("150000000000000000000"));
        QCOMPARE(plainNumberText(u"9.999999999999991e+06"), QStringLiteral("9999999.999999991"));
        QCOMPARE(plainNumberText(u"1e+x"), QString());
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("rounded");
        QTest::newRow("2.5") << "2.5" << qint64(2);
        QTest::newRow("3.5") << "3.5" << qint64(4);
        QTest::newRow("2.501") << "2.501" << qint64(3);
        QTest::newRow("0.5") << "0.5" << qint64(0);
        QTest::newRow("-2.5") << "-2.5" << qint64(-2);
        QTest::newRow("1.499") << "1.499" << qint64(1);
    }

    void roundHalfEven()
    {
        QFETCH(QString, text);
        QFETCH(qint64, rounded);
        Decimal d;
        QVERIFY(Decimal::parse(text, 3, &d));
        QCOMPARE(d.roundHalfEven(), rounded);
        // The labels a quantity asks for: the same, and none below one.
        QCOMPARE(LabelQuantity::labels(d), std::max<qint64>(rounded, 0));
        QCOMPARE(LabelQuantity::labels(QVariant::fromValue(d)), std::max<qint64>(rounded, 0));
    }

    void labelsOfAnEmptyQuantity()
    {
        QCOMPARE(LabelQuantity::labels(QVariant()), qint64(0));
        QCOMPARE(LabelQuantity::labels(QVariant(QMetaType::fromType<Decimal>())), qint64(0));
        QCOMPARE(LabelQuantity::labels(QVariant(QStringLiteral("3"))), qint64(0)); // only a decimal is a quantity
    }

    void brazilianFormats_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("formatted");
        QTest::newRow("0.00") << "3.5" << "0.00" << "3,50";
        QTest::newRow("thousands") << "1234567.891" << "#,##0.00" << "1.234.567,89";
        QTest::newRow("carry") << "999.995" << "#,##0.00" << "1.000,00";
        QTest::newRow("zero") << "0" << "#,##0.00" << "0,00";
        QTest::newRow("negative") << "-1234.5" << "#,##0.00" << "-1.234,50";
        QTest::newRow("no decimals in pattern") << "12.6" << "0" << "13";
    }

    void brazilianFormats()
    {
        QFETCH(QString, plain);
        QFETCH(QString, pattern);
        QFETCH(QString, formatted);
        QCOMPARE(BrLocale::formatDecimalText(plain, pattern), formatted);
    }

    void integerConversion()
    {
        QCOMPARE(Conversions::strToInt(QStringLiteral("  42")), 42);
        QCOMPARE(Conversions::strToInt(QStringLiteral("-7")), -7);
        for (const char *bad : {"", "4,5", "x", "12 ", "99999999999"}) {
            try {
                Conversions::strToInt(QString::fromLatin1(bad));
                QFAIL(bad);
            } catch (const ConvertError &e) {
                QCOMPARE(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(bad)));
            }
        }
    }

    void cp1252RoundTrip()
    {
        const QString text = QStringLiteral("Ação – “Ômega” € ñ ü ‰");
        const QByteArray bytes = toCp1252(text);
        QCOMPARE(bytes.size(), text.size());
        QCOMPARE(quint8(bytes[toCp1252(QStringLiteral("Ação ")).size()]), quint8(0x96)); // en dash
        QCOMPARE(fromCp1252(bytes), text);
        QCOMPARE(toCp1252(QStringLiteral("日")), QByteArray("?"));
    }

    void textFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Em_Uso.txt"));
        TextFile::writeLines(path, {QStringLiteral("08/12/2025 13:07:45"), QStringLiteral("Ação")});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("08/12/2025 13:07:45\r\nA\xE7\xE3o\r\n"));
        QCOMPARE(TextFile::readLines(path), (QStringList{QStringLiteral("08/12/2025 13:07:45"), QStringLiteral("Ação")}));
        QCOMPARE(TextFile::readFirstLine(path, 10), QStringLiteral("08/12/2025"));
        TextFile::remove(path);
        TextFile::remove(path); // a missing file is no error
        QVERIFY(!QFile::exists(path));
        QVERIFY_THROWS_EXCEPTION(InOutError, TextFile::writeLines(dir.filePath(QStringLiteral("nao/existe.txt")), {}));
        QVERIFY_THROWS_EXCEPTION(InOutError, TextFile::readLines(dir.filePath(QStringLiteral("faltando.txt"))));
    }
};

QTEST_GUILESS_MAIN(ValuesTest)
#include "tst_values.moc"
