// Report project files: the format, its faults told by file, line and cause,
// and which report serves which label model.
#include "ProjectError.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ReportTestKit.h"

#include <QFile>
#include <QtTest>

namespace {

const QString File = QStringLiteral("c:\\boticon\\rpt\\Selvar.rav");

QString faultOf(const QString &text)
{
    try {
        parseReportProject(text, File);
    } catch (const ProjectError &e) {
        return e.message();
    }
    return QStringLiteral("(aceito)");
}

QString at(int line, const QString &keyword, const QString &fault)
{
    return QStringLiteral("Projeto de relatório \"%1\", linha %2 (%3): %4").arg(File).arg(line).arg(keyword, fault);
}

// A minimal valid report with the given lines in place of its body.
QString report(const QString &body)
{
    return QStringLiteral("ativo \"R\"\nrelatorio \"R\"\n") + body + QStringLiteral("fim\n");
}

// A sheet report as the active one and a thermal report "T" whose body
// follows line 9; lines are counted from 1.
QString thermalProject(const QString &body)
{
    return QStringLiteral("ativo \"F\"\n"
                          "relatorio \"F\"\n  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=0 topo=0\n  etiqueta largura=50 altura=30\nfim\n"
                          "relatorio \"T\"\n  modelos \"Zebra T\"\n")
           + body + QStringLiteral("fim\n");
}

const QString ThermalBody = QStringLiteral("  termica linguagem=ZPL\n  rolo colunas=2 espaco=2\n  etiqueta largura=40 altura=25\n");

const QString Body = QStringLiteral("  papel A4\n  grade colunas=2 linhas=2\n  margens esquerda=10 topo=10\n"
                                    "  etiqueta largura=50 altura=30\n");

} // namespace

class ProjectParserTest : public QObject
{
    Q_OBJECT

private slots:
    void sampleProjectHoldsTheThreeSheets()
    {
        QFile file(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const ReportProject p = parseReportProject(decodeProjectText(file.readAll()), File);
        QCOMPARE(p.reports.size(), 4);
        QCOMPARE(p.activeReport, QStringLiteral("A4 6x20"));

        const SheetReport &a4 = p.reportFor(QStringLiteral("A4 - 6 colunas x 20 linhas"));
        QCOMPARE(a4.grid.columns, 6);
        QCOMPARE(a4.grid.rows, 20);
        QCOMPARE(a4.paperSize(), QSizeF(210, 297));
        QCOMPARE(a4.connection, QStringLiteral("RvDataSetConnection1"));
        QVERIFY(a4.grid.bottomEdge() <= 297 && a4.grid.rightEdge() <= 210);
        QCOMPARE(a4.elements.size(), 4);
        QCOMPARE(a4.elements[1].value, QStringLiteral("Preço R$:"));
        QCOMPARE(a4.elements[3].kind, CellElement::Kind::Barcode);
        QCOMPARE(a4.elements[3].symbology, btCodeEAN13);

        const SheetReport &letter = p.reportFor(QStringLiteral("Carta 4 x 20"));
        QCOMPARE(letter.grid.cellsPerPage(), 80);
        QCOMPARE(letter.paperSize().toSize(), QSize(216, 279));
        QCOMPARE(p.reportFor(QStringLiteral("A5")).paperSize(), QSizeF(148, 210));
    }

    void readmeExampleIsAValidProject()
    {
        // The example users copy from must stay one the program takes.
        QFile readme(QStringLiteral(SELVAR_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype from = text.indexOf(QStringLiteral("### Complete example"));
        QVERIFY(from > 0);
        QStringList example;
        for (const QString &line : text.mid(from, text.indexOf(QStringLiteral("\n### "), from + 1) - from).split(QLatin1Char('\n'))) {
            if (line.startsWith(QStringLiteral("    ")) || (line.isEmpty() && !example.isEmpty()))
                example << line.mid(4);
        }
        const ReportProject p = parseReportProject(example.join(QLatin1Char('\n')), File);
        QCOMPARE(p.reports.first().grid.cellsPerPage(), 24);
        QCOMPARE(p.reports.first().elements.size(), 4);
    }

    void reportChosenByModelDescription_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("report");
        QTest::newRow("prefix") << "Carta - Pimaco" << "Carta";
        QTest::newRow("longest prefix wins") << "A4 estreita 4x15" << "A4 estreita";
        QTest::newRow("letter case counts, as in the output choice") << "carta" << "A4";
        QTest::newRow("no prefix: the active report") << "Zebra - 3,0 x 1,7 - 3 colunas" << "A4";
        QTest::newRow("empty: the active report") << "" << "A4";
    }

    void reportChosenByModelDescription()
    {
        QFETCH(QString, description);
        QFETCH(QString, report);
        const QString grid = Body;
        const ReportProject p = parseReportProject(QStringLiteral("ativo \"A4\"\n"
                                                                  "relatorio \"A4\"\n  modelos \"A4\"\n%1fim\n"
                                                                  "relatorio \"A4 estreita\"\n  modelos \"A4 estreita\"\n%1fim\n"
                                                                  "relatorio \"Carta\"\n  modelos \"Carta\" \"Letter\"\n%1fim\n")
                                                       .arg(grid),
                                                   File);
        QCOMPARE(p.reportFor(description).name, report);
    }

    void writingVariantsMeanTheSame()
    {
        // Accents and letter case in keywords, decimal commas, quotes inside
        // texts, comments after a statement and a '#' inside a value.
        const ReportProject p = parseReportProject(
            QStringLiteral("# comentário\r\n"
                           "ATIVO \"R\"   # o ativo\r\n"
                           "Relatório \"R\"\r\n"
                           "  papel A5 orientação=Paisagem\r\n"
                           "  grade colunas=2 linhas=2 ordem=colunas\r\n"
                           "  margens esquerda=10,5 topo=7\r\n"
                           "  etiqueta largura=50,25 altura=30\r\n"
                           "  texto \"Diga \"\"olá\"\"\" x=1 y=1 largura=40 altura=5 negrito=SIM itálico=não\r\n"
                           "  preco PRECO1 x=1 y=7 largura=40 altura=5 formato=#,##0.000\r\n"
                           "fim\r\n"),
            File);
        const SheetReport &r = p.reports.first();
        QCOMPARE(r.paperSize(), QSizeF(210, 148));
        QCOMPARE(r.grid.left, 10.5);
        QCOMPARE(r.grid.cellWidth, 50.25);
        QCOMPARE(r.grid.pitchX, 50.25); // no pitch given: labels side by side
        QCOMPARE(r.grid.order, SheetGrid::Order::DownThenAcross);
        QCOMPARE(r.elements[0].value, QStringLiteral("Diga \"olá\""));
        QVERIFY(r.elements[0].bold && !r.elements[0].italic);
        QCOMPARE(r.elements[1].priceFormat, QStringLiteral("#,##0.000"));
    }

    void malformedProjectsAreToldWhereAndWhy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");

        QTest::newRow("misspelt attribute")
            << report(QStringLiteral("  papel A4\n  grade colunas=6 linhas=20 colunass=3\n"))
            << at(4, QStringLiteral("grade"),
                  QStringLiteral("atributo desconhecido 'colunass' (aceitos: colunas, linhas, ordem)"));
        QTest::newRow("size that is not a number")
            << report(QStringLiteral("  papel A4\n  etiqueta largura=abc altura=10\n"))
            << at(4, QStringLiteral("etiqueta"), QStringLiteral("'abc' não é um número válido para 'largura'"));
        QTest::newRow("report never closed")
            << QStringLiteral("ativo \"R\"\n\nrelatorio \"R\"\n") + Body
            << QStringLiteral("Projeto de relatório \"%1\": o relatório \"R\" aberto na linha 3 não termina com 'fim'").arg(File);
        QTest::newRow("grid wider than the paper")
            << report(QStringLiteral("  papel A5\n  grade colunas=3 linhas=2\n  margens esquerda=10 topo=10\n"
                                     "  etiqueta largura=50 altura=30\n"))
            << at(7, QStringLiteral("fim"), QStringLiteral("a grade do relatório \"R\" não cabe no papel: a última coluna termina "
                                                           "em 160 mm e o papel tem 148 mm de largura"));
        QTest::newRow("element outside its label")
            << report(Body + QStringLiteral("  campo COMPONENTE x=40 y=1 largura=20 altura=5\n"))
            << at(7, QStringLiteral("campo"), QStringLiteral("o elemento vai até 60 × 6 mm e sai da etiqueta de 50 × 30 mm"));
        QTest::newRow("active report missing")
            << QStringLiteral("ativo \"Outro\"\nrelatorio \"R\"\n") + Body + QStringLiteral("fim\n")
            << at(1, QStringLiteral("ativo"), QStringLiteral("não há relatório chamado \"Outro\" neste projeto"));
        QTest::newRow("quote left open")
            << report(Body + QStringLiteral("  texto \"Preço x=1 y=1 largura=5 altura=5\n"))
            << at(7, QStringLiteral("texto"), QStringLiteral("aspas abertas e não fechadas"));
        QTest::newRow("unknown symbology")
            << report(Body + QStringLiteral("  barras CODIGOEAN x=1 y=1 largura=40 altura=20 simbologia=QR\n"))
            << at(7, QStringLiteral("barras"), QStringLiteral("simbologia desconhecida 'QR' (use EAN13, EAN8, UPCA, CODE128, CODE128A, "
                                                              "CODE128B, CODE128C, CODE39 ou 2E5I)"));
        QTest::newRow("labels overlapping")
            << report(Body + QStringLiteral("  passo horizontal=40\n"))
            << at(8, QStringLiteral("fim"), QStringLiteral("o passo horizontal de 40 mm é menor que a largura da etiqueta (50 mm): "
                                                           "as etiquetas se sobreporiam"));
        QTest::newRow("no paper")
            << report(QStringLiteral("  grade colunas=1 linhas=1\n"))
            << at(4, QStringLiteral("fim"), QStringLiteral("o relatório \"R\" (linha 2) não diz o papel ('papel A4', 'papel Carta', ...)"));
        QTest::newRow("zero columns")
            << report(QStringLiteral("  grade colunas=0 linhas=2\n"))
            << at(3, QStringLiteral("grade"), QStringLiteral("'colunas' deve ser um número inteiro maior que zero, não '0'"));
        QTest::newRow("grid whose cells per page overflow")
            << report(QStringLiteral("  grade colunas=65536 linhas=65536\n"))
            << at(3, QStringLiteral("grade"), QStringLiteral("'colunas' passa do máximo de 10000, não '65536'"));
        QTest::newRow("more labels per page than a sheet holds")
            << report(QStringLiteral("  grade colunas=100 linhas=101\n"))
            << at(3, QStringLiteral("grade"), QStringLiteral("100 × 101 dá 10100 etiquetas por página; o máximo é 10000"));
        QTest::newRow("a count too large for any integer")
            << report(QStringLiteral("  grade colunas=2 linhas=99999999999999999999\n"))
            << at(3, QStringLiteral("grade"), QStringLiteral("'linhas' passa do máximo de 10000, não '99999999999999999999'"));
        QTest::newRow("paper side too large to hold")
            << report(QStringLiteral("  papel largura=99999999999999999999 altura=100\n"))
            << at(3, QStringLiteral("papel"), QStringLiteral("'99999999999999999999' é grande demais para 'largura': nenhuma medida "
                                                             "passa de 2000 (mm ou pontos)"));
        QTest::newRow("paper of a kilometre")
            << report(QStringLiteral("  papel largura=1000000 altura=1000000\n"))
            << at(3, QStringLiteral("papel"), QStringLiteral("'1000000' é grande demais para 'largura': nenhuma medida passa de 2000 "
                                                             "(mm ou pontos)"));
        QTest::newRow("label under a millimetre")
            << report(QStringLiteral("  papel A4\n  etiqueta largura=0,5 altura=10\n"))
            << at(4, QStringLiteral("etiqueta"), QStringLiteral("a etiqueta deve ter ao menos 1 mm, não 0,5 ('largura')"));
        QTest::newRow("font too small to print")
            << report(Body + QStringLiteral("  campo COMPONENTE x=1 y=1 largura=20 altura=5 tamanho=0.01\n"))
            << at(7, QStringLiteral("campo"), QStringLiteral("'tamanho' de 0,01 ponto não se lê; use ao menos 1"));
        QTest::newRow("calibration that carries every label off the paper")
            << QStringLiteral("ativo \"R\"\ndeslocamento x=-500\nrelatorio \"R\"\n") + Body + QStringLiteral("fim\n")
            << at(3, QStringLiteral("relatorio"), QStringLiteral("o deslocamento de -500 × 0 mm leva todas as etiquetas do relatório "
                                                                 "\"R\" para fora do papel"));
        QTest::newRow("statement outside a report")
            << QStringLiteral("papel A4\n")
            << at(1, QStringLiteral("papel"), QStringLiteral("palavra-chave desconhecida 'papel' fora de um relatório (use projeto, "
                                                             "ativo, deslocamento ou relatorio)"));
        QTest::newRow("no report at all")
            << QStringLiteral("# vazio\n")
            << QStringLiteral("Projeto de relatório \"%1\": o projeto não tem nenhum relatório ('relatorio \"nome\"' ... 'fim')").arg(File);
    }

    // A fault in each statement a thermal report adds, and in what it may not hold.
    void malformedThermalReports_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown language") << thermalProject(QStringLiteral("  termica linguagem=PCL\n"))
                                          << at(10, QStringLiteral("termica"), QStringLiteral("'PCL' não serve para 'linguagem' (use epl2, zpl)"));
        QTest::newRow("no language") << thermalProject(QStringLiteral("  termica resolucao=300\n"))
                                     << at(10, QStringLiteral("termica"), QStringLiteral("falta o atributo 'linguagem' (EPL2 ou ZPL)"));
        QTest::newRow("unknown resolution") << thermalProject(QStringLiteral("  termica linguagem=ZPL resolucao=600\n"))
                                            << at(10, QStringLiteral("termica"), QStringLiteral("'600' não serve para 'resolucao' (use 203, 300)"));
        QTest::newRow("no labels across") << thermalProject(QStringLiteral("  termica linguagem=EPL2\n  rolo colunas=0\n"))
                                          << at(11, QStringLiteral("rolo"), QStringLiteral("'colunas' deve ser um número inteiro maior que zero, não '0'"));
        QTest::newRow("negative gap") << thermalProject(QStringLiteral("  termica linguagem=EPL2\n  rolo colunas=2 espaco=-1\n"))
                                      << at(11, QStringLiteral("rolo"), QStringLiteral("'espaco' não pode ser negativo (-1)"));
        QTest::newRow("roll on a sheet") << thermalProject(QStringLiteral("  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=0 topo=0\n"
                                                                          "  etiqueta largura=50 altura=30\n  rolo colunas=2\n"))
                                         << at(14, QStringLiteral("rolo"), QStringLiteral("'rolo' só vale num relatório térmico (falta 'termica "
                                                                                           "linguagem=EPL2' ou 'termica linguagem=ZPL')"));
        QTest::newRow("sheet grid on a roll") << thermalProject(ThermalBody + QStringLiteral("  grade colunas=2 linhas=1\n"))
                                              << at(13, QStringLiteral("grade"), QStringLiteral("um relatório térmico não usa papel, grade, margens nem passo: a "
                                                                                               "etiqueta e o rolo ('rolo colunas=... espaco=...') dizem onde cada etiqueta fica"));
        QTest::newRow("symbology the language lacks")
            << thermalProject(ThermalBody + QStringLiteral("  barras CODIGOEAN x=0 y=0 largura=40 altura=10 simbologia=EAN8\n"))
            << at(13, QStringLiteral("barras"), QStringLiteral("a impressora ZPL não recebe esta simbologia daqui (use EAN13, CODE128, CODE128A, "
                                                              "CODE128B, CODE128C ou CODE39)"));
        // 95 modules and 11 + 7 of quiet zone at one dot each: 113 dots, 14,2 mm at 8 dots a millimetre.
        QTest::newRow("barcode narrower than its symbol")
            << thermalProject(ThermalBody + QStringLiteral("  barras CODIGOEAN x=0 y=0 largura=12 altura=10\n"))
            << at(13, QStringLiteral("barras"), QStringLiteral("o código de barras precisa de 14,2 mm de largura com as zonas de silêncio "
                                                              "(113 pontos a 203 dpi) e a caixa tem 12 mm"));
        QTest::newRow("element off the label")
            << thermalProject(ThermalBody + QStringLiteral("  campo COMPONENTE x=30 y=0 largura=20 altura=5\n"))
            << at(13, QStringLiteral("campo"), QStringLiteral("o elemento vai até 50 × 5 mm e sai da etiqueta de 40 × 25 mm"));
        QTest::newRow("thermal report as the active one")
            << thermalProject(ThermalBody).replace(QStringLiteral("ativo \"F\""), QStringLiteral("ativo \"T\""))
            << at(1, QStringLiteral("ativo"), QStringLiteral("o relatório \"T\" é térmico; o ativo serve as folhas sem 'modelos' próprios, "
                                                             "escolha um relatório de folha"));
    }

    void malformedThermalReports() { malformedProjectsAreToldWhereAndWhy(); }

    void malformedProjectsAreToldWhereAndWhy()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QCOMPARE(faultOf(text), message);
    }

    void textInEitherCodePage()
    {
        // Notepad on these machines saves Windows-1252 unless told otherwise.
        QCOMPARE(decodeProjectText(QByteArray("texto \"Pre\xe7o\"")), QStringLiteral("texto \"Preço\""));
        QCOMPARE(decodeProjectText(QByteArray("\xef\xbb\xbftexto \"Pre\xc3\xa7o\"")), QStringLiteral("texto \"Preço\""));
    }

    // What Notepad saves as "Unicode" (UTF-16 with its mark, either byte order)
    // is read as the same project, not refused for a keyword made of stray bytes.
    void utf16ProjectsAreRead_data()
    {
        QTest::addColumn<bool>("bigEndian");
        QTest::newRow("little endian (Notepad's Unicode)") << false;
        QTest::newRow("big endian") << true;
    }

    void utf16ProjectsAreRead()
    {
        QFETCH(bool, bigEndian);
        const QString text = report(Body + QStringLiteral("  texto \"Preço R$:\" x=1 y=1 largura=20 altura=5\n"));
        QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
        for (const QChar c : text) {
            const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
            bytes += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1} : QByteArray{&low, 1} + QByteArray{&high, 1};
        }
        QCOMPARE(decodeProjectText(bytes), text);
        const ReportProject p = parseReportProject(decodeProjectText(bytes), File);
        QCOMPARE(p.reports.first().elements.first().value, QStringLiteral("Preço R$:"));
    }
};

QTEST_GUILESS_MAIN(ProjectParserTest)
#include "tst_project_parser.moc"
