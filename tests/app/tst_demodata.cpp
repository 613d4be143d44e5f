// The demo's data: valid EAN-13 numbers, and label models for every output.
#include "ProjectParser.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

bool validEan13(const QString &digits)
{
    if (digits.size() != 13)
        return false;
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += digits[i].digitValue() * (i % 2 ? 3 : 1);
    return (10 - sum % 10) % 10 == digits[12].digitValue();
}

QString demoData()
{
    QFile file(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/demo/demo-data.sql"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TstDemoData : public QObject
{
    Q_OBJECT
private slots:
    void resaleProductsCarryValidEanNumbers();
    void modelsCoverEveryOutput();
};

void TstDemoData::resaleProductsCarryValidEanNumbers()
{
    static const QRegularExpression rev(QStringLiteral("'REV', '[A-Z]+', '(\\d+)'"));
    int products = 0;
    for (auto match = rev.globalMatch(demoData()); match.hasNext(); ++products) {
        const QString ean = match.next().captured(1);
        QVERIFY2(validEan13(ean), qPrintable(ean));
    }
    QVERIFY(products >= 30);
    QVERIFY(!validEan13(QStringLiteral("7899876000078")));
}

void TstDemoData::modelsCoverEveryOutput()
{
    static const QRegularExpression model(QStringLiteral("INTO ETIQPAR .*VALUES \\('(\\d\\d)', '([^']*)'"));
    QStringList descriptions;
    for (auto match = model.globalMatch(demoData()); match.hasNext();)
        descriptions << match.next().captured(2);
    QCOMPARE(descriptions.size(), 5);
    QVERIFY(descriptions[0].startsWith(QStringLiteral("A4")));
    QVERIFY(descriptions[1].startsWith(QStringLiteral("Carta")));
    QVERIFY(descriptions[2].startsWith(QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas")));
    for (const char *prefix : {"A4", "A5", "Carta", "Zebra", "Argox"})
        QVERIFY(!descriptions[3].startsWith(QLatin1String(prefix)));
    // The fifth prints through the sample project's thermal report.
    QFile rav(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
    QVERIFY(rav.open(QIODevice::ReadOnly));
    const ReportProject project = parseReportProject(QString::fromUtf8(rav.readAll()), QStringLiteral("Selvar.rav"));
    QVERIFY(!descriptions[4].startsWith(QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas")));
    QVERIFY(project.thermalReportFor(descriptions[4]));
}

QTEST_MAIN(TstDemoData)
#include "tst_demodata.moc"
