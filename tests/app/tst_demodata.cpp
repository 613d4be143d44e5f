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
    void sheetModelsNameTheSheetTheSamplePrints();
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

// A sheet model's description says which sheet to load: the grid and the label
// size must be those of the sample report that the description selects.
void TstDemoData::sheetModelsNameTheSheetTheSamplePrints()
{
    QFile file(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const ReportProject sample = parseReportProject(QString::fromUtf8(file.readAll()), QStringLiteral("Selvar.rav"));
    static const QRegularExpression model(QStringLiteral("INTO ETIQPAR .*VALUES \\('\\d\\d', '((?:A4|A5|Carta)[^']*)'"));
    int sheets = 0;
    for (auto match = model.globalMatch(demoData()); match.hasNext(); ++sheets) {
        const QString description = match.next().captured(1);
        const SheetReport &report = sample.reportFor(description);
        QVERIFY2(std::any_of(report.modelPrefixes.begin(), report.modelPrefixes.end(),
                             [&](const QString &prefix) { return description.startsWith(prefix); }),
                 qPrintable(description));
        auto mm = [](double value) { return QString::number(value, 'g', 6).replace(QLatin1Char('.'), QLatin1Char(',')); };
        const QString sheet = QStringLiteral("%1 x %2 etiquetas de %3 x %4 mm")
                                  .arg(report.grid.columns)
                                  .arg(report.grid.rows)
                                  .arg(mm(report.grid.cellWidth), mm(report.grid.cellHeight));
        QVERIFY2(description.endsWith(sheet), qPrintable(description + QStringLiteral(" / ") + sheet));
    }
    QCOMPARE(sheets, 2);
}

QTEST_MAIN(TstDemoData)
#include "tst_demodata.moc"
