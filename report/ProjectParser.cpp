#include "ProjectParser.h"

#include "ProjectError.h"
#include "LabelLayout.h"
#include "ProjectStatement.h"
#include "DrawnElements.h"

#include <QFileInfo>
#include <QStringList>

#include <cmath>

namespace {

// Slack for decimals written with two places against sizes computed from them.
constexpr double FitTolerance = 0.01;

// Bounds that keep every page printable: a label smaller than this is no
// label, and more labels than this on one page are a typing slip, not a sheet.
constexpr double MinLabelSide = 1.0;
constexpr int MaxLabelsPerPage = 10000;
// No print head is wide enough for more labels across.
constexpr int MaxLabelsAcross = 20;
// Smaller boxes and fonts would print as nothing at all.
constexpr double MinElementSide = 0.5;
constexpr double MinFontPoints = 1.0;

const QStringList BoxAttributes = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("largura"), QStringLiteral("altura")};
const QStringList FontAttributes = {QStringLiteral("fonte"), QStringLiteral("tamanho"), QStringLiteral("negrito"),
                                    QStringLiteral("italico")};
const QStringList TextAttributes = {QStringLiteral("quebra"), QStringLiteral("alinhamento")};

// The symbologies by the short names a project uses; the control's own names
// (btCodeEAN13, ...) and ordinals are taken as well.
std::optional<TBarCodeTipo> symbologyFromText(const QString &text)
{
    static const QList<std::pair<QString, TBarCodeTipo>> names = {
        {QStringLiteral("code128a"), btCode128A}, {QStringLiteral("code128b"), btCode128B},
        {QStringLiteral("code128c"), btCode128C}, {QStringLiteral("code39"), btCode39},
        {QStringLiteral("ean13"), btCodeEAN13},   {QStringLiteral("2e5i"), btCode2e5I},
        {QStringLiteral("itf"), btCode2e5I},      {QStringLiteral("ean8"), btCodeEAN8},
        {QStringLiteral("upca"), btCodeUPCA},
    };
    for (const auto &[name, tipo] : names) {
        if (text.compare(name, Qt::CaseInsensitive) == 0)
            return tipo;
    }
    return TipoFromText(text);
}

PrinterSymbology printerSymbologyOf(TBarCodeTipo tipo)
{
    switch (tipo) {
    case btCode128A:
        return PrinterSymbology::Code128A;
    case btCode128B:
        return PrinterSymbology::Code128B;
    case btCode128C:
        return PrinterSymbology::Code128C;
    case btCode39:
        return PrinterSymbology::Code39;
    case btCodeEAN13:
        return PrinterSymbology::Ean13;
    case btCode2e5I:
        return PrinterSymbology::Interleaved2of5;
    case btCodeEAN8:
        return PrinterSymbology::Ean8;
    case btCodeUPCA:
        return PrinterSymbology::UpcA;
    }
    return PrinterSymbology::Ean13;
}

// A thermal layout is checked against its printer with a product code as long
// as CODIGOEAN holds.
const QString SampleBarcodeData = QStringLiteral("7891234567895");

class Parser
{
public:
    explicit Parser(const QString &fileName) { m_project.fileName = fileName; }

    ReportProject parse(const QString &text);

private:
    void projectStatement(const ProjectStatement &st);
    void reportStatement(const ProjectStatement &st);
    void paper(const ProjectStatement &st);
    void element(const ProjectStatement &st, CellElement::Kind kind);
    void finishReport(const ProjectStatement &st);
    void finishSheet(const ProjectStatement &st);
    void requireLabel(const ProjectStatement &st);
    void checkElementsFit() const;
    void finishThermal(const ProjectStatement &st);
    void thermal(const ProjectStatement &st);
    void roll(const ProjectStatement &st);
    void checkOffsetKeepsLabelsOnPaper(const SheetReport &report) const;
    static QPointF offset(const ProjectStatement &st);

    // Which of the report's required statements have been seen.
    struct Seen
    {
        bool paper = false, grid = false, margins = false, label = false;
        int sheetOnlyLine = 0;    // first of papel, grade, margens, passo
        QString sheetOnlyKeyword;
        int thermalLine = 0;      // termica
        int rollLine = 0;         // rolo
    };
    void sawSheetOnly(const ProjectStatement &st)
    {
        if (!m_seen.sheetOnlyLine) {
            m_seen.sheetOnlyLine = st.line();
            m_seen.sheetOnlyKeyword = st.keyword();
        }
    }

    ReportProject m_project;
    SheetReport *m_report = nullptr;
    Seen m_seen;
    ThermalSetup m_thermal;
    int m_activeLine = 0;
};

ReportProject Parser::parse(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    ProjectStatement st;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!ProjectStatement::split(line, i + 1, m_project.fileName, &st))
            continue;
        if (m_report)
            reportStatement(st);
        else
            projectStatement(st);
    }
    if (m_report) {
        throw ProjectError::inFile(m_project.fileName, QStringLiteral("o relatório \"%1\" aberto na linha %2 não termina com 'fim'")
                                                           .arg(m_report->name).arg(m_report->line));
    }
    if (m_project.reports.isEmpty())
        throw ProjectError::inFile(m_project.fileName, QStringLiteral("o projeto não tem nenhum relatório ('relatorio \"nome\"' ... 'fim')"));
    if (m_project.activeReport.isEmpty())
        throw ProjectError::inFile(m_project.fileName, QStringLiteral("falta a linha 'ativo \"nome do relatório\"'"));
    const SheetReport *active = m_project.findReport(m_project.activeReport);
    if (!active) {
        throw ProjectError::at(m_project.fileName, m_activeLine, QStringLiteral("ativo"),
                               QStringLiteral("não há relatório chamado \"%1\" neste projeto").arg(m_project.activeReport));
    }
    if (active->thermal) {
        throw ProjectError::at(m_project.fileName, m_activeLine, QStringLiteral("ativo"),
                               QStringLiteral("o relatório \"%1\" é térmico; o ativo serve as folhas sem 'modelos' próprios, "
                                              "escolha um relatório de folha")
                                   .arg(active->name));
    }
    // A roll has no paper for an offset to leave.
    for (const SheetReport &report : std::as_const(m_project.reports)) {
        if (!report.thermal)
            checkOffsetKeepsLabelsOnPaper(report);
    }
    return m_project;
}

void Parser::projectStatement(const ProjectStatement &st)
{
    const QString &k = st.keyword();
    if (k == QLatin1String("projeto")) {
        st.acceptOnly({});
        st.expectArguments(1, 1, QStringLiteral("o nome do projeto"));
        m_project.name = st.arguments().first();
    } else if (k == QLatin1String("ativo")) {
        st.acceptOnly({});
        st.expectArguments(1, 1, QStringLiteral("o nome do relatório ativo"));
        if (m_activeLine)
            st.fail(QStringLiteral("o relatório ativo já foi dado na linha %1").arg(m_activeLine));
        m_project.activeReport = st.arguments().first();
        m_activeLine = st.line();
        m_project.activeLine = st.line();
    } else if (k == QLatin1String("deslocamento")) {
        m_project.offset = offset(st);
        m_project.offsetLine = st.line();
    } else if (k == QLatin1String("relatorio")) {
        st.acceptOnly({});
        st.expectArguments(1, 1, QStringLiteral("o nome do relatório"));
        const QString name = st.arguments().first();
        if (name.trimmed().isEmpty())
            st.fail(QStringLiteral("o nome do relatório não pode ficar vazio"));
        if (const SheetReport *other = m_project.findReport(name))
            st.fail(QStringLiteral("já existe um relatório \"%1\" (linha %2)").arg(name).arg(other->line));
        m_project.reports.append(SheetReport());
        m_report = &m_project.reports.last();
        m_report->name = name;
        m_report->folder = QFileInfo(m_project.fileName).absolutePath();
        m_report->line = st.line();
        m_seen = Seen();
        m_thermal = ThermalSetup();
    } else if (k == QLatin1String("fim")) {
        st.fail(QStringLiteral("'fim' sem 'relatorio' aberto"));
    } else {
        st.fail(QStringLiteral("palavra-chave desconhecida '%1' fora de um relatório (use projeto, ativo, deslocamento ou relatorio)")
                    .arg(k));
    }
}

QPointF Parser::offset(const ProjectStatement &st)
{
    st.attributesOnly({QStringLiteral("x"), QStringLiteral("y")});
    if (!st.has(QStringLiteral("x")) && !st.has(QStringLiteral("y")))
        st.fail(QStringLiteral("diga quanto deslocar: x=... y=... (mm)"));
    return QPointF(st.number(QStringLiteral("x"), 0.0), st.number(QStringLiteral("y"), 0.0));
}

void Parser::reportStatement(const ProjectStatement &st)
{
    const QString &k = st.keyword();
    SheetGrid &grid = m_report->grid;
    if (k == QLatin1String("fim")) {
        st.attributesOnly({});
        finishReport(st);
        m_report->endLine = st.line();
        m_report = nullptr;
    } else if (k == QLatin1String("modelos")) {
        st.acceptOnly({});
        st.expectArguments(1, 1000, QStringLiteral("o começo da descrição de ao menos um modelo"));
        for (const QString &prefix : st.arguments()) {
            if (prefix.isEmpty())
                st.fail(QStringLiteral("um modelo vazio serviria para todos; deixe isso para o relatório ativo"));
        }
        m_report->modelPrefixes += st.arguments();
    } else if (k == QLatin1String("conexao")) {
        st.acceptOnly({});
        st.expectArguments(1, 1, QStringLiteral("o nome da conexão"));
        m_report->connection = st.arguments().first();
    } else if (k == QLatin1String("papel")) {
        sawSheetOnly(st);
        paper(st);
    } else if (k == QLatin1String("termica")) {
        thermal(st);
    } else if (k == QLatin1String("rolo")) {
        roll(st);
    } else if (k == QLatin1String("grade")) {
        sawSheetOnly(st);
        st.attributesOnly({QStringLiteral("colunas"), QStringLiteral("linhas"), QStringLiteral("ordem")});
        grid.columns = st.count(QStringLiteral("colunas"), MaxLabelsPerPage);
        grid.rows = st.count(QStringLiteral("linhas"), MaxLabelsPerPage);
        if (qint64(grid.columns) * grid.rows > MaxLabelsPerPage) {
            st.fail(QStringLiteral("%1 × %2 dá %3 etiquetas por página; o máximo é %4")
                        .arg(grid.columns)
                        .arg(grid.rows)
                        .arg(qint64(grid.columns) * grid.rows)
                        .arg(MaxLabelsPerPage));
        }
        grid.order = st.choice(QStringLiteral("ordem"), {QStringLiteral("linhas"), QStringLiteral("colunas")}, 0) == 0
                         ? SheetGrid::Order::AcrossThenDown
                         : SheetGrid::Order::DownThenAcross;
        m_seen.grid = true;
    } else if (k == QLatin1String("margens")) {
        sawSheetOnly(st);
        st.attributesOnly({QStringLiteral("esquerda"), QStringLiteral("topo")});
        grid.left = st.nonNegative(QStringLiteral("esquerda"), 0.0);
        grid.top = st.nonNegative(QStringLiteral("topo"), 0.0);
        m_seen.margins = true;
    } else if (k == QLatin1String("etiqueta")) {
        st.attributesOnly({QStringLiteral("largura"), QStringLiteral("altura")});
        grid.cellWidth = st.atLeast(QStringLiteral("largura"), MinLabelSide, QStringLiteral("a etiqueta"));
        grid.cellHeight = st.atLeast(QStringLiteral("altura"), MinLabelSide, QStringLiteral("a etiqueta"));
        m_seen.label = true;
    } else if (k == QLatin1String("passo")) {
        sawSheetOnly(st);
        st.attributesOnly({QStringLiteral("horizontal"), QStringLiteral("vertical")});
        grid.pitchX = st.positive(QStringLiteral("horizontal"), 0.0);
        grid.pitchY = st.positive(QStringLiteral("vertical"), 0.0);
    } else if (k == QLatin1String("deslocamento")) {
        m_report->offset = offset(st);
    } else if (const std::optional<CellElement::Kind> kind = elementKindFor(k)) {
        if (isDrawnElement(*kind))
            m_report->elements.append(parseDrawnElement(st, *kind));
        else
            element(st, *kind);
    } else if (k == QLatin1String("relatorio")) {
        st.fail(QStringLiteral("o relatório \"%1\" (linha %2) ainda não terminou com 'fim'").arg(m_report->name).arg(m_report->line));
    } else {
        st.fail(QStringLiteral("palavra-chave desconhecida '%1' dentro de um relatório (use modelos, conexao, papel, grade, "
                               "margens, etiqueta, passo, termica, rolo, deslocamento, campo, texto, preco, barras, data, linha, "
                               "quadro, qr, datamatrix ou fim)")
                    .arg(k));
    }
}

void Parser::paper(const ProjectStatement &st)
{
    st.acceptOnly({QStringLiteral("largura"), QStringLiteral("altura"), QStringLiteral("orientacao")});
    st.expectArguments(0, 1, QStringLiteral("o nome do papel"));
    if (st.arguments().isEmpty()) {
        const double width = st.positive(QStringLiteral("largura"));
        const QSizeF size(width, st.positive(QStringLiteral("altura")));
        m_report->pageSize = QPageSize(size, QPageSize::Millimeter, QStringLiteral("Personalizado"), QPageSize::ExactMatch);
    } else {
        if (st.has(QStringLiteral("largura")) || st.has(QStringLiteral("altura")))
            st.fail(QStringLiteral("dê o nome do papel ou largura= e altura=, não os dois"));
        const QString name = st.arguments().first();
        static const QList<std::pair<QString, QPageSize::PageSizeId>> known = {
            {QStringLiteral("A4"), QPageSize::A4},
            {QStringLiteral("A5"), QPageSize::A5},
            {QStringLiteral("Carta"), QPageSize::Letter},
            {QStringLiteral("Letter"), QPageSize::Letter},
            {QStringLiteral("Oficio"), QPageSize::Legal},
            {QStringLiteral("Ofício"), QPageSize::Legal},
        };
        auto it = std::find_if(known.begin(), known.end(),
                               [&](const auto &entry) { return entry.first.compare(name, Qt::CaseInsensitive) == 0; });
        if (it == known.end())
            st.fail(QStringLiteral("papel desconhecido '%1' (use A4, A5, Carta, Oficio, ou largura= e altura= em mm)").arg(name));
        m_report->pageSize = QPageSize(it->second);
    }
    m_report->orientation = st.choice(QStringLiteral("orientacao"), {QStringLiteral("retrato"), QStringLiteral("paisagem")}, 0) == 0
                                ? QPageLayout::Portrait
                                : QPageLayout::Landscape;
    m_seen.paper = true;
}

void Parser::element(const ProjectStatement &st, CellElement::Kind kind)
{
    CellElement e;
    e.kind = kind;
    e.line = st.line();
    QStringList accepted = BoxAttributes + FontAttributes;
    switch (kind) {
    case CellElement::Kind::Field:
    case CellElement::Kind::Text:
        accepted += TextAttributes;
        break;
    case CellElement::Kind::Price:
        accepted += TextAttributes + QStringList{QStringLiteral("formato")};
        break;
    case CellElement::Kind::Barcode:
        accepted += QStringList{QStringLiteral("simbologia"), QStringLiteral("legenda")};
        break;
    case CellElement::Kind::Date:
        accepted += TextAttributes + QStringList{QStringLiteral("dias"), QStringLiteral("meses")};
        break;
    default:
        break;
    }
    st.acceptOnly(accepted + QStringList{QStringLiteral("rotacao")});
    e.rotation = parseRotation(st);
    if (kind == CellElement::Kind::Date) {
        parseDate(st, &e);
    } else {
        st.expectArguments(1, 1, kind == CellElement::Kind::Text ? QStringLiteral("o texto, entre aspas") : QStringLiteral("o nome do campo"));
        e.value = st.arguments().first();
    }
    if (e.readsField() && e.value.isEmpty())
        st.fail(QStringLiteral("o nome do campo não pode ficar vazio"));

    e.box = QRectF(st.nonNegative(QStringLiteral("x"), 0.0), st.nonNegative(QStringLiteral("y"), 0.0),
                   st.atLeast(QStringLiteral("largura"), MinElementSide, QStringLiteral("o elemento")),
                   st.atLeast(QStringLiteral("altura"), MinElementSide, QStringLiteral("o elemento")));
    e.fontFamily = st.text(QStringLiteral("fonte"), e.fontFamily);
    e.fontSize = st.positive(QStringLiteral("tamanho"), kind == CellElement::Kind::Barcode ? 0.0 : 8.0);
    if (st.has(QStringLiteral("tamanho")) && e.fontSize < MinFontPoints)
        st.fail(QStringLiteral("'tamanho' de %1 ponto não se lê; use ao menos %2").arg(brNumber(e.fontSize), brNumber(MinFontPoints)));
    e.bold = st.flag(QStringLiteral("negrito"), false);
    e.italic = st.flag(QStringLiteral("italico"), false);
    e.wrap = st.flag(QStringLiteral("quebra"), false);
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    e.alignment = alignments[st.choice(QStringLiteral("alinhamento"),
                                       {QStringLiteral("esquerda"), QStringLiteral("centro"), QStringLiteral("direita")}, 0)];
    e.priceFormat = st.text(QStringLiteral("formato"), e.priceFormat);
    if (kind == CellElement::Kind::Price && !e.priceFormat.contains(QLatin1Char('0')))
        st.fail(QStringLiteral("o formato '%1' não tem dígitos; use algo como #,##0.00").arg(e.priceFormat));
    if (st.has(QStringLiteral("simbologia"))) {
        const QString name = st.text(QStringLiteral("simbologia"), {});
        // CODE128 alone leaves the subsets to a label printer; a sheet draws it in subset B.
        const bool automatic = name.compare(QStringLiteral("code128"), Qt::CaseInsensitive) == 0;
        const auto tipo = automatic ? std::optional<TBarCodeTipo>(btCode128B) : symbologyFromText(name);
        if (!tipo) {
            st.fail(QStringLiteral("simbologia desconhecida '%1' (use EAN13, EAN8, UPCA, CODE128, CODE128A, CODE128B, CODE128C, CODE39 ou 2E5I)")
                        .arg(name));
        }
        e.symbology = *tipo;
        e.printerSymbology = automatic ? PrinterSymbology::Code128Auto : printerSymbologyOf(*tipo);
    }
    e.legend = st.flag(QStringLiteral("legenda"), true);

    m_report->elements.append(e);
}

void Parser::thermal(const ProjectStatement &st)
{
    st.attributesOnly({QStringLiteral("linguagem"), QStringLiteral("resolucao")});
    if (m_seen.thermalLine)
        st.fail(QStringLiteral("a impressora já foi dada na linha %1").arg(m_seen.thermalLine));
    if (!st.has(QStringLiteral("linguagem")))
        st.fail(QStringLiteral("falta o atributo 'linguagem' (EPL2 ou ZPL)"));
    m_thermal.language = st.choice(QStringLiteral("linguagem"), {QStringLiteral("epl2"), QStringLiteral("zpl")}, 0) == 0
                             ? PrinterLanguage::Epl2
                             : PrinterLanguage::Zpl;
    m_thermal.dpi = st.choice(QStringLiteral("resolucao"), {QStringLiteral("203"), QStringLiteral("300")}, 0) == 0 ? 203 : 300;
    m_seen.thermalLine = st.line();
}

void Parser::roll(const ProjectStatement &st)
{
    st.attributesOnly({QStringLiteral("colunas"), QStringLiteral("espaco")});
    m_thermal.across = st.count(QStringLiteral("colunas"), MaxLabelsAcross);
    m_thermal.gap = st.nonNegative(QStringLiteral("espaco"), 0.0);
    m_seen.rollLine = st.line();
}

void Parser::finishReport(const ProjectStatement &st)
{
    m_seen.thermalLine ? finishThermal(st) : finishSheet(st);
}

void Parser::requireLabel(const ProjectStatement &st)
{
    if (!m_seen.label) {
        st.fail(QStringLiteral("o relatório \"%1\" (linha %2) não diz o tamanho da etiqueta ('etiqueta largura=... altura=...')")
                    .arg(m_report->name)
                    .arg(m_report->line));
    }
}

void Parser::checkElementsFit() const
{
    const SheetGrid &grid = m_report->grid;
    for (const CellElement &e : m_report->elements) {
        if (e.box.right() > grid.cellWidth + FitTolerance || e.box.bottom() > grid.cellHeight + FitTolerance) {
            throw ProjectError::at(m_project.fileName, e.line, elementKeyword(e.kind),
                                   QStringLiteral("o elemento vai até %1 × %2 mm e sai da etiqueta de %3 × %4 mm")
                                       .arg(brNumber(e.box.right()), brNumber(e.box.bottom()), brNumber(grid.cellWidth),
                                            brNumber(grid.cellHeight)));
        }
    }
}

void Parser::finishThermal(const ProjectStatement &st)
{
    if (m_seen.sheetOnlyLine) {
        throw ProjectError::at(m_project.fileName, m_seen.sheetOnlyLine, m_seen.sheetOnlyKeyword,
                               QStringLiteral("um relatório térmico não usa papel, grade, margens nem passo: "
                                              "a etiqueta e o rolo ('rolo colunas=... espaco=...') dizem onde cada etiqueta fica"));
    }
    requireLabel(st);
    checkElementsFit();
    const double perMm = dotsPerMm(m_thermal.dpi);
    const QString language = m_thermal.language == PrinterLanguage::Zpl ? QStringLiteral("ZPL") : QStringLiteral("EPL2");
    for (const CellElement &e : m_report->elements) {
        if (e.kind != CellElement::Kind::Barcode)
            continue;
        if (!languageHasSymbology(m_thermal.language, e.printerSymbology)) {
            throw ProjectError::at(m_project.fileName, e.line, elementKeyword(e.kind),
                                   QStringLiteral("a impressora %1 não recebe esta simbologia daqui (use EAN13, CODE128, CODE128A, "
                                                  "CODE128B, CODE128C ou CODE39)")
                                       .arg(language));
        }
        const int needed = minimumBarcodeWidth(e.printerSymbology, SampleBarcodeData);
        // A turned barcode runs along its box's height.
        const double length = e.rotation % 180 ? e.box.height() : e.box.width();
        if (needed > int(length * perMm + FitTolerance)) {
            throw ProjectError::at(m_project.fileName, e.line, elementKeyword(e.kind),
                                   QStringLiteral("o código de barras precisa de %1 mm de largura com as zonas de silêncio "
                                                  "(%2 pontos a %3 dpi) e a caixa tem %4 mm")
                                       .arg(brNumber(std::ceil(needed / perMm * 10) / 10))
                                       .arg(needed)
                                       .arg(m_thermal.dpi)
                                       .arg(brNumber(length)));
        }
    }
    m_report->thermal = m_thermal;
}

void Parser::finishSheet(const ProjectStatement &st)
{
    if (m_seen.rollLine) {
        throw ProjectError::at(m_project.fileName, m_seen.rollLine, QStringLiteral("rolo"),
                               QStringLiteral("'rolo' só vale num relatório térmico (falta 'termica linguagem=EPL2' ou 'termica linguagem=ZPL')"));
    }

    const auto missing = [&](const QString &what) {
        st.fail(QStringLiteral("o relatório \"%1\" (linha %2) não diz %3").arg(m_report->name).arg(m_report->line).arg(what));
    };
    if (!m_seen.paper)
        missing(QStringLiteral("o papel ('papel A4', 'papel Carta', ...)"));
    if (!m_seen.grid)
        missing(QStringLiteral("a grade ('grade colunas=... linhas=...')"));
    if (!m_seen.margins)
        missing(QStringLiteral("onde começa a primeira etiqueta ('margens esquerda=... topo=...')"));
    requireLabel(st);

    SheetGrid &grid = m_report->grid;
    // Without a pitch the labels touch each other.
    if (grid.pitchX == 0)
        grid.pitchX = grid.cellWidth;
    if (grid.pitchY == 0)
        grid.pitchY = grid.cellHeight;
    if (grid.columns > 1 && grid.pitchX + FitTolerance < grid.cellWidth) {
        st.fail(QStringLiteral("o passo horizontal de %1 mm é menor que a largura da etiqueta (%2 mm): as etiquetas se sobreporiam")
                    .arg(brNumber(grid.pitchX), brNumber(grid.cellWidth)));
    }
    if (grid.rows > 1 && grid.pitchY + FitTolerance < grid.cellHeight) {
        st.fail(QStringLiteral("o passo vertical de %1 mm é menor que a altura da etiqueta (%2 mm): as etiquetas se sobreporiam")
                    .arg(brNumber(grid.pitchY), brNumber(grid.cellHeight)));
    }
    checkElementsFit();
    const QSizeF paper = m_report->paperSize();
    if (grid.rightEdge() > paper.width() + FitTolerance) {
        st.fail(QStringLiteral("a grade do relatório \"%1\" não cabe no papel: a última coluna termina em %2 mm e o papel tem %3 mm de largura")
                    .arg(m_report->name, brNumber(grid.rightEdge()), brNumber(paper.width())));
    }
    if (grid.bottomEdge() > paper.height() + FitTolerance) {
        st.fail(QStringLiteral("a grade do relatório \"%1\" não cabe no papel: a última linha termina em %2 mm e o papel tem %3 mm de altura")
                    .arg(m_report->name, brNumber(grid.bottomEdge()), brNumber(paper.height())));
    }
}

// A calibration is a nudge; one that carries every label off the paper would
// print blank pages without a word.
void Parser::checkOffsetKeepsLabelsOnPaper(const SheetReport &report) const
{
    const SheetGrid &grid = report.grid;
    const QPointF offset = m_project.offset + report.offset;
    const QRectF labels = QRectF(grid.left, grid.top, grid.rightEdge() - grid.left, grid.bottomEdge() - grid.top).translated(offset);
    const QSizeF paper = report.paperSize();
    if (!labels.intersects(QRectF(QPointF(0, 0), paper))) {
        throw ProjectError::at(m_project.fileName, report.line, QStringLiteral("relatorio"),
                               QStringLiteral("o deslocamento de %1 × %2 mm leva todas as etiquetas do relatório \"%3\" para fora do papel")
                                   .arg(brNumber(offset.x()), brNumber(offset.y()), report.name));
    }
}

} // namespace

ReportProject parseReportProject(const QString &text, const QString &fileName)
{
    return Parser(fileName).parse(text);
}
