// Work in the designer is not lost and does not land astray, driven with the
// real mouse and keys: Enter and Escape on the unsaved-work question keep the
// work; every report keeps its edits while another is shown and one "Salvar"
// writes them all, each in its own block; a drag interrupted by Delete, undo
// or duplicate moves nothing else; a property ticked for two elements changes
// that property and nothing more.
#include "DesignDocument.h"
#include "DesignerInput.h"
#include "DesignerTestFiles.h"
#include "DesignerWindow.h"
#include "LabelCanvas.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ProjectText.h"
#include "ProjectWriter.h"
#include "QtTranslations.h"
#include "PropertiesPanel.h"
#include "ReportTestKit.h"
#include "SaveQuestion.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString SampleFile = QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav");

// The lines of `bytes` that differ from `original`'s, by number (both the same length).
QList<int> changedLines(const QByteArray &original, const QByteArray &bytes)
{
    const ProjectText before(original);
    const ProjectText after(bytes);
    QList<int> changed;
    for (int line = 1; line <= std::max(before.lineCount(), after.lineCount()); ++line) {
        if (before.line(line) != after.line(line))
            changed << line;
    }
    return changed;
}

} // namespace

class DesignerEditsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    DesignerWindow *m_window = nullptr;
    QStringList m_asked;
    QStringList m_buttons;
    QStringList m_messages;

    LabelCanvas *canvas() const { return m_window->canvas(); }
    DesignDocument *document() const { return m_window->document(); }

    void openWindow(const QByteArray &bytes, int zoom)
    {
        m_path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(m_path, bytes));
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_path));
        canvas()->setZoom(zoom);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        canvas()->centerOn(QPointF(document()->report().grid.cellWidth / 2, document()->report().grid.cellHeight / 2));
    }

    // The question answered on the real box with one key, as a person would.
    void answerWith(Qt::Key key)
    {
        Messages::setChoiceSink([this, key](const QString &text) {
            m_asked << text;
            const std::unique_ptr<QMessageBox> box = saveQuestionBox(text, m_window);
            box->show();
            m_buttons.clear();
            for (QAbstractButton *button : box->buttons())
                m_buttons << button->text();
            m_buttons.sort();
            // SELVAR_SCREENSHOT_DIR: the question as the user sees it.
            if (const QString folder = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR"); !folder.isEmpty())
                box->grab().save(QDir(folder).filePath(QStringLiteral("designer-save-question.png")));
            QTest::keyClick(box.get(), key);
            return saveQuestionAnswer(*box);
        });
    }

    // An element clicked and moved a tenth of a millimetre right with →.
    void nudgeRight(int element)
    {
        QTest::mouseClick(canvas()->viewport(), Qt::LeftButton, {}, centreOf(canvas(), element));
        QTest::keyClick(canvas()->viewport(), Qt::Key_Right);
    }

    void chooseReport(int row)
    {
        QListWidget *list = m_window->ListaRelatorios;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QCOMPARE(document()->currentIndex(), row);
    }

private slots:
    void init()
    {
        m_asked.clear();
        m_messages.clear();
        Messages::setSink([this](const QString &text) { m_messages << text; });
        Messages::setChoiceSink({});
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    // Quitting ("Sair", Ctrl+Q) and opening another project: Escape keeps the
    // window and its edits, Enter saves them first.
    void enterAndEscapeKeepTheWork_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::newRow("Sair") << true;
        QTest::newRow("Abrir") << false;
    }

    void enterAndEscapeKeepTheWork()
    {
        QFETCH(bool, quit);
        const QByteArray bytes = readFile(SampleFile);
        const QString other = m_dir.filePath(QStringLiteral("Outro.rav"));
        QVERIFY(writeFile(other, ReportTestKit::smallProject().toUtf8()));
        openWindow(bytes, 400);
        nudgeRight(1);
        const SheetReport edited = document()->report();
        const auto leave = [&] {
            if (quit)
                QTest::keyClick(m_window, Qt::Key_Q, Qt::ControlModifier);
            else
                m_window->openProject(other);
        };

        answerWith(Qt::Key_Escape);
        leave();
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_buttons, (QStringList{QStringLiteral("Cancelar"), QStringLiteral("Descartar"), QStringLiteral("Salvar")}));
        QVERIFY(m_window->isVisible());
        QCOMPARE(document()->path(), m_path);
        QVERIFY(document()->isModified());
        QCOMPARE(document()->report().elements, edited.elements);
        QCOMPARE(readFile(m_path), bytes);

        answerWith(Qt::Key_Return);
        leave();
        QCOMPARE(m_asked.size(), 2);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(m_window->isVisible(), !quit);
        QCOMPARE(document()->path(), quit ? m_path : other);
        const ReportProject saved = parseReportProject(decodeProjectText(readFile(m_path)), m_path);
        QCOMPARE(saved.reports[0].elements[1].box, edited.elements[1].box);
        QCOMPARE(changedLines(bytes, readFile(m_path)).size(), 1);
    }

    // Another report chosen in the list and back: both keep their edits, no
    // question; one "Salvar" writes both blocks and nothing else.
    void reportsKeepTheirEditsAndSaveTogether()
    {
        const QByteArray bytes = readFile(SampleFile);
        answerWith(Qt::Key_Escape);
        openWindow(bytes, 400);
        nudgeRight(0);
        const SheetReport first = document()->report();
        chooseReport(1);
        nudgeRight(0);
        const SheetReport second = document()->report();
        chooseReport(0);
        QCOMPARE(document()->report().elements, first.elements);
        chooseReport(1);
        QCOMPARE(document()->report().elements, second.elements);
        QVERIFY(m_asked.isEmpty());
        QVERIFY(m_window->ListaRelatorios->item(0)->text().endsWith(QStringLiteral("alterado")));

        // Undo walks back across the reports, each brought into view.
        QTest::keyClick(canvas()->viewport(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document()->currentIndex(), 1);
        QTest::keyClick(canvas()->viewport(), Qt::Key_Y, Qt::ControlModifier);

        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
        const ReportProject original = parseReportProject(decodeProjectText(bytes), m_path);
        const int lineA = original.reports[0].elements[0].line;
        const int lineB = original.reports[1].elements[0].line;
        const ProjectText text(bytes);
        const QByteArray expected = ProjectText(text.replaced(lineB, lineB, {QStringLiteral("  ") + elementStatement(second.elements[0])}))
                                        .replaced(lineA, lineA, {QStringLiteral("  ") + elementStatement(first.elements[0])});
        QCOMPARE(readFile(m_path), expected);
        QCOMPARE(changedLines(bytes, expected), (QList<int>{lineA, lineB}));
        QVERIFY(!document()->isModified());
    }

    // The report changed from elsewhere while the mouse still holds an
    // element: the drag ends there, whatever the element's place in the list.
    void dragInterruptedMovesNothingElse_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("key");
        const QList<std::pair<const char *, int>> keys = {{"Delete", Qt::Key_Delete}, {"Ctrl+Z", Qt::Key_Z}, {"Ctrl+D", Qt::Key_D}};
        for (const int element : {0, 1, 3}) {
            for (const auto &[name, key] : keys)
                QTest::addRow("element %d, %s", element, name) << element << key;
        }
    }

    void dragInterruptedMovesNothingElse()
    {
        QFETCH(int, element);
        QFETCH(int, key);
        openWindow(ReportTestKit::smallProject().toUtf8(), 200);
        QWidget *viewport = canvas()->viewport();
        const QList<CellElement> before = document()->report().elements;
        const QPoint from = centreOf(canvas(), element);
        const QPoint step(qRound(2 * canvas()->pixelsPerMm()), qRound(1 * canvas()->pixelsPerMm()));
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from + step);
        QTest::mouseMove(viewport, from + step * 2);
        QVERIFY(document()->report().elements[element].box != before[element].box);

        QTest::keyClick(viewport, Qt::Key(key), key == Qt::Key_Delete ? Qt::NoModifier : Qt::ControlModifier);
        const QList<CellElement> interrupted = document()->report().elements;
        const qsizetype count = key == Qt::Key_Delete ? before.size() - 1 : key == Qt::Key_D ? before.size() + 1 : before.size();
        QCOMPARE(interrupted.size(), count);
        if (key == Qt::Key_Z)
            QCOMPARE(interrupted, before);
        // The rest of the same drag, and the release.
        for (int i = 3; i <= 6; ++i)
            QTest::mouseMove(viewport, from + step * i);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + step * 6);
        QCOMPARE(document()->report().elements, interrupted);
        // The elements never dragged are where they were.
        for (const CellElement &e : interrupted) {
            const auto was = std::find_if(before.begin(), before.end(), [&](const CellElement &b) { return b.id == e.id; });
            if (was != before.end() && was - before.begin() != element)
                QCOMPARE(e.box, was->box);
        }
    }

    // Two elements selected, "Negrito" ticked: the two bold flags are all
    // that changes, however many digits the other values hold.
    void tickingBoldChangesOnlyBold()
    {
        const QByteArray bytes = ReportTestKit::smallProject()
                                     .replace(QStringLiteral("x=2 y=2 largura=56"), QStringLiteral("x=2 y=2 largura=10.399999999999999"))
                                     .replace(QStringLiteral("\"Preço R$:\" x=2"), QStringLiteral("\"Preço R$:\" x=1.125"))
                                     .toUtf8();
        openWindow(bytes, 200);
        QWidget *viewport = canvas()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(canvas(), 0));
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, centreOf(canvas(), 1));
        QCOMPARE(canvas()->selectedElements().size(), 2);
        QCheckBox *bold = m_window->Propriedades->CheckNegrito;
        QVERIFY(!bold->isChecked());
        bold->setFocus();
        QTest::keyClick(bold, Qt::Key_Space);
        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));

        const QByteArray saved = readFile(m_path);
        QCOMPARE(changedLines(bytes, saved), (QList<int>{9, 10}));
        const ProjectText text(saved);
        QCOMPARE(text.line(9), QStringLiteral("  campo COMPONENTE x=2 y=2 largura=10.4 altura=6 tamanho=10 negrito=sim"));
        QCOMPARE(text.line(10), QStringLiteral("  texto \"Preço R$:\" x=1.125 y=9 largura=20 altura=5 tamanho=9 negrito=sim"));
    }

    // Qt's own words (standard buttons) in Portuguese once its translations
    // are loaded, as both programs do at start.
    void qtOwnButtonsSpeakPortuguese()
    {
        QVERIFY(installQtTranslations(qApp));
        QDialogButtonBox buttons(QDialogButtonBox::Open | QDialogButtonBox::Cancel | QDialogButtonBox::Yes | QDialogButtonBox::No);
        QStringList texts;
        for (QAbstractButton *button : buttons.buttons())
            texts << button->text().remove(QLatin1Char('&'));
        texts.sort();
        QCOMPARE(texts, (QStringList{QStringLiteral("Abrir"), QStringLiteral("Cancelar"), QStringLiteral("Não"), QStringLiteral("Sim")}));
    }

    // Negative positions show as they are and can be typed.
    void negativePositionsInThePanel()
    {
        openWindow(ReportTestKit::smallProject().toUtf8(), 200);
        QTest::mouseClick(canvas()->viewport(), Qt::LeftButton, {}, centreOf(canvas(), 1));
        QDoubleSpinBox *y = m_window->Propriedades->EditY;
        y->setFocus();
        y->selectAll();
        QTest::keyClicks(y, QStringLiteral("-5,5"));
        QTest::keyClick(y, Qt::Key_Return);
        QCOMPARE(document()->report().elements[1].box.top(), -5.5);
        QCOMPARE(y->text(), QStringLiteral("-5,50 mm"));
    }
};

QTEST_MAIN(DesignerEditsTest)
#include "tst_designer_edits.moc"
