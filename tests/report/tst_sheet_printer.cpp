// The sheet engine's printer destination, through a real print spooler: a CUPS
// scheduler of the test's own (its own folder and socket, never the machine's)
// with one printer whose backend writes what it receives to a file, and the
// number of copies the job asked for beside it.
#include "ReportTestKit.h"
#include "PrivateCups.h"
#include "ProjectParser.h"
#include "SheetDocument.h"
#include "TRvSystem.h"

#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportTestKit;

namespace {

const QString PrinterName = QStringLiteral("SelvarArquivo");

} // namespace

class SheetPrinterTest : public QObject
{
    Q_OBJECT

    PrivateCups cups;
    QString output; // where the printer's backend writes each job

private slots:
    void initTestCase()
    {
        const QString missing = PrivateCups::missing();
        if (!missing.isEmpty()) {
            if (qEnvironmentVariable("CI") == QLatin1String("true"))
                QFAIL(qPrintable(missing));
            QSKIP(qPrintable(missing));
        }
        QString error;
        QVERIFY2(cups.start(&error), qPrintable(error));
        output = cups.path(QStringLiteral("saida/trabalho.pdf"));
        QVERIFY2(cups.addPrinter(PrinterName, output, &error), qPrintable(error));
    }

    // "Impressora" with three copies: the pages reach the spooler once, as
    // one job that asks for three copies, the sheet's paper size and all.
    void printerDestinationSendsTheCopies()
    {
        QVERIFY(QPrinterInfo::availablePrinterNames().contains(PrinterName));
        const ReportProject project = parseReportProject(smallProject(), QStringLiteral("teste.rav"));
        QList<LabelRecord> rows;
        for (const char *name : {"ALFA", "BRAVO"})
            rows << labelRow(QStringLiteral("00000%1").arg(rows.size() + 1), QLatin1String(name), QStringLiteral("7891106001212"),
                             QStringLiteral("3.5"));
        const SheetDocument document(project.reports.first(), rows, QPointF());
        TRvSystem engine(QStringLiteral("RvSystem2"));
        OutputOptions options;
        options.destination = OutputOptions::Destination::Printer;
        options.printerName = PrinterName;
        options.copies = 3;
        engine.printDocument(document, options);
        QCOMPARE(engine.statusTexts(), QStringList{QStringLiteral("Printing page 1")});

        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output + QStringLiteral(".copias")), 20000);
        QFile copies(output + QStringLiteral(".copias"));
        QVERIFY(copies.open(QIODevice::ReadOnly));
        QCOMPARE(copies.readAll().trimmed(), QByteArray("3"));
        QCOMPARE(pdfPageCount(output), 1);
        QCOMPARE(pdfPageSizeMm(output), QSizeF(210, 297));
        QStringList words;
        for (const PdfWord &w : pdfWords(output))
            words << w.text;
        QVERIFY2(words.contains(QStringLiteral("ALFA")) && words.contains(QStringLiteral("BRAVO")), qPrintable(words.join(' ')));
    }
};

QTEST_MAIN(SheetPrinterTest)
#include "tst_sheet_printer.moc"
