// The designer's window and the file on disk: "Recarregar" over unsaved work
// lists the edits and makes them again on the file as another program left
// it (naming those that no longer apply) or drops them on purpose; a text a
// Windows-1252 file cannot hold switches the file to UTF-8 with BOM when the
// user agrees, nothing else changing; Ctrl+Z in a number box undoes the work.
#include "Cp1252.h"
#include "DesignDocument.h"
#include "DesignerInput.h"
#include "DesignerTestFiles.h"
#include "DesignerWindow.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ProjectText.h"
#include "ProjectWriter.h"
#include "PropertiesPanel.h"
#include "ReloadDialog.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString SampleFile = QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav");

} // namespace

class DesignerFilesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    DesignerWindow *m_window = nullptr;
    QStringList m_messages;
    QStringList m_questions;
    bool m_answer = false;

    LabelCanvas *canvas() const { return m_window->canvas(); }
    DesignDocument *document() const { return m_window->document(); }

    void openWindow(const QByteArray &bytes)
    {
        m_path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(m_path, bytes));
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_path));
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void select(int element) { QTest::mouseClick(canvas()->viewport(), Qt::LeftButton, {}, centreOf(canvas(), element)); }

    // The reload's dialog answered by a click on `button` (by name), its list kept.
    QStringList m_listed;
    void reloadAnsweredWith(QPushButton *ReloadDialog::*button)
    {
        m_window->runDialog = [this, button](QDialog &dialog) {
            auto &reload = static_cast<ReloadDialog &>(dialog);
            dialog.show();
            m_listed = itemsOf(reload.ListaAlteracoes);
            QTest::mouseClick(reload.*button, Qt::LeftButton);
            return dialog.result();
        };
    }

private slots:
    void init()
    {
        m_messages.clear();
        m_questions.clear();
        m_listed.clear();
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

    // Edits of this window, another program's change on disk, "Recarregar":
    // the edits are listed, made again on the file as it is now by element
    // identity; the one on an element the other program removed is named.
    // Saved, the file is the other program's with exactly this window's edits.
    void reloadMakesTheEditsAgain()
    {
        const QByteArray bytes = readFile(SampleFile);
        openWindow(bytes);
        select(0);
        QTest::keyClick(canvas()->viewport(), Qt::Key_Right);
        select(1);
        QCheckBox *bold = m_window->Propriedades->CheckNegrito;
        QTest::mouseClick(bold, Qt::LeftButton, {}, QPoint(bold->height() / 2, bold->height() / 2));
        select(3);
        QTest::keyClick(canvas()->viewport(), Qt::Key_Delete);
        const SheetReport edited = document()->report();
        QCOMPARE(edited.elements.size(), 3);
        QVERIFY(edited.elements[1].bold);

        // Another program: a comment on top, the Carta report changed, the
        // "Preço R$:" text of the A4 report gone.
        QByteArray elsewhere = "# nota de outro programa\n" + bytes;
        elsewhere.replace("x=1 y=0.4 largura=45.85", "x=1.5 y=0.4 largura=45.35");
        elsewhere.replace("  texto  \"Preço R$:\" x=0.6 y=6.1 largura=11 altura=2.2 fonte=\"Arial\" tamanho=5\n", "");
        QVERIFY(writeFile(m_path, elsewhere));

        // Cancelar: nothing happens.
        reloadAnsweredWith(&ReloadDialog::BotCancelar);
        m_window->findChild<QAction *>(QStringLiteral("ActRecarregar"))->trigger();
        QCOMPARE(m_listed.size(), 3);
        QCOMPARE(document()->report().elements, edited.elements);
        QCOMPARE(readFile(m_path), elsewhere);

        reloadAnsweredWith(&ReloadDialog::BotReaplicar);
        m_window->findChild<QAction *>(QStringLiteral("ActRecarregar"))->trigger();
        QVERIFY2(m_listed.filter(QStringLiteral("negrito")).size() == 1 && m_listed.filter(QStringLiteral("excluído")).size() == 1,
                 qPrintable(m_listed.join(QLatin1Char('\n'))));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(QStringLiteral("\"Preço R$:\" — negrito")) && m_messages.first().contains(QStringLiteral("não está mais")),
                 qPrintable(m_messages.first()));
        QVERIFY(document()->isModified());

        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_messages.size(), 1);
        // The other program's file, with the name moved and the barcode's line gone.
        const ReportProject there = parseReportProject(decodeProjectText(elsewhere), m_path);
        const SheetReport &a4 = there.reports[0];
        QCOMPARE(a4.elements.size(), 3);
        const ProjectText text(elsewhere);
        const QByteArray expected = ProjectText(text.replaced(a4.elements[2].line, a4.elements[2].line, {}))
                                        .replaced(a4.elements[0].line, a4.elements[0].line,
                                                  {QStringLiteral("  ") + elementStatement(edited.elements[0])});
        QCOMPARE(readFile(m_path), expected);
    }

    // "Recarregar e descartar": the file as it is on disk, the edits gone on purpose.
    void reloadCanDiscard()
    {
        const QByteArray bytes = readFile(SampleFile);
        openWindow(bytes);
        select(0);
        QTest::keyClick(canvas()->viewport(), Qt::Key_Right);
        const QByteArray elsewhere = "# nota de outro programa\n" + bytes;
        QVERIFY(writeFile(m_path, elsewhere));
        reloadAnsweredWith(&ReloadDialog::BotDescartar);
        m_window->findChild<QAction *>(QStringLiteral("ActRecarregar"))->trigger();
        QCOMPARE(m_listed.size(), 1);
        QVERIFY(!document()->isModified());
        QCOMPARE(document()->text().bytes(), elsewhere);
        QCOMPARE(document()->report().elements[0].box, parseReportProject(decodeProjectText(bytes), m_path).reports[0].elements[0].box);
        QVERIFY(m_messages.isEmpty());
    }

    // A Windows-1252 file and "≥" with an emoji: refused with the characters
    // named; the offer taken, the whole file goes to UTF-8 with BOM with every
    // other character and line end as it was, and stays so at the next save.
    void switchToUtf8WithBom()
    {
        const QByteArray bytes = toCp1252(decodeProjectText(readFile(SampleFile)).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
        openWindow(bytes);
        SheetReport report = document()->report();
        const QString typed = QStringLiteral("Preço ≥ R$ \U0001F600");
        report.elements[1].value = typed;
        document()->edit(report, QStringLiteral("Campo ou texto"));

        m_answer = false;
        QVERIFY(!m_window->BotSalvarClick());
        QCOMPARE(m_questions.size(), 1);
        QVERIFY2(m_questions.first().contains(QStringLiteral("≥ \U0001F600")) && m_questions.first().contains(QStringLiteral("UTF-8 com BOM")),
                 qPrintable(m_questions.first()));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(readFile(m_path), bytes);

        m_answer = true;
        QVERIFY(m_window->BotSalvarClick());
        const QByteArray saved = readFile(m_path);
        QVERIFY(saved.startsWith("\xEF\xBB\xBF"));
        // Line for line the file read, but the element's line.
        const int line = parseReportProject(decodeProjectText(bytes), m_path).reports[0].elements[1].line;
        const ProjectText before(bytes);
        QCOMPARE(ProjectText(saved).lineCount(), before.lineCount());
        QCOMPARE(saved.count("\r\n"), bytes.count("\r\n"));
        for (int n = 1; n <= before.lineCount(); ++n) {
            if (n != line)
                QCOMPARE(ProjectText(saved).line(n), before.line(n));
        }
        QVERIFY(ProjectText(saved).line(line).contains(typed));

        // Kept after: the next edit is saved in UTF-8 with BOM without a question.
        select(0);
        QTest::keyClick(canvas()->viewport(), Qt::Key_Right);
        QVERIFY(m_window->BotSalvarClick());
        QCOMPARE(m_questions.size(), 2);
        const QByteArray again = readFile(m_path);
        QCOMPARE(ProjectText(again).encoding(), ProjectText::Encoding::Utf8Bom);
        QCOMPARE(parseReportProject(decodeProjectText(again), m_path).reports[0].elements[1].value, typed);
    }

    // Ctrl+Z with the cursor in a number box of the panel undoes the work's
    // last step, and the box shows the value back; Ctrl+Shift+Z redoes it.
    // Typing not yet taken is put back in the box, leaving the work alone.
    void undoInANumberBox()
    {
        openWindow(readFile(SampleFile));
        select(0);
        const SheetReport original = document()->report();
        QDoubleSpinBox *x = m_window->Propriedades->EditX;
        QTest::mouseClick(x, Qt::LeftButton);
        QTest::keyClick(x, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(x, QStringLiteral("2,5"));
        QTest::keyClick(x, Qt::Key_Return);
        QCOMPARE(document()->report().elements[0].box.x(), 2.5);
        QCOMPARE(document()->undoStack()->count(), 1);
        QVERIFY(x->hasFocus());

        QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document()->report().elements, original.elements);
        QCOMPARE(x->value(), original.elements[0].box.x());
        QVERIFY(!document()->isModified());

        QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(document()->report().elements[0].box.x(), 2.5);
        QCOMPARE(x->value(), 2.5);

        // Typed, not taken: Ctrl+Z puts the box back to 2,50; the work is left alone.
        QTest::keyClick(x, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(x, QStringLiteral("7"));
        QCOMPARE(x->text(), QStringLiteral("7 mm"));
        QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(x->text(), QStringLiteral("2,50 mm"));
        QCOMPARE(document()->report().elements[0].box.x(), 2.5);
        QCOMPARE(document()->undoStack()->index(), 1);
        QTest::keyClick(x, Qt::Key_Return);
        QCOMPARE(document()->undoStack()->count(), 1);
    }
};

QTEST_MAIN(DesignerFilesTest)
#include "tst_designer_files.moc"

