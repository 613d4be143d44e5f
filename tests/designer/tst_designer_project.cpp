// The project as a whole in the designer's window: a new report that serves
// a model another report serves already is told which one prints, and can
// take the model over in one undo step; the "Modelos" box takes models as a
// person types them; reports are duplicated, deleted and made the active
// one; the first view shows the label filling the canvas.
#include "Cp1252.h"
#include "DesignDocument.h"
#include "DesignerInput.h"
#include "DesignerTestFiles.h"
#include "DesignerWindow.h"
#include "LabelCanvas.h"
#include "LabelSheets.h"
#include "Messages.h"
#include "ModelTies.h"
#include "NewReports.h"
#include "ProjectFile.h"
#include "ProjectParser.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString SampleFile = QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav");

LabelSheet sheetNamed(const QString &prefix)
{
    for (const LabelSheet &sheet : labelSheets()) {
        if (sheet.name.startsWith(prefix))
            return sheet;
    }
    return {};
}

} // namespace

class DesignerProjectTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    DesignerWindow *m_window = nullptr;
    QStringList m_messages;
    QStringList m_questions;
    bool m_answer = false;

    DesignDocument *document() const { return m_window->document(); }

    void openWindow(const QByteArray &bytes)
    {
        m_path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(m_path, bytes));
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_path));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    // SELVAR_SCREENSHOT_DIR: the window as the test leaves it.
    void screenshot(const QString &name)
    {
        const QString folder = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            QVERIFY(m_window->grab().save(QDir(folder).filePath(name)));
    }

    // The label lies whole in the canvas and fills most of one of its sides.
    void verifyFitted()
    {
        LabelCanvas *canvas = m_window->canvas();
        const SheetGrid &grid = document()->report().grid;
        const QRect label = canvas->mapFromScene(QRectF(0, 0, grid.cellWidth, grid.cellHeight)).boundingRect();
        const QRect room = canvas->viewport()->rect();
        QVERIFY2(room.contains(label), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(label.x()).arg(label.y()).arg(label.width()).arg(label.height())));
        QVERIFY(label.width() > room.width() / 2 || label.height() > room.height() / 2);
    }

private slots:
    void init()
    {
        m_messages.clear();
        m_questions.clear();
        Messages::setSink([this](const QString &text) { m_messages << text; });
        Messages::setQuestionSink([this](const QString &text) {
            m_questions << text;
            return m_answer;
        });
        Messages::setChoiceSink({});
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    // Opened at the window's own size, a report fills the canvas; another
    // report is fitted again; the zoom stays at hand in a narrow window.
    void firstViewFitsTheLabel()
    {
        openWindow(readFile(SampleFile));
        verifyFitted();
        screenshot(QStringLiteral("designer-first-view.png"));
        QTest::keyClick(m_window, Qt::Key_Plus, Qt::ControlModifier);
        const int zoomed = m_window->canvas()->zoom();
        QTest::keyClick(m_window, Qt::Key_0, Qt::ControlModifier);
        QVERIFY(m_window->canvas()->zoom() < zoomed);
        verifyFitted();

        const LabelSheet sheet = sheetNamed(QStringLiteral("A4 3 x 10"));
        QCOMPARE(sheet.grid.rows * sheet.grid.cellHeight, 254.0);
        document()->startNewReport(newSheetReport(QStringLiteral("A4 3x10"), sheet));
        verifyFitted();
        screenshot(QStringLiteral("designer-new-a4-3x10.png"));

        m_window->resize(640, 480);
        QTRY_VERIFY(m_window->ComboZoom->isVisible());
        QVERIFY(m_window->rect().contains(m_window->ComboZoom->geometry().translated(m_window->ComboZoom->mapTo(m_window, QPoint()) -
                                                                                      m_window->ComboZoom->pos())));
    }

    // A new A4 report serves "A4" like "A4 6x20": the window says which
    // prints and offers the model to the new one; taken, it is one step.
    void modelServedTwiceIsToldAndCanBeTakenOver()
    {
        openWindow(readFile(SampleFile));
        m_answer = false;
        SheetReport fresh = newSheetReport(QStringLiteral("A4 3x10"), sheetNamed(QStringLiteral("A4 3 x 10")));
        fresh.modelPrefixes = {QStringLiteral("A4")};
        document()->startNewReport(fresh);
        const QStringList warnings = itemsOf(m_window->ListaAvisos);
        QVERIFY2(warnings.first().contains(QStringLiteral("\"A4 6x20\" e \"A4 3x10\" servem o modelo \"A4\": imprime \"A4 6x20\"")),
                 qPrintable(warnings.join(QLatin1Char('\n'))));
        QCOMPARE(modelTies(document()->project().reports).size(), 0);

        const int steps = document()->undoStack()->count();
        m_window->BotUsarModelosClick();
        QCOMPARE(document()->undoStack()->count(), steps + 1);
        QCOMPARE(document()->reportAt(0).modelPrefixes, QStringList());
        QCOMPARE(document()->report().name, QStringLiteral("A4 3x10"));
        QVERIFY(!itemsOf(m_window->ListaAvisos).join(QLatin1Char('\n')).contains(QStringLiteral("servem o modelo")));
        QVERIFY(m_window->BotSalvarClick());
        const ReportProject saved = parseReportProject(decodeProjectText(readFile(m_path)), m_path);
        QCOMPARE(saved.reportFor(QStringLiteral("A4 Pimaco 6180")).name, QStringLiteral("A4 3x10"));
        // Saved, the step still undoes: the models come back, to be saved again.
        document()->undoStack()->undo();
        QCOMPARE(document()->reportAt(0).modelPrefixes, QStringList{QStringLiteral("A4")});
        QVERIFY(document()->isModified());
    }

    // The box takes "A4 3x10" as one model, one model a line, ";" between
    // models on a line and the quotes of the file; under it, the line that
    // will be saved. Leaving the box (Tab) is one undo step, and "Salvar"
    // writes just that line into the report's block.
    void modelsBoxTakesWhatIsTyped_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("models");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one with a space") << QStringList{QStringLiteral("A4 3x10")} << QStringList{QStringLiteral("A4 3x10")}
                                          << QStringLiteral("modelos \"A4 3x10\"");
        QTest::newRow("two on a line") << QStringList{QStringLiteral("A4 3x10; A5")}
                                       << QStringList{QStringLiteral("A4 3x10"), QStringLiteral("A5")}
                                       << QStringLiteral("modelos \"A4 3x10\" \"A5\"");
        QTest::newRow("two lines") << QStringList{QStringLiteral("A4 3x10"), QStringLiteral("Carta 2x5 ")}
                                   << QStringList{QStringLiteral("A4 3x10"), QStringLiteral("Carta 2x5")}
                                   << QStringLiteral("modelos \"A4 3x10\" \"Carta 2x5\"");
        QTest::newRow("quoted") << QStringList{QStringLiteral("\"A4\" \"Carta\"")} << QStringList{QStringLiteral("A4"), QStringLiteral("Carta")}
                                << QStringLiteral("modelos \"A4\" \"Carta\"");
    }

    void modelsBoxTakesWhatIsTyped()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, models);
        QFETCH(QString, shown);
        openWindow(readFile(SampleFile));
        QPlainTextEdit *box = m_window->EditModelos;
        QCOMPARE(box->toPlainText(), QStringLiteral("A4"));
        const int steps = document()->undoStack()->count();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, lines[i]);
        }
        QCOMPARE(m_window->LabelModelosGravados->text(), QStringLiteral("Grava: ") + shown);
        QCOMPARE(document()->undoStack()->count(), steps); // nothing taken while typing
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(document()->report().modelPrefixes, models);
        QCOMPARE(document()->undoStack()->count(), steps + 1);
        // Shown again one a line, as it will be read back.
        QCOMPARE(box->toPlainText(), models.join(QLatin1Char('\n')));

        const QByteArray before = readFile(m_path);
        QVERIFY(m_window->BotSalvarClick());
        const QByteArray after = readFile(m_path);
        QByteArray expected = before;
        expected.replace("  modelos \"A4\"", shown.toUtf8().prepend("  "));
        QCOMPARE(after, expected);
        const ReportProject saved = parseReportProject(decodeProjectText(after), m_path);
        QCOMPARE(saved.reports.first().modelPrefixes, models);
    }

    // Models typed and saved with Ctrl+S while the cursor is still in the
    // box are saved; unclosed quotes are refused with a word, losing nothing.
    void modelsBoxCountsOnSave()
    {
        openWindow(readFile(SampleFile));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window)); // Ctrl+S reaches an active window only
        QPlainTextEdit *box = m_window->EditModelos;
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("\"A5 Pimaco"));
        QCOMPARE(m_window->LabelModelosGravados->text(), QStringLiteral("Feche as aspas, ou escreva um modelo por linha."));
        QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(readFile(m_path), readFile(SampleFile));
        QCOMPARE(box->toPlainText(), QStringLiteral("A4\n\"A5 Pimaco"));
        QTest::keyClicks(box, QStringLiteral("\""));
        QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(parseReportProject(decodeProjectText(readFile(m_path)), m_path).reports.first().modelPrefixes,
                 (QStringList{QStringLiteral("A4"), QStringLiteral("A5 Pimaco")}));
    }

    // Duplicated, made active, the old one deleted: each one step, and the
    // saved file holds just that.
    void duplicateActivateAndDelete()
    {
        openWindow(readFile(SampleFile));
        m_window->BotDuplicarRelatorioClick();
        QCOMPARE(document()->report().name, QStringLiteral("A4 6x20 (cópia)"));
        QCOMPARE(document()->report().modelPrefixes, QStringList());
        m_answer = true;
        document()->selectReport(0);
        m_window->BotExcluirRelatorioClick();
        QCOMPARE(m_messages.size(), 1); // the active report cannot go
        QCOMPARE(document()->reportCount(), 5);
        document()->selectReport(4);
        m_window->BotUsarRelatorioClick();
        QVERIFY(m_window->ListaRelatorios->item(4)->text().contains(QStringLiteral("ativo")));
        document()->selectReport(0);
        m_window->BotExcluirRelatorioClick();
        QCOMPARE(document()->reportCount(), 4);
        QCOMPARE(document()->undoStack()->count(), 3);
        QVERIFY(m_window->BotSalvarClick());
        const ReportProject saved = parseReportProject(decodeProjectText(readFile(m_path)), m_path);
        QCOMPARE(saved.activeReport, QStringLiteral("A4 6x20 (cópia)"));
        QCOMPARE(saved.reports.size(), 4);
        QCOMPARE(saved.reports.last().elements.size(), saved.reports.first().elements.size() == 4 ? 4 : saved.reports.last().elements.size());
        QVERIFY(!saved.findReport(QStringLiteral("A4 6x20")));
        document()->selectReport(3);
        QCOMPARE(document()->report().name, QStringLiteral("A4 6x20 (cópia)"));
    }

    // A Windows-1252 project cannot hold "≥" nor an emoji: saving is refused
    // with the characters named, never written as "?".
    void characterTheCodePageLacksIsRefused()
    {
        const QByteArray bytes = toCp1252(decodeProjectText(readFile(SampleFile)));
        const QString path = m_dir.filePath(QStringLiteral("Cp1252.rav"));
        QVERIFY(writeFile(path, bytes));
        DesignDocument document;
        QVERIFY(document.open(path));
        SheetReport report = document.report();
        report.elements[1].value = QStringLiteral("Preço ≥ R$ \U0001F600");
        document.edit(report, QStringLiteral("Campo ou texto"));
        QString message;
        QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::Refused);
        QVERIFY2(message.contains(QStringLiteral("≥ \U0001F600")) && !message.contains(QStringLiteral("ç")), qPrintable(message));
        QCOMPARE(readFile(path), bytes);
        report.elements[1].value = QStringLiteral("Preço até R$");
        document.edit(report, QStringLiteral("Campo ou texto"));
        QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::Saved);
    }

    // Saved anyway over a file another program changed: only the block this
    // window edited is written; the other program's lines stay.
    void savedAnywayWritesOnlyTheEditedBlocks()
    {
        const QByteArray bytes = readFile(SampleFile);
        const QString path = m_dir.filePath(QStringLiteral("Mudado.rav"));
        QVERIFY(writeFile(path, bytes));
        DesignDocument document;
        QVERIFY(document.open(path));
        document.selectReport(2);
        SheetReport report = document.report();
        report.elements[0].box.translate(0.25, 0);
        document.edit(report, QStringLiteral("Mover"));
        // Another program adds a comment at the top and changes the Carta report.
        QByteArray elsewhere = "# nota de outro programa\n" + bytes;
        elsewhere.replace("x=1 y=0.4 largura=45.85", "x=1.5 y=0.4 largura=45.35");
        QVERIFY(writeFile(path, elsewhere));
        QString message;
        QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::ChangedOnDisk);
        QCOMPARE(document.save(true, &message), DesignDocument::SaveResult::Saved);
        const QByteArray saved = readFile(path);
        // The edited line is written anew as a whole statement; everything else is the other program's.
        const ReportProject project = parseReportProject(decodeProjectText(saved), path);
        QCOMPARE(project.reports[1].elements[0].box.x(), 1.5);
        QCOMPARE(project.reports[2].elements[0].box.x(), 1.75);
        QVERIFY(saved.startsWith("# nota de outro programa\n"));
        QCOMPARE(saved.size() - elsewhere.size(), qsizetype(QByteArray("  campo COMPONENTE x=1.75 y=0.8 largura=42 altura=8.7 tamanho=7 quebra=sim").size()) -
                                                      qsizetype(QByteArray("  campo  COMPONENTE  x=1.5 y=0.8 largura=42 altura=8.7 fonte=\"Arial\" tamanho=7 quebra=sim").size()));
    }

    // A project path that does not exist is said, not opened blank in silence.
    void missingProjectIsSaid()
    {
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_dir.filePath(QStringLiteral("nao-existe/Selvar.rav"))));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(QStringLiteral("não existe")));
        document()->startNewReport(newSheetReport(QStringLiteral("A4"), sheetNamed(QStringLiteral("A4 3 x 10"))));
        m_answer = false;
        QVERIFY(!m_window->BotSalvarClick());
        QVERIFY2(m_questions.last().contains(QStringLiteral("a pasta")) && m_questions.last().contains(QStringLiteral("Salvar como")),
                 qPrintable(m_questions.last()));
        QString message;
        QCOMPARE(document()->saveAs(m_dir.filePath(QStringLiteral("Novo.rav")), &message), DesignDocument::SaveResult::Saved);
        QCOMPARE(parseReportProject(decodeProjectText(readFile(m_dir.filePath(QStringLiteral("Novo.rav")))), QString()).activeReport,
                 QStringLiteral("A4"));
    }
};

QTEST_MAIN(DesignerProjectTest)
#include "tst_designer_project.moc"
