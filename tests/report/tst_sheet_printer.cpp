// The sheet engine's printer destination, through a real print spooler: a CUPS
// scheduler of the test's own (its own folder and socket, never the machine's)
// with one printer whose backend writes what it receives to a file, and the
// number of copies the job asked for beside it.
#include "ReportTestKit.h"
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

bool writeFile(const QString &path, const QByteArray &text, QFile::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return false;
    file.close();
    return permissions == QFile::Permissions() || file.setPermissions(permissions);
}

} // namespace

class SheetPrinterTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QProcess scheduler;
    QString output; // where the printer's backend writes each job

    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void initTestCase()
    {
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")});
        const QString lpadmin = QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {QStringLiteral("/usr/sbin")});
        if (cupsd.isEmpty() || lpadmin.isEmpty() || !QFile::exists(QStringLiteral("/usr/lib/cups/daemon/cups-exec"))) {
            if (qEnvironmentVariable("CI") == QLatin1String("true"))
                QFAIL("CUPS (cups-daemon, cups-client) is not installed; scripts/install-deps installs it");
            QSKIP("CUPS is not installed here (scripts/install-deps installs cups-daemon and cups-client)");
        }
        QVERIFY(dir.isValid());
        for (const char *sub : {"etc", "spool", "cache", "state", "tmp", "log", "bin/backend", "bin/filter", "saida"})
            QVERIFY(QDir(dir.path()).mkpath(QLatin1String(sub)));
        // The backend runs as the scheduler's own user: it must reach its script
        // and write where the job goes.
        const auto readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                              | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(dir.path(), readable));
        for (const char *open : {"tmp", "saida"})
            QVERIFY(QFile::setPermissions(path(QLatin1String(open)), QFile::Permissions(0x7777)));
        QVERIFY(QFile::link(QStringLiteral("/usr/lib/cups/daemon"), path(QStringLiteral("bin/daemon"))));
        output = path(QStringLiteral("saida/trabalho.pdf"));
        QVERIFY(writeFile(path(QStringLiteral("bin/backend/arquivo")),
                          "#!/bin/sh\n"
                          "[ $# -eq 0 ] && { echo 'direct arquivo \"Unknown\" \"Arquivo\"'; exit 0; }\n"
                          "out=${DEVICE_URI#arquivo:}\n"
                          "if [ -n \"$6\" ]; then cat \"$6\" > \"$out\"; else cat > \"$out\"; fi\n"
                          "echo \"$4\" > \"$out.copias\"\n",
                          readable));
        const QString socket = path(QStringLiteral("cups.sock"));
        QVERIFY(writeFile(path(QStringLiteral("etc/cupsd.conf")),
                          QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                                         "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n")
                              .arg(socket)
                              .toUtf8()));
        QVERIFY(writeFile(path(QStringLiteral("etc/cups-files.conf")),
                          QStringLiteral("ServerRoot %1/etc\nServerBin %1/bin\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                         "StateDir %1/state\nTempDir %1/tmp\nErrorLog %1/log/error_log\n"
                                         "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n")
                              .arg(dir.path())
                              .toUtf8()));
        scheduler.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("etc/cupsd.conf")),
                                QStringLiteral("-s"), path(QStringLiteral("etc/cups-files.conf"))});
        QVERIFY(scheduler.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
        QProcess admin;
        admin.start(lpadmin, {QStringLiteral("-h"), socket, QStringLiteral("-p"), PrinterName, QStringLiteral("-E"),
                              QStringLiteral("-v"), QStringLiteral("arquivo:") + output, QStringLiteral("-m"), QStringLiteral("raw")});
        QVERIFY(admin.waitForFinished(20000));
        QVERIFY2(admin.exitCode() == 0, admin.readAllStandardError().constData());
        // Qt's print support asks the scheduler this names.
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
    }

    void cleanupTestCase()
    {
        if (scheduler.state() != QProcess::NotRunning) {
            scheduler.terminate();
            if (!scheduler.waitForFinished(10000))
                scheduler.kill();
        }
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
