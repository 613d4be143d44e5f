// The designer's document: opening and saving gives back the file byte for
// byte; edits undo and redo, a drag as one step; a layout the parser refuses
// and a file changed on disk are not written over; new reports made from the
// stock in hand print labels that scan, inside their labels.
#include "ArialStandIn.h"
#include "Cp1252.h"
#include "DesignDocument.h"
#include "DesignerTestFiles.h"
#include "Alignment.h"
#include "Snapping.h"
#include "LabelPicture.h"
#include "LabelSheets.h"
#include "LayoutWarnings.h"
#include "NewReports.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ReportTestKit.h"
#include "SampleProducts.h"
#include "SheetDocument.h"
#include "SheetText.h"
#include "ThermalRenderer.h"
#include "ThermalReportFiles.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString SampleFile = QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav");

QImage blankAt(QSize size, double dpi)
{
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}

// Whether a text printed at `dpi` shows cut: printed again with room below
// (and, on one line, to the side its alignment grows to), it leaves ink
// outside its own box. The same printing code both times.
bool visiblyCut(const CellElement &element, const QString &text, double dpi)
{
    const double perMm = dpi / 25.4;
    const QSizeF box(element.box.width() * perMm, element.box.height() * perMm);
    const double margin = std::max(box.width(), 4 * box.height()) + 20;
    QImage image = blankAt(QSize(int(box.width() + 2 * margin), int(box.height() + 2 * margin)), dpi);
    const QRectF placed(QPointF(margin, margin), box);
    QRectF room = placed;
    room.setBottom(room.bottom() + margin - 10);
    if (!element.wrap) {
        if (element.alignment & Qt::AlignRight)
            room.setLeft(10);
        else if (element.alignment & Qt::AlignHCenter)
            room.adjust(-(margin - 10), 0, margin - 10, 0);
        else
            room.setRight(image.width() - 10);
    }
    QPainter painter(&image);
    paintSheetText(painter, room, element, text);
    painter.end();
    // Ink beyond the box where it had room, or ink on the box's edge where
    // the clip still holds it (the top, and the sides of a wrapped text).
    const QRect inside = placed.toAlignedRect().adjusted(-1, -1, 1, 1);
    const QRect clipped = placed.toAlignedRect().adjusted(room.left() < placed.left() ? -1 : 1, 1,
                                                           room.right() > placed.right() ? 1 : -1, 1);
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] < 128 && (!inside.contains(x, y) || (placed.contains(x, y) && !clipped.contains(x, y))))
                return true;
        }
    }
    return false;
}

// What the warning says about the same text at `dpi`.
bool warnedCut(const CellElement &element, const QString &text, double dpi)
{
    QImage device = blankAt(QSize(1, 1), dpi);
    const double perMm = dpi / 25.4;
    return sheetTextIsCut(QRectF(element.box.x() * perMm, element.box.y() * perMm, element.box.width() * perMm, element.box.height() * perMm),
                          element, text, &device);
}

} // namespace

class DesignDocumentTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString copyOf(const QByteArray &bytes, const QString &name = QStringLiteral("Selvar.rav"))
    {
        const QString path = m_dir.filePath(name);
        if (!writeFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase() { verifyArialStandIn(); }

    // "Texto cortado" against the print: for the starting layout of every
    // sheet, each sample product, at 203, 300 and 600 dpi, a text is warned
    // exactly when the printed one is visibly cut (no false warning, none
    // missed); a deliberately long name is warned wherever it shows cut.
    void cutWarningsMatchThePrint()
    {
        QList<LabelRecord> records = sampleProducts().mid(0, 4);
        LabelRecord longName = records.first();
        longName.set(QStringLiteral("COMPONENTE"), {QStringLiteral("CREME HIDRATANTE CORPORAL COM ÓLEO DE AMÊNDOAS, MANTEIGA DE KARITÉ "
                                                                      "E VITAMINA E, PELE EXTRASSECA, FRASCO COM VÁLVULA PUMP 400 ML")});
        int checked = 0;
        int cut = 0;
        for (const LabelSheet &sheet : labelSheets()) {
            const SheetReport report = newSheetReport(sheet.name, sheet);
            for (const double dpi : {203.0, 300.0, 600.0}) {
                for (qsizetype r = 0; r <= records.size(); ++r) {
                    const bool isLong = r == records.size();
                    const LabelRecord &record = isLong ? longName : records[r];
                    for (const CellElement &element : report.elements) {
                        const QString text = SheetDocument::textOf(element, record);
                        if (element.kind == CellElement::Kind::Barcode || text.isEmpty())
                            continue;
                        const bool warned = warnedCut(element, text, dpi);
                        const bool seen = visiblyCut(element, text, dpi);
                        // The long name: no cut goes unwarned. The products of every day: no false warning either.
                        QVERIFY2(isLong ? (warned || !seen) : warned == seen,
                                 qPrintable(QStringLiteral("%1 at %2 dpi: %3 warned %4").arg(sheet.name).arg(dpi).arg(text).arg(warned)));
                        ++checked;
                        cut += warned;
                    }
                }
            }
        }
        QVERIFY(checked > 500);
        QVERIFY(cut > 0); // the long name, at least somewhere
    }

    void openAndSaveKeepsEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray sample = readFile(SampleFile);
        QTest::newRow("deploy/Selvar.rav") << sample;
        QTest::newRow("deploy/Selvar.rav, CR LF, Windows-1252")
            << toCp1252(decodeProjectText(sample).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
        QTest::newRow("report tests' project") << ReportTestKit::smallProject().toUtf8();
    }

    void openAndSaveKeepsEveryByte()
    {
        QFETCH(QByteArray, bytes);
        const QString path = copyOf(bytes);
        DesignDocument document;
        QVERIFY(document.open(path));
        QVERIFY(document.fileFault().isEmpty());
        for (int i = 0; i < document.project().reports.size(); ++i) {
            document.selectReport(i);
            QVERIFY(!document.isModified());
            QString message;
            QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::Saved);
            QCOMPARE(readFile(path), bytes);
        }
    }

    void dragUndoesAsOneStep()
    {
        DesignDocument document;
        QVERIFY(document.open(copyOf(readFile(SampleFile))));
        const SheetReport original = document.report();
        for (int step = 1; step <= 5; ++step) {
            SheetReport moved = original;
            moved.elements[0].box.translate(step * 0.5, 0);
            document.edit(moved, QStringLiteral("Mover"), 7);
        }
        SheetReport bolder = document.report();
        bolder.elements[1].bold = true;
        document.edit(bolder, QStringLiteral("Propriedade"));
        QCOMPARE(document.undoStack()->count(), 2);
        QCOMPARE(document.report().elements[0].box.x(), original.elements[0].box.x() + 2.5);
        document.undoStack()->undo();
        QVERIFY(!document.report().elements[1].bold);
        document.undoStack()->undo();
        QCOMPARE(document.report().elements, original.elements);
        QVERIFY(!document.isModified());
        document.undoStack()->redo();
        document.undoStack()->redo();
        QCOMPARE(document.report().elements, bolder.elements);
        QVERIFY(document.isModified());
    }

    void refusedLayoutIsNotWritten()
    {
        const QByteArray bytes = readFile(SampleFile);
        const QString path = copyOf(bytes);
        DesignDocument document;
        QVERIFY(document.open(path));
        SheetReport outside = document.report();
        outside.elements[0].box.moveLeft(outside.grid.cellWidth - 1); // reaches past the label
        document.edit(outside, QStringLiteral("Mover"));
        QVERIFY(document.layoutFault().contains(QStringLiteral("sai da etiqueta")));
        QString message;
        QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::Refused);
        QCOMPARE(message, document.layoutFault());
        QCOMPARE(readFile(path), bytes);
    }

    // A report's own settings saved read back; in a Windows-1252 file with
    // CR LF, renaming the active report rewrites 'ativo' (its comment kept)
    // and one undo takes both back, while renaming another leaves it alone.
    void settingsAndRenamesKeepTheProjectWhole()
    {
        const QByteArray bytes = toCp1252(decodeProjectText(readFile(SampleFile))
                                              .replace(QStringLiteral("\n"), QStringLiteral("\r\n"))
                                              .replace(QStringLiteral("ativo \"A4 6x20\""), QStringLiteral("ativo \"A4 6x20\"  # a de sempre")));
        const QString path = copyOf(bytes);
        DesignDocument document;
        QVERIFY(document.open(path));
        document.selectReport(3);
        SheetReport roll = document.report();
        roll.name = QStringLiteral("Zebra 300 dpi");
        roll.thermal->dpi = 300;
        roll.thermal->gap = 2.5;
        QVERIFY(document.faultOfChange(roll).isEmpty());
        document.edit(roll, QStringLiteral("Configurações do relatório"));
        QString message;
        QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::Saved);
        QByteArray expected = bytes;
        expected.replace("relatorio \"Zebra ZPL 30x17\"", "relatorio \"Zebra 300 dpi\"")
            .replace("resolucao=203", "resolucao=300")
            .replace("espaco=3", "espaco=2.5");
        QCOMPARE(readFile(path), expected);
        const ReportProject saved = parseReportProject(decodeProjectText(expected), path);
        QCOMPARE(saved.reports[3].thermal->dpi, 300);
        QCOMPARE(saved.reports[3].thermal->gap, 2.5);

        document.selectReport(0);
        SheetReport sheet = document.report();
        sheet.name = QStringLiteral("A4 padrão");
        sheet.grid.order = SheetGrid::Order::DownThenAcross;
        document.edit(sheet, QStringLiteral("Configurações do relatório"));
        const QByteArray renamed = document.composedBytes();
        QVERIFY(renamed.contains("ativo \"A4 padr\xE3o\"  # a de sempre\r\n"));
        QCOMPARE(parseReportProject(decodeProjectText(renamed), path).activeReport, sheet.name);
        document.undoStack()->undo();
        QCOMPARE(document.composedBytes(), expected);

        // A name the project has already is the parser's fault, and not taken.
        sheet.name = QStringLiteral("Carta 4x20");
        QVERIFY(document.faultOfChange(sheet).contains(QStringLiteral("já existe")));
    }

    void fileChangedOnDiskIsNotOverwritten()
    {
        const QString path = copyOf(readFile(SampleFile));
        DesignDocument document;
        QVERIFY(document.open(path));
        SheetReport moved = document.report();
        moved.elements[0].box.translate(0.5, 0);
        document.edit(moved, QStringLiteral("Mover"));
        QByteArray elsewhere = readFile(path);
        elsewhere.append("# mudado por outra pessoa\n");
        QVERIFY(writeFile(path, elsewhere));
        QString message;
        QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::ChangedOnDisk);
        QCOMPARE(readFile(path), elsewhere);
        QCOMPARE(document.save(true, &message), DesignDocument::SaveResult::Saved);
        QCOMPARE(document.report().elements[0].box.x(), moved.elements[0].box.x());
        QVERIFY(!document.isModified());
    }

    // Every sheet of the list, and a new project begun from nothing.
    void newSheetReports()
    {
        const QList<LabelSheet> sheets = labelSheets();
        QVERIFY2(sheets.size() >= 10, qPrintable(QString::number(sheets.size())));
        int papers[3] = {};
        for (const LabelSheet &sheet : sheets) {
            papers[sheet.pageSize == QPageSize::A4 ? 0 : sheet.pageSize == QPageSize::Letter ? 1 : 2]++;
            const QString path = m_dir.filePath(QStringLiteral("novo-%1.rav").arg(&sheet - sheets.data()));
            DesignDocument document;
            QVERIFY(document.open(path));
            document.startNewReport(newSheetReport(sheet.name, sheet));
            QString message;
            QVERIFY2(document.save(false, &message) == DesignDocument::SaveResult::Saved, qPrintable(sheet.name + QStringLiteral(": ") + message));
            const SheetReport *saved = document.project().findReport(sheet.name);
            QVERIFY(saved);
            QCOMPARE(saved->grid.cellsPerPage(), sheet.grid.columns * sheet.grid.rows);
            QCOMPARE(document.project().activeReport, sheet.name);
        }
        QVERIFY(papers[0] >= 5 && papers[1] >= 5);
    }

    // Edges and centres within reach snap (and draw their guide); else the 0,5 mm grid.
    void snappingAndAlignment()
    {
        const QRectF label(0, 0, 40, 20);
        const QList<QRectF> others{QRectF(5, 2, 10, 4)};
        Snapped moved = snapMove(QRectF(5.3, 9.12, 8, 3), others, label, 0.4);
        QCOMPARE(moved.box, QRectF(5, 9, 8, 3));
        QCOMPARE(moved.guides.size(), 1);
        QCOMPARE(moved.guides.first().x1(), 5.0);
        moved = snapMove(QRectF(17.9, 8.6, 4, 3), others, label, 0.4); // its centre meets the label's: x 18, y 8.5
        QCOMPARE(moved.box.topLeft(), QPointF(18, 8.5));
        QCOMPARE(moved.guides.size(), 2);
        const Snapped resized = snapResize(QRectF(30, 1, 9.8, 0.2), others, label, 0.4, 0.5);
        QCOMPARE(resized.box, QRectF(30, 1, 10, 0.5));

        const QList<QRectF> boxes{QRectF(2, 1, 10, 3), QRectF(20, 5, 4, 3), QRectF(14, 12, 6, 2)};
        for (const QRectF &box : aligned(boxes, AlignEdge::Left, label, false))
            QCOMPARE(box.left(), 2.0);
        for (const QRectF &box : aligned(boxes, AlignEdge::Bottom, label, false))
            QCOMPARE(box.bottom(), 14.0);
        for (const QRectF &box : aligned(boxes, AlignEdge::HorizontalCentre, label, true))
            QCOMPARE(box.center().x(), 20.0);
        const QList<QRectF> spread = distributed(boxes, Qt::Horizontal);
        QCOMPARE(spread[0], boxes[0]);
        QCOMPARE(spread[1], boxes[1]);
        QCOMPARE(spread[2].left() - spread[0].right(), spread[1].left() - spread[2].right());
    }

    void newThermalReportsPrintAndScan_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSizeF>("label");
        QTest::newRow("ZPL 203 dpi, 2 x 50 x 30 mm") << int(PrinterLanguage::Zpl) << 203 << QSizeF(50, 30);
        QTest::newRow("EPL2 300 dpi, 2 x 40 x 25 mm") << int(PrinterLanguage::Epl2) << 300 << QSizeF(40, 25);
    }

    void newThermalReportsPrintAndScan()
    {
        QFETCH(int, language);
        QFETCH(int, dpi);
        QFETCH(QSizeF, label);
        DesignDocument document;
        QVERIFY(document.open(copyOf(readFile(SampleFile))));
        document.startNewReport(newThermalReport(QStringLiteral("Rolo novo"), {PrinterLanguage(language), dpi, 2, 3, label}));
        QString message;
        QVERIFY2(document.save(false, &message) == DesignDocument::SaveResult::Saved, qPrintable(message));
        const SheetReport &report = document.report();
        QVERIFY(report.thermal);
        QCOMPARE(report.thermal->dpi, dpi);

        const QList<LabelRecord> products = sampleProducts();
        const QList<QByteArray> files = thermalCommandFiles(report, products, document.project().offset + report.offset);
        QCOMPARE(files.size(), 2);
        const LabelStock stock = stockOf(report);
        int position = 0;
        for (const QByteArray &file : files) {
            QCOMPARE(detectLanguage(file), PrinterLanguage(language));
            const RenderedFile rendered = readCommandFile(file, dpi);
            QVERIFY(rendered.faults.isEmpty());
            const PrintImage &image = rendered.images.first();
            QCOMPARE(checkAgainstStock(image, stock).size(), 0);
            for (int column = 0; column < 2; ++column, ++position) {
                const QString read = ReportTestKit::decodeImage(paintPrintImage(image, stock.labelRect(column)));
                QCOMPARE(read, products[position].value(QStringLiteral("CODIGOEAN")).plain);
            }
        }
        // The canvas finds nothing to warn about in a new layout.
        const LabelPicture picture = labelPicture(report, products, 0);
        const QStringList warnings = layoutWarnings(report, products, picture);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(DesignDocumentTest)
#include "tst_design_document.moc"
