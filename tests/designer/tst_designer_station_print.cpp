// The thermal test print from the designer's window, by keys and clicks: a
// station folder without ImprEtiq.bat is offered the one the stations are set
// up with (asked first; refused, nothing is written nor printed), and after a
// test print that failed the station is asked for again, filled in as it was,
// instead of the wrong printer being used once more.
#include "DesignDocument.h"
#include "DesignerTestFiles.h"
#include "DesignerWindow.h"
#include "HandOverIdle.h"
#include "LabelCanvas.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "ReportModal.h"
#include "ThermalPreviewDialog.h"
#include "ThermalReportFiles.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class DesignerStationPrintTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<DesignerWindow> m_window;
    QStringList m_messages;
    QStringList m_questions;
    bool m_answer = true;
    QStringList m_dialogs;
    QString m_newPrinter; // typed into the station dialog, when it comes

    // Ctrl+P on the window, "Imprimir" clicked in the preview.
    void printTest()
    {
        // Back on the window after the last test's dialogs, as a hand would be.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::keyClick(m_window.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(waitUntilIdle(*m_window->handOver(), 30000));
    }

    // The row across that the test print sends.
    QByteArray expectedFile()
    {
        const SheetReport &report = m_window->document()->report();
        return thermalCommandFiles(report, m_window->canvas()->records().mid(0, report.thermal->across),
                                   m_window->document()->project().offset + report.offset)
            .first();
    }

private slots:
    void init()
    {
        m_messages.clear();
        m_questions.clear();
        m_dialogs.clear();
        m_answer = true;
        Messages::setSink([this](const QString &text) { m_messages << text; });
        Messages::setQuestionSink([this](const QString &text) {
            m_questions << text;
            return m_answer;
        });
        ReportModal::setHook([this](QDialog &dialog) {
            m_dialogs << dialog.objectName();
            dialog.show();
            if (auto *preview = qobject_cast<ThermalPreviewDialog *>(&dialog)) {
                QTest::mouseClick(preview->BotImprimir, Qt::LeftButton);
            } else if (dialog.objectName() == QStringLiteral("EstacaoTeste")) {
                auto *printer = dialog.findChild<QLineEdit *>(QStringLiteral("EditImpressora"));
                printer->setFocus();
                printer->selectAll();
                QTest::keyClicks(printer, m_newPrinter);
                QTest::mouseClick(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
            }
            return dialog.result();
        });
        const QString path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(path, readFile(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"))));
        m_window = std::make_unique<DesignerWindow>();
        QVERIFY(m_window->openProject(path));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTest::mouseClick(m_window->ListaRelatorios->viewport(), Qt::LeftButton, {},
                          m_window->ListaRelatorios->visualItemRect(m_window->ListaRelatorios->item(3)).center());
        QVERIFY(m_window->document()->report().thermal);
    }

    void cleanup()
    {
        ReportModal::setHook({});
        Messages::setQuestionSink({});
        Messages::setSink({});
        m_window.reset();
    }

    void batchFileOfferedWhereMissing()
    {
        QTemporaryDir station;
        const QString printer = station.filePath(QStringLiteral("impressora.prn"));
        m_window->StationFolder = station.path();
        m_window->StationPrinter = printer;

        // Refused: nothing written, nothing printed.
        m_answer = false;
        printTest();
        QCOMPARE(m_questions.size(), 1);
        QVERIFY2(m_questions.first().contains(QStringLiteral("Gravar ali o ImprEtiq.bat do Selvar")), qPrintable(m_questions.first()));
        QVERIFY(!QFileInfo::exists(station.filePath(QStringLiteral("ImprEtiq.bat"))));
        QVERIFY(!QFileInfo::exists(printer));

        // Accepted: the stations' own batch file, and the test goes through it.
        m_answer = true;
        printTest();
        QCOMPARE(m_questions.size(), 2);
        QCOMPARE(readFile(station.filePath(QStringLiteral("ImprEtiq.bat"))), readFile(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/ImprEtiq.bat")));
        QCOMPARE(readFile(printer), expectedFile());
        QCOMPARE(m_messages, QStringList());
        QCOMPARE(m_dialogs, (QStringList{QStringLiteral("ThermalPreview"), QStringLiteral("ThermalPreview")}));

        // There now: not asked again.
        printTest();
        QCOMPARE(m_questions.size(), 2);
        QCOMPARE(readFile(printer), expectedFile() + expectedFile());
    }

    void printerAskedAgainAfterAFailure()
    {
        QTemporaryDir station;
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/ImprEtiq.bat"), station.filePath(QStringLiteral("ImprEtiq.bat"))));
        m_window->StationFolder = station.path();
        m_window->StationPrinter = station.filePath(QStringLiteral("nao-existe/impressora.prn"));
        printTest();
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(QStringLiteral("confira a pasta da estação e a impressora")), qPrintable(m_messages.first()));
        QCOMPARE(m_dialogs, QStringList{QStringLiteral("ThermalPreview")});

        // The next test asks for the station, the wrong printer in its box; the right one typed.
        const QString printer = station.filePath(QStringLiteral("impressora.prn"));
        m_newPrinter = printer;
        printTest();
        QCOMPARE(m_dialogs, (QStringList{QStringLiteral("ThermalPreview"), QStringLiteral("ThermalPreview"), QStringLiteral("EstacaoTeste")}));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_window->StationPrinter, printer);
        QCOMPARE(readFile(printer), expectedFile());

        // A good test print leaves the station be.
        printTest();
        QCOMPARE(m_dialogs.count(QStringLiteral("EstacaoTeste")), 1);
        QCOMPARE(readFile(printer), expectedFile() + expectedFile());
    }
};

QTEST_MAIN(DesignerStationPrintTest)
#include "tst_designer_station_print.moc"
