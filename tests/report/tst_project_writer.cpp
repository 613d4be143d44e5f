// Saving a report back into its project file: every byte the edit did not
// touch stays, whatever the file's encoding and line ends, and what is
// written reads back as the report that was edited.
#include "Cp1252.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ProjectText.h"
#include "ProjectWriter.h"
#include "ReportTestKit.h"

#include <QFile>
#include <QStringEncoder>
#include <QtTest>

namespace {

QString sampleText()
{
    QFile file(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
    return file.open(QIODevice::ReadOnly) ? decodeProjectText(file.readAll()) : QString();
}

// The small project of the sheet tests, with a comment and odd spacing
// inside its block, which a rewrite of another line must keep.
QString smallText()
{
    return ReportTestKit::smallProject(QStringLiteral("\t# calibrado em 12/03\n  deslocamento   x=0,5 y=0\n"));
}

QByteArray encoded(const QString &text, ProjectText::Encoding encoding)
{
    switch (encoding) {
    case ProjectText::Encoding::Utf8:
        return text.toUtf8();
    case ProjectText::Encoding::Utf8Bom:
        return "\xEF\xBB\xBF" + text.toUtf8();
    case ProjectText::Encoding::Cp1252:
        return toCp1252(text);
    case ProjectText::Encoding::Utf16LE:
        return "\xFF\xFE" + QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(text));
    case ProjectText::Encoding::Utf16BE:
        return "\xFE\xFF" + QByteArray(QStringEncoder(QStringEncoder::Utf16BE).encode(text));
    }
    return {};
}

// The project in every encoding and line end a Windows editor saves it in.
void addVariants(const char *name, const QString &text)
{
    const QString lf = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString crlf = QString(lf).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const QList<std::pair<const char *, ProjectText::Encoding>> encodings = {
        {"UTF-8", ProjectText::Encoding::Utf8},       {"UTF-8 BOM", ProjectText::Encoding::Utf8Bom},
        {"Windows-1252", ProjectText::Encoding::Cp1252}, {"UTF-16LE", ProjectText::Encoding::Utf16LE},
        {"UTF-16BE", ProjectText::Encoding::Utf16BE},
    };
    for (const auto &[encodingName, encoding] : encodings) {
        QTest::addRow("%s, %s, LF", name, encodingName) << encoded(lf, encoding) << int(encoding);
        QTest::addRow("%s, %s, CR LF", name, encodingName) << encoded(crlf, encoding) << int(encoding);
    }
    QTest::addRow("%s, no line end at the end", name) << crlf.trimmed().toUtf8() << int(ProjectText::Encoding::Utf8);
}

ReportProject parsed(const QByteArray &bytes)
{
    return parseReportProject(decodeProjectText(bytes), QStringLiteral("Selvar.rav"));
}

// The lines that differ between two files of the same line count.
QList<int> changedLines(const QByteArray &before, const QByteArray &after)
{
    const ProjectText a(before), b(after);
    QList<int> lines;
    for (int i = 1; i <= std::max(a.lineCount(), b.lineCount()); ++i) {
        if (a.line(i) != b.line(i))
            lines << i;
    }
    return lines;
}

} // namespace

class ProjectWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void variants_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        addVariants("deploy/Selvar.rav", sampleText());
        addVariants("small project", smallText());
    }

    void unchangedReportsKeepEveryByte_data() { variants_data(); }
    void unchangedReportsKeepEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        const ProjectText text(bytes);
        QCOMPARE(int(text.encoding()), encoding);
        const ReportProject project = parsed(bytes);
        for (const SheetReport &report : project.reports)
            QCOMPARE(rewriteReport(text, report, report), bytes);
        QCOMPARE(setProjectOffset(text, project, project.offset) == bytes, project.offsetLine > 0);
    }

    // A drag changes one line of the file, in the file's own encoding.
    void movedElementChangesOneLine_data() { variants_data(); }
    void movedElementChangesOneLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        const ReportProject project = parsed(bytes);
        const SheetReport &original = project.reports.last();
        SheetReport edited = original;
        edited.elements[1].box.translate(0.5, -0.2);
        const QByteArray after = rewriteReport(ProjectText(bytes), original, edited);
        QCOMPARE(int(ProjectText(after).encoding()), encoding);
        QCOMPARE(ProjectText(after).lineEnd(), ProjectText(bytes).lineEnd());
        QCOMPARE(changedLines(bytes, after), QList<int>{original.elements[1].line});
        const SheetReport reread = *parsed(after).findReport(original.name);
        QCOMPARE(reread.elements[1].box, edited.elements[1].box);
    }

    // Settings, elements added and removed, models and the name: the file
    // reads back as the report edited, and the block's comments stay, a
    // comment after a changed statement included.
    void editsReadBack()
    {
        const QByteArray bytes = smallText().replace(QStringLiteral("linhas=3\n"), QStringLiteral("linhas=3  # Pimaco 6182\n")).toUtf8();
        const ReportProject project = parsed(bytes);
        const SheetReport &original = project.reports.first();
        SheetReport edited = original;
        edited.name = QStringLiteral("Grande \"nova\"");
        edited.modelPrefixes = {QStringLiteral("A4 Pimaco"), QStringLiteral("A4")};
        edited.grid.columns = 2;
        edited.grid.order = SheetGrid::Order::DownThenAcross;
        edited.orientation = QPageLayout::Landscape;
        edited.grid.rows = 2;
        edited.offset = QPointF();
        edited.elements.removeAt(1);
        CellElement added = edited.elements.first();
        added.line = 0;
        added.kind = CellElement::Kind::Text;
        added.value = QStringLiteral("Farmácia \"Central\" # 1");
        added.box = QRectF(2, 30, 20, 4.5);
        added.italic = true;
        edited.elements.append(added);
        edited.elements[2].symbology = btCode128C;
        edited.elements[2].printerSymbology = PrinterSymbology::Code128C;
        edited.elements[2].legend = false;

        // The active report keeps its name in the 'ativo' line, which is the project's.
        const QByteArray after = rewriteReport(ProjectText(setActiveReport(ProjectText(bytes), project, edited.name)), original, edited);
        const ReportProject reread = parsed(after);
        const SheetReport &report = reread.reports.first();
        QCOMPARE(report.name, edited.name);
        for (const QString &keyword : {QStringLiteral("modelos"), QStringLiteral("papel"), QStringLiteral("grade"),
                                       QStringLiteral("margens"), QStringLiteral("etiqueta"), QStringLiteral("passo"),
                                       QStringLiteral("deslocamento")})
            QCOMPARE(settingStatement(report, keyword), settingStatement(edited, keyword));
        QCOMPARE(report.elements.size(), edited.elements.size());
        for (int i = 0; i < edited.elements.size(); ++i)
            QCOMPARE(elementStatement(report.elements[i]), elementStatement(edited.elements[i]));
        QVERIFY(after.contains("\t# calibrado em 12/03\n"));
        QVERIFY(after.contains("  grade colunas=2 linhas=2 ordem=colunas  # Pimaco 6182\n"));
        QVERIFY(!after.contains("deslocamento"));
    }

    void everyKindRewrittenAndDropped_data()
    {
        QTest::addColumn<QString>("statement");
        const QStringList statements = {
            QStringLiteral("campo COMPONENTE x=1 y=1 largura=20 altura=5"), QStringLiteral("texto \"Lote\" x=1 y=1 largura=20 altura=5"),
            QStringLiteral("preco PRECO1 x=1 y=1 largura=20 altura=5"),     QStringLiteral("barras CODIGOEAN x=1 y=1 largura=35 altura=15"),
            QStringLiteral("linha x=1 y=1 largura=20 espessura=0.3"),       QStringLiteral("quadro x=1 y=1 largura=20 altura=10 espessura=0.3"),
            QStringLiteral("qr CODIGOEAN x=1 y=1 largura=15 altura=15"),    QStringLiteral("datamatrix CODIGOEAN x=1 y=1 largura=10 altura=10"),
            QStringLiteral("data \"dd/mm/aa\" x=1 y=1 largura=20 altura=5"), QStringLiteral("imagem \"logo.png\" x=1 y=1 largura=20 altura=8"),
        };
        // One statement for every kind the parser and the writer share, none left out.
        QCOMPARE(statements.size(), elementKinds().size());
        for (const QString &statement : statements)
            QTest::newRow(qPrintable(statement.section(QLatin1Char(' '), 0, 0))) << statement;
    }

    // An element of any kind, moved, is its own line written anew; deleted,
    // its line goes; the line between stays where it was either way.
    void everyKindRewrittenAndDropped()
    {
        QFETCH(QString, statement);
        const QByteArray bytes = ReportTestKit::smallProject(QStringLiteral("  ") + statement + QStringLiteral("  # o novo\n")).toUtf8();
        const ReportProject project = parsed(bytes);
        const SheetReport &original = project.reports.first();
        const int line = original.elements.last().line;
        SheetReport moved = original;
        moved.elements.last().box.moveTo(3, 20);
        const QByteArray after = rewriteReport(ProjectText(bytes), original, moved);
        QCOMPARE(changedLines(bytes, after), QList<int>{line});
        QCOMPARE(ProjectText(after).line(line), QStringLiteral("  ") + elementStatement(moved.elements.last()) + QStringLiteral("  # o novo"));
        QCOMPARE(parsed(after).reports.first().elements.last().box.topLeft(), QPointF(3, 20));

        SheetReport dropped = original;
        dropped.elements.removeLast();
        const QByteArray without = rewriteReport(ProjectText(bytes), original, dropped);
        QCOMPARE(ProjectText(without).lineCount(), ProjectText(bytes).lineCount() - 1);
        QCOMPARE(parsed(without).reports.first().elements.size(), original.elements.size() - 1);
    }

    // New elements are written where the list has them, so the file draws
    // them in the same order: after the element before them, the first ones
    // before every other, the last ones before 'fim'.
    void newElementsKeepTheirPlace()
    {
        const QByteArray bytes = ReportTestKit::smallProject().toUtf8();
        const ReportProject project = parsed(bytes);
        const SheetReport &original = project.reports.first();
        SheetReport edited = original;
        CellElement added;
        added.box = QRectF(1, 1, 5, 3);
        for (const int at : {4, 2, 0}) {
            added.value = QStringLiteral("N%1").arg(at);
            edited.elements.insert(at, added);
        }
        const SheetReport reread = parsed(rewriteReport(ProjectText(bytes), original, edited)).reports.first();
        QStringList order;
        for (const CellElement &e : reread.elements)
            order << e.value;
        QCOMPARE(order, (QStringList{QStringLiteral("N0"), QStringLiteral("COMPONENTE"), QStringLiteral("Preço R$:"), QStringLiteral("N2"),
                                     QStringLiteral("PRECO1"), QStringLiteral("CODIGOEAN"), QStringLiteral("N4")}));
    }

    void newReportAndOffset()
    {
        const QByteArray bytes = encoded(QString(sampleText()).replace(QStringLiteral("\n"), QStringLiteral("\r\n")),
                                         ProjectText::Encoding::Cp1252);
        const ReportProject project = parsed(bytes);
        SheetReport added = *project.findReport(QStringLiteral("Zebra ZPL 30x17"));
        added.name = QStringLiteral("Argox EPL2 40x25 — cópia");
        added.thermal->language = PrinterLanguage::Epl2;
        added.thermal->dpi = 300;
        added.grid.cellWidth = 40;
        const QByteArray appended = appendReport(ProjectText(bytes), added);
        QVERIFY(appended.startsWith(bytes));
        QVERIFY(appended.mid(bytes.size()).contains("\r\nrelatorio \"Argox EPL2 40x25 \x97 c\xF3pia\"\r\n"));
        const SheetReport *reread = parsed(appended).findReport(added.name);
        QVERIFY(reread);
        QCOMPARE(reread->thermal->language, PrinterLanguage::Epl2);
        QCOMPARE(reread->thermal->dpi, 300);
        QCOMPARE(reread->elements.size(), added.elements.size());

        // The project's calibration: its line rewritten, or one added after 'ativo'.
        const QByteArray calibrated = setProjectOffset(ProjectText(bytes), project, QPointF(0.8, -0.5));
        QCOMPARE(changedLines(bytes, calibrated), QList<int>{project.offsetLine});
        QCOMPARE(parsed(calibrated).offset, QPointF(0.8, -0.5));
        const QByteArray small = ReportTestKit::smallProject().toUtf8();
        const QByteArray inserted = setProjectOffset(ProjectText(small), parsed(small), QPointF(-1, 2));
        QCOMPARE(inserted, QByteArray(small).replace("ativo \"Grande\"\n", "ativo \"Grande\"\ndeslocamento x=-1 y=2\n"));
    }
};

QTEST_MAIN(ProjectWriterTest)
#include "tst_project_writer.moc"
