// The designer window driven as a person would: the mouse drags an element
// on the canvas and the saved file holds it where it was dropped; keys nudge,
// copy, paste, duplicate, delete and undo; a rubber band selects; the canvas
// shows a sheet's label with the very pixels of the sheet engine's page, and
// a thermal layout pushed off its label is warned about and not saved.
#include "DesignDocument.h"
#include "DesignerInput.h"
#include "DesignerTestFiles.h"
#include "DesignerWindow.h"
#include "HandOverIdle.h"
#include "LabelCanvas.h"
#include "NewReportDialogs.h"
#include "Messages.h"
#include "PropertiesPanel.h"
#include "PrintHandOver.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ReportModal.h"
#include "ReportSettingsDialog.h"
#include "ThermalPreviewDialog.h"
#include "ThermalReportFiles.h"
#include "ProjectText.h"
#include "ReportTestKit.h"
#include "SheetDocument.h"

#include <QFile>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

// The pointer passing over a widget with no button down, through its window
// as the windowing system delivers it (QTest's widget overload only moves the cursor).
void hover(QWidget *widget, QPoint at)
{
    QVERIFY(widget->rect().contains(at));
    QTest::mouseMove(widget->window()->windowHandle(), widget->mapTo(widget->window(), at));
}

// A number typed over a box's value.
void typeInto(QAbstractSpinBox *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

// The boxes under `widget` all write and read numbers the Brazilian way.
bool brazilianNumbers(const QWidget *widget)
{
    const QList<QAbstractSpinBox *> boxes = widget->findChildren<QAbstractSpinBox *>();
    return !boxes.isEmpty() && std::all_of(boxes.begin(), boxes.end(), [](const QAbstractSpinBox *box) {
        return box->locale().language() == QLocale::Portuguese && box->locale().territory() == QLocale::Brazil;
    });
}

// Counts the viewport's resizes; past a bound it hides the window, which
// ends a layout that chases itself, so that the test can say so.
class ResizeBound : public QObject
{
public:
    ResizeBound(QWidget *viewport, QWidget *window, int bound) : m_window(window), m_bound(bound) { viewport->installEventFilter(this); }
    bool exceeded() const { return m_count > m_bound; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && ++m_count > m_bound)
            m_window->hide();
        return false;
    }

private:
    QWidget *m_window;
    int m_bound;
    int m_count = 0;
};

} // namespace

class DesignerCanvasTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    DesignerWindow *m_window = nullptr;
    QStringList m_messages;

    LabelCanvas *canvas() const { return m_window->canvas(); }
    DesignDocument *document() const { return m_window->document(); }

    void openWindow(const QByteArray &bytes, int report, int zoom)
    {
        m_path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(m_path, bytes));
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_path));
        m_window->ListaRelatorios->setCurrentRow(report);
        canvas()->setZoom(zoom);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        canvas()->centerOn(QPointF(document()->report().grid.cellWidth / 2, document()->report().grid.cellHeight / 2));
    }

    // SELVAR_SCREENSHOT_DIR: the window as the test leaves it, for the documentation.
    void screenshot(const QString &name, QWidget *widget = nullptr)
    {
        const QString folder = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            QVERIFY((widget ? widget : m_window)->grab().save(QDir(folder).filePath(name)));
    }

private slots:
    void init()
    {
        m_messages.clear();
        Messages::setSink([this](const QString &text) { m_messages << text; });
        Messages::setQuestionSink([](const QString &) { return false; });
    }

    void cleanup()
    {
        ReportModal::setHook({});
        delete m_window;
        m_window = nullptr;
    }

    void dragMovesElementByMillimetresInTheSavedFile()
    {
        const QByteArray bytes = ReportTestKit::smallProject().toUtf8();
        openWindow(bytes, 0, 400);
        QWidget *viewport = canvas()->viewport();
        // "texto" at (2, 9), 20 x 5 mm: dragged 5 mm to the right, where nothing snaps it but the grid.
        const QPoint from = centreOf(canvas(), 1);
        drag(viewport, from, from + QPoint(qRound(5 * canvas()->pixelsPerMm()), 0));
        QCOMPARE(document()->report().elements[1].box, QRectF(7, 9, 20, 5));
        QCOMPARE(document()->undoStack()->count(), 1);

        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
        const ProjectText saved(readFile(m_path));
        QCOMPARE(saved.line(10), QStringLiteral("  texto \"Preço R$:\" x=7 y=9 largura=20 altura=5 tamanho=9"));
        QCOMPARE(QString::fromUtf8(readFile(m_path)).remove(saved.line(10)), QString::fromUtf8(bytes).remove(ProjectText(bytes).line(10)));
    }

    // Every handle resizes: the top-left one moves x and y and grows the box
    // by as much, and a side's handle dragged past the other side leaves the
    // smallest box the format takes.
    void resizeFromEveryHandle()
    {
        const QByteArray bytes = ReportTestKit::smallProject().toUtf8();
        openWindow(bytes, 0, 200);
        QWidget *viewport = canvas()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(canvas(), 1));
        const QPoint topLeft = canvas()->mapFromScene(QPointF(2, 9));
        hover(viewport, topLeft);
        QCOMPARE(viewport->cursor().shape(), Qt::SizeFDiagCursor);
        hover(viewport, canvas()->mapFromScene(QPointF(22, 11.5)));
        QCOMPARE(viewport->cursor().shape(), Qt::SizeHorCursor);
        const double perMm = canvas()->pixelsPerMm();
        drag(viewport, topLeft, topLeft - QPoint(qRound(1 * perMm), qRound(2 * perMm)));
        QCOMPARE(document()->report().elements[1].box, QRectF(1, 7, 21, 7));
        QCOMPARE(document()->undoStack()->count(), 1);
        screenshot(QStringLiteral("designer-handles.png"));

        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
        const ProjectText saved(readFile(m_path));
        QCOMPARE(saved.line(10), QStringLiteral("  texto \"Preço R$:\" x=1 y=7 largura=21 altura=7 tamanho=9"));
        QCOMPARE(QString::fromUtf8(readFile(m_path)).remove(saved.line(10)), QString::fromUtf8(bytes).remove(ProjectText(bytes).line(10)));

        const QPoint leftSide = canvas()->mapFromScene(QPointF(1, 10.5));
        drag(viewport, leftSide, leftSide + QPoint(qRound(30 * perMm), 0));
        QCOMPARE(document()->report().elements[1].box, QRectF(21.5, 7, 0.5, 7));
    }

    // "Configurações do relatório": a grid that leaves the paper is shown as
    // the parser says it and cannot be applied; a rename of the active report
    // with another column count is one step that takes 'ativo' along.
    void reportSettingsRenameTheActiveReport()
    {
        const QByteArray bytes = ReportTestKit::smallProject().toUtf8();
        openWindow(bytes, 0, 100);
        ReportModal::setHook([this](QDialog &dialog) {
            auto *settings = qobject_cast<ReportSettingsDialog *>(&dialog);
            if (!settings)
                return int(QDialog::Rejected);
            settings->show();
            settings->EditColunas->selectAll();
            QTest::keyClicks(settings->EditColunas, QStringLiteral("4"));
            if (!settings->LabelFalha->text().contains(QStringLiteral("não cabe no papel")) || settings->BotAplicar->isEnabled())
                return int(QDialog::Rejected);
            screenshot(QStringLiteral("designer-settings-refused.png"), settings);
            QTest::mouseClick(settings->BotAplicar, Qt::LeftButton);
            if (!settings->isVisible())
                return int(QDialog::Rejected);
            settings->EditColunas->selectAll();
            QTest::keyClicks(settings->EditColunas, QStringLiteral("2"));
            settings->EditNome->selectAll();
            QTest::keyClicks(settings->EditNome, QStringLiteral("Pequena"));
            QTest::mouseClick(settings->BotAplicar, Qt::LeftButton);
            return settings->result();
        });
        m_window->BotConfigurarClick();
        QCOMPARE(document()->report().name, QStringLiteral("Pequena"));
        QCOMPARE(document()->report().grid.columns, 2);
        QVERIFY(m_window->ListaRelatorios->item(0)->text().startsWith(QStringLiteral("Pequena ")));
        QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document()->composedBytes(), bytes);
        QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);

        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
        QByteArray expected = bytes;
        expected.replace("ativo \"Grande\"", "ativo \"Pequena\"")
            .replace("relatorio \"Grande\"", "relatorio \"Pequena\"")
            .replace("grade colunas=3", "grade colunas=2");
        QCOMPARE(readFile(m_path), expected);
        const ReportProject project = parseReportProject(decodeProjectText(readFile(m_path)), m_path);
        QCOMPARE(project.activeReport, QStringLiteral("Pequena"));
        QCOMPARE(project.reports.first().grid.columns, 2);
    }

    // On a machine set to another locale every number box of the window and
    // its dialogs still shows a decimal comma; a comma or a keypad's point
    // typed gives the same millimetres, written with a point in the file.
    void numberBoxesTakeTheDecimalComma()
    {
        const QLocale machine;
        const auto restore = qScopeGuard([machine] { QLocale::setDefault(machine); });
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        openWindow(ReportTestKit::smallProject().toUtf8(), 0, 100);
        QVERIFY(brazilianNumbers(m_window));
        QVERIFY(brazilianNumbers(std::make_unique<NewSheetDialog>(m_window).get()));
        QVERIFY(brazilianNumbers(std::make_unique<NewThermalDialog>(m_window).get()));
        QString margin;
        ReportModal::setHook([&margin](QDialog &dialog) {
            auto *settings = qobject_cast<ReportSettingsDialog *>(&dialog);
            if (settings && brazilianNumbers(settings))
                margin = settings->EditEsquerda->text();
            return int(QDialog::Rejected);
        });
        m_window->BotConfigurarClick();
        QCOMPARE(margin, QStringLiteral("15,00 mm"));

        canvas()->selectElements({1});
        PropertiesPanel *panel = m_window->Propriedades;
        typeInto(panel->EditLargura, QStringLiteral("2,5"));
        QTest::keyClick(panel->EditLargura, Qt::Key_Return);
        typeInto(panel->EditAltura, QStringLiteral("2.5"));
        QTest::keyClick(panel->EditAltura, Qt::Key_Return);
        QCOMPARE(document()->report().elements[1].box, QRectF(2, 9, 2.5, 2.5));
        QCOMPARE(panel->EditAltura->text(), QStringLiteral("2,50 mm"));
        QVERIFY(m_window->BotSalvarClick());
        QCOMPARE(ProjectText(readFile(m_path)).line(10), QStringLiteral("  texto \"Preço R$:\" x=2 y=9 largura=2.5 altura=2.5 tamanho=9"));
    }

    void keysNudgeCopyPasteAndUndo()
    {
        openWindow(ReportTestKit::smallProject().toUtf8(), 0, 200);
        QWidget *viewport = canvas()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(canvas(), 2));
        QCOMPARE(canvas()->selectedElements(), QList<int>{2});
        QTest::keyClick(viewport, Qt::Key_Right);
        QTest::keyClick(viewport, Qt::Key_Right);
        QTest::keyClick(viewport, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(document()->report().elements[2].box.topLeft(), QPointF(24.2, 10));

        QTest::keyClick(viewport, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(document()->report().elements.size(), 5);
        QCOMPARE(document()->report().elements[4].box.topLeft(), QPointF(25.2, 11));
        QCOMPARE(document()->report().elements[4].line, 0);
        QCOMPARE(canvas()->selectedElements(), QList<int>{4});
        QTest::keyClick(viewport, Qt::Key_Delete);
        QCOMPARE(document()->report().elements.size(), 4);

        // Shift+click adds to the selection; copy and paste bring both.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(canvas(), 2));
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, centreOf(canvas(), 1));
        QCOMPARE(canvas()->selectedElements().size(), 2);
        QTest::keyClick(viewport, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(viewport, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(document()->report().elements.size(), 6);

        for (int i = 0; i < 7; ++i)
            QTest::keyClick(viewport, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document()->report().elements.size(), 4);
        QCOMPARE(document()->report().elements[2].box.topLeft(), QPointF(24, 9));
        QVERIFY(!document()->isModified());
        QTest::keyClick(viewport, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(document()->report().elements[2].box.topLeft(), QPointF(24.1, 9));
    }

    // The properties panel and the models line edit what the file writes.
    void propertiesAndModels()
    {
        openWindow(ReportTestKit::smallProject().toUtf8(), 0, 100);
        canvas()->selectElements({3});
        PropertiesPanel *panel = m_window->Propriedades;
        QVERIFY(panel->isEnabled() && panel->ComboSimbologia->isEnabled() && !panel->CheckQuebra->isEnabled());
        panel->ComboSimbologia->setCurrentText(QStringLiteral("CODE128"));
        panel->EditAltura->setValue(20);
        QCOMPARE(document()->undoStack()->count(), 2);
        m_window->EditModelos->setFocus();
        m_window->EditModelos->selectAll();
        QTest::keyClicks(m_window->EditModelos, QStringLiteral("\"A4 Pimaco\" \"Etiqueta \"\"grande\"\"\""));
        QTest::keyClick(m_window->EditModelos, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(document()->report().modelPrefixes, (QStringList{QStringLiteral("A4 Pimaco"), QStringLiteral("Etiqueta \"grande\"")}));
        QVERIFY(m_window->BotSalvarClick());
        const QString saved = QString::fromUtf8(readFile(m_path));
        QVERIFY2(saved.contains(QStringLiteral("  barras CODIGOEAN x=2 y=16 largura=56 altura=20 simbologia=CODE128\n")), qPrintable(saved));
        QVERIFY(saved.contains(QStringLiteral("  passo horizontal=65 vertical=45\n  modelos \"A4 Pimaco\" \"Etiqueta \"\"grande\"\"\"\n")));
    }

    // "Imprimir teste" on a thermal report: the row shown, through the station's
    // ImprEtiq.bat, byte for byte what the preview showed; then a calibration
    // measured on it goes into the project's 'deslocamento' and nowhere else.
    void thermalTestPrintAndCalibration()
    {
        const QByteArray bytes = readFile(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
        openWindow(bytes, 3, 100);
        QTemporaryDir station;
        QVERIFY(QFile::copy(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/ImprEtiq.bat"), station.filePath(QStringLiteral("ImprEtiq.bat"))));
        m_window->StationFolder = station.path();
        m_window->StationPrinter = station.filePath(QStringLiteral("impressora.prn"));
        QList<QByteArray> previewed;
        ReportModal::setHook([&](QDialog &dialog) {
            auto *preview = qobject_cast<ThermalPreviewDialog *>(&dialog);
            if (!preview)
                return int(QDialog::Rejected);
            for (const PreviewRow &row : preview->rows())
                previewed << row.fileName.toUtf8();
            return int(ThermalPreviewDialog::PrintRequested);
        });
        m_window->BotImprimirTesteClick();
        QVERIFY(waitUntilIdle(*m_window->handOver(), 30000));
        QCOMPARE(previewed.size(), 1);
        const SheetReport &report = document()->report();
        QCOMPARE(readFile(m_window->StationPrinter),
                 thermalCommandFiles(report, canvas()->records().mid(0, 3), document()->project().offset + report.offset).first());
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));

        // Measured with a ruler and typed, the second from a numeric keypad's point.
        ReportModal::setHook([](QDialog &dialog) {
            dialog.show();
            typeInto(dialog.findChild<QDoubleSpinBox *>(QStringLiteral("EditDireita")), QStringLiteral("0,5"));
            auto *down = dialog.findChild<QDoubleSpinBox *>(QStringLiteral("EditBaixo"));
            typeInto(down, QStringLiteral("-0.25"));
            QTest::keyClick(down, Qt::Key_Return);
            return dialog.result();
        });
        m_window->BotCalibrarClick();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
        QCOMPARE(document()->project().offset, QPointF(-0.5, 0.25));
        QCOMPARE(readFile(m_path), QByteArray(bytes).replace("deslocamento x=0 y=0", "deslocamento x=-0.5 y=0.25"));
        QCOMPARE(document()->report().name, QStringLiteral("Zebra ZPL 30x17"));
    }

    void rubberBandSelects()
    {
        openWindow(ReportTestKit::smallProject().toUtf8(), 0, 200);
        QWidget *viewport = canvas()->viewport();
        // From above-left of the label to the middle of the price line: name, text and price.
        const QPoint from = canvas()->mapFromScene(QPointF(-5, -5));
        const QPoint to = canvas()->mapFromScene(QPointF(30, 11));
        drag(viewport, from, to);
        QList<int> selected = canvas()->selectedElements();
        std::sort(selected.begin(), selected.end());
        QCOMPARE(selected, (QList<int>{0, 1, 2}));
        QCOMPARE(document()->undoStack()->count(), 0);
    }

    // The canvas's picture of a sheet label is the engine's page, pixel for pixel.
    void sheetCanvasIsTheEnginePage()
    {
        openWindow(readFile(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav")), 0, 200);
        const SheetReport &report = document()->report();
        const LabelPicture &picture = canvas()->picture();
        const double dpi = canvas()->pixelsPerMm() * 25.4 * canvas()->devicePixelRatioF();
        const QImage page = SheetDocument(report, canvas()->records().mid(0, 1), QPointF()).pageImage(0, dpi);
        const QPointF corner = (report.grid.cellRect(0).topLeft() + picture.rect.topLeft()) * dpi / 25.4;
        const QImage cell = page.copy(QRect(corner.toPoint(), picture.image.size()));
        QVERIFY(!picture.image.isNull());
        QCOMPARE(picture.image.convertToFormat(QImage::Format_RGB32), cell);
        // And it is a label: the product's barcode reads from it.
        QCOMPARE(ReportTestKit::decodeImage(picture.image), canvas()->records().first().value(QStringLiteral("CODIGOEAN")).plain);
        QTest::mouseClick(canvas()->viewport(), Qt::LeftButton, {}, centreOf(canvas(), 2));
        screenshot(QStringLiteral("designer-sheet.png"));
    }

    void thermalLayoutOffItsLabelIsWarnedAndNotSaved()
    {
        const QByteArray bytes = readFile(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
        openWindow(bytes, 3, 400);
        QVERIFY(document()->report().thermal);
        const int before = m_window->ListaAvisos->count();
        QVERIFY(before >= 1);
        // The barcode, 30 mm wide on a 30 mm label, dragged 2 mm to the right.
        const QPoint from = centreOf(canvas(), 3);
        drag(canvas()->viewport(), from, from + QPoint(qRound(2 * canvas()->pixelsPerMm()), 0));
        QCOMPARE(document()->report().elements[3].box.x(), 2.0);
        QStringList shown;
        for (int i = 0; i < m_window->ListaAvisos->count(); ++i)
            shown << m_window->ListaAvisos->item(i)->text();
        QVERIFY2(shown.first().contains(QStringLiteral("sai da etiqueta")), qPrintable(shown.join(QLatin1Char('\n'))));
        // The thermal preview's own finding about the symbol's right edge.
        QVERIFY2(shown.filter(QRegularExpression(QStringLiteral("^Código de barras .*coluna 1$"))).size() == 1,
                 qPrintable(shown.join(QLatin1Char('\n'))));
        screenshot(QStringLiteral("designer-thermal-warning.png"));
        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(QStringLiteral("não foi gravado")));
        QCOMPARE(readFile(m_path), bytes);
    }

    void opensSettledAtEverySize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("report");
        for (const QSize size : {QSize(800, 600), QSize(1024, 768), QSize(1200, 867), QSize(1366, 768), QSize(1920, 1080), QSize(2560, 1440)}) {
            for (const int report : {0, 3})
                QTest::addRow("%dx%d, report %d", size.width(), size.height(), report) << size << report;
        }
    }

    // Opened at any size, the window settles at once: the label is fitted
    // once for the window's size, whole in view, and the scroll bars the fit
    // brings do not call for another fit.
    void opensSettledAtEverySize()
    {
        QFETCH(QSize, size);
        QFETCH(int, report);
        m_path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(m_path, readFile(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"))));
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_path));
        m_window->ListaRelatorios->setCurrentRow(report);
        m_window->resize(size);
        QSignalSpy zooms(canvas(), &LabelCanvas::zoomChanged);
        const ResizeBound bound(canvas()->viewport(), m_window, 100);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window) || bound.exceeded());
        // Round after round of what the showing posted: a fit chasing its own
        // scroll bars would zoom again in every one.
        const auto rounds = [] {
            for (int round = 0; round < 40; ++round) {
                QCoreApplication::sendPostedEvents();
                QCoreApplication::processEvents();
            }
        };
        rounds();
        const qsizetype settled = zooms.count();
        rounds();
        QVERIFY2(!bound.exceeded(), "the canvas kept resizing itself");
        QCOMPARE(zooms.count(), settled);
        const SheetGrid &grid = document()->report().grid;
        const QRect label = canvas()->mapFromScene(QRectF(0, 0, grid.cellWidth, grid.cellHeight)).boundingRect();
        // Whole in view, unless the view is too narrow even at the smallest zoom.
        QVERIFY2(canvas()->zoom() == LabelCanvas::MinZoom || canvas()->viewport()->rect().contains(label),
                 qPrintable(QStringLiteral("label %1,%2 %3x%4 in %5x%6 at %7 %, scrolled %8/%9")
                                .arg(label.x()).arg(label.y()).arg(label.width()).arg(label.height())
                                .arg(canvas()->viewport()->width()).arg(canvas()->viewport()->height()).arg(canvas()->zoom())
                                .arg(canvas()->horizontalScrollBar()->value()).arg(canvas()->horizontalScrollBar()->maximum())));
    }

    // A drag past the label's edge keeps the zoom the view was fitted to, the
    // element following the pointer millimetre for millimetre; undoing it
    // keeps the zoom too.
    void dragPastTheEdgeKeepsTheZoom()
    {
        m_path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(m_path, "projeto \"Loja\"\nativo \"F\"\n"
                                  "relatorio \"F\"\n  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=0 topo=0\n"
                                  "  etiqueta largura=50 altura=30\nfim\n"
                                  "relatorio \"Zebra 50x30\"\n  modelos \"Zebra\"\n  termica linguagem=ZPL resolucao=203\n"
                                  "  rolo colunas=1 espaco=0\n  etiqueta largura=50 altura=30\n"
                                  "  campo COMPONENTE x=2 y=2 largura=30 altura=5\n"
                                  "  qr \"https://f.example/\" + CODIGOEAN x=34 y=8 largura=15 altura=15\n"
                                  "fim\n"));
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_path));
        m_window->ListaRelatorios->setCurrentRow(1);
        m_window->resize(1200, 867);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCOMPARE(document()->report().elements.size(), 2);
        const int zoom = canvas()->zoom();
        QSignalSpy zooms(canvas(), &LabelCanvas::zoomChanged);
        // The QR code, 15 mm at 34;8 on a 50 x 30 mm label, dragged 4 mm
        // right and 20 mm down, past the label's corner; it lands within the
        // snapping's reach of there.
        const QPoint from = centreOf(canvas(), 1);
        const double perMm = canvas()->pixelsPerMm();
        drag(canvas()->viewport(), from, from + QPoint(qRound(4 * perMm), qRound(20 * perMm)));
        QCOMPARE(zooms.count(), 0);
        QCOMPARE(canvas()->zoom(), zoom);
        const QPointF moved = document()->report().elements[1].box.topLeft() - QPointF(34, 8);
        QVERIFY2(std::abs(moved.x() - 4) <= 1.5 && std::abs(moved.y() - 20) <= 1.5, qPrintable(QStringLiteral("%1;%2").arg(moved.x()).arg(moved.y())));
        QTest::keyClick(canvas()->viewport(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document()->report().elements[1].box.topLeft(), QPointF(34, 8));
        QCOMPARE(zooms.count(), 0);
    }
};

QTEST_MAIN(DesignerCanvasTest)
#include "tst_designer_canvas.moc"
