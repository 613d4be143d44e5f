#include "ProjectWriter.h"

#include "DrawnElements.h"
#include "ProjectStatement.h"

#include <QMap>
#include <QSet>

#include <cmath>

namespace {

const QString Indent = QStringLiteral("  ");

const QStringList SettingKeywords = {QStringLiteral("modelos"), QStringLiteral("conexao"), QStringLiteral("papel"),
                                     QStringLiteral("termica"), QStringLiteral("rolo"),    QStringLiteral("grade"),
                                     QStringLiteral("margens"), QStringLiteral("etiqueta"), QStringLiteral("passo"),
                                     QStringLiteral("deslocamento")};

// To the ten-thousandth, with a point, as the sample writes: a value typed by
// hand (x=1.125) is written back as typed, and the binary noise of a sum
// (10.399999999999999) does not reach the file.
QString number(double value)
{
    QString text = QString::number(std::round(value * 10000) / 10000, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// A field name stays bare when the parser would read it back whole.
QString argument(const QString &text)
{
    for (const QChar c : text) {
        if (c.isSpace() || c == QLatin1Char('"') || c == QLatin1Char('#') || c == QLatin1Char('='))
            return quoted(text);
    }
    return text.isEmpty() ? quoted(text) : text;
}

QString symbologyName(const CellElement &element)
{
    if (element.printerSymbology == PrinterSymbology::Code128Auto)
        return QStringLiteral("CODE128");
    switch (element.symbology) {
    case btCode128A:
        return QStringLiteral("CODE128A");
    case btCode128B:
        return QStringLiteral("CODE128B");
    case btCode128C:
        return QStringLiteral("CODE128C");
    case btCode39:
        return QStringLiteral("CODE39");
    case btCodeEAN13:
        return QStringLiteral("EAN13");
    case btCode2e5I:
        return QStringLiteral("2E5I");
    case btCodeEAN8:
        return QStringLiteral("EAN8");
    case btCodeUPCA:
        return QStringLiteral("UPCA");
    }
    return QStringLiteral("EAN13");
}

QString paperStatement(const SheetReport &report)
{
    static const QList<std::pair<QPageSize::PageSizeId, QString>> named = {
        {QPageSize::A4, QStringLiteral("A4")},
        {QPageSize::A5, QStringLiteral("A5")},
        {QPageSize::Letter, QStringLiteral("Carta")},
        {QPageSize::Legal, QStringLiteral("Oficio")},
    };
    QString text = QStringLiteral("papel");
    const auto it = std::find_if(named.begin(), named.end(), [&](const auto &entry) { return entry.first == report.pageSize.id(); });
    if (it != named.end()) {
        text += QLatin1Char(' ') + it->second;
    } else {
        const QSizeF size = report.pageSize.size(QPageSize::Millimeter);
        text += QStringLiteral(" largura=%1 altura=%2").arg(number(size.width()), number(size.height()));
    }
    if (report.orientation == QPageLayout::Landscape)
        text += QStringLiteral(" orientacao=paisagem");
    return text;
}

QString indentOf(const QString &line)
{
    qsizetype n = 0;
    while (n < line.size() && line[n].isSpace())
        ++n;
    return line.left(n);
}

// What follows a line's statement: the spaces and the comment ("  # ...")
// a person wrote after it, found outside quotes as the parser finds it.
QString trailingComment(const QString &line)
{
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('"'))
            inQuotes = !inQuotes;
        else if (!inQuotes && line[i] == QLatin1Char('#') && (i == 0 || line[i - 1].isSpace() || line[i - 1] == QLatin1Char('"'))) {
            qsizetype start = i;
            while (start > 0 && line[start - 1].isSpace())
                --start;
            return line.mid(start);
        }
    }
    return {};
}

// `line` with its statement replaced by `statement`: its indent and comment stay.
QString rewritten(const QString &line, const QString &statement)
{
    return indentOf(line) + statement + trailingComment(line);
}

const CellElement *elementAtLine(const SheetReport &report, int line)
{
    for (const CellElement &element : report.elements) {
        if (element.line == line)
            return &element;
    }
    return nullptr;
}

QString dateAndRotationAttributes(const CellElement &e)
{
    QString text;
    if (e.kind == CellElement::Kind::Date) {
        if (e.dayOffset)
            text += QStringLiteral(" dias=%1").arg(e.dayOffset);
        if (e.monthOffset)
            text += QStringLiteral(" meses=%1").arg(e.monthOffset);
    }
    if (e.rotation)
        text += QStringLiteral(" rotacao=%1").arg(e.rotation);
    return text;
}

QString drawnElementStatement(const CellElement &e)
{
    QString text = elementKeyword(e.kind);
    if (e.kind == CellElement::Kind::Line) {
        const bool across = e.box.width() >= e.box.height();
        return text + QStringLiteral(" x=%1 y=%2 %3=%4 espessura=%5")
                          .arg(number(e.box.x()), number(e.box.y()), across ? QStringLiteral("largura") : QStringLiteral("altura"),
                               number(across ? e.box.width() : e.box.height()), number(across ? e.box.height() : e.box.width()));
    }
    if (e.isMatrixCode())
        text += QLatin1Char(' ') + partsStatement(e.parts);
    text += QStringLiteral(" x=%1 y=%2 largura=%3 altura=%4")
                .arg(number(e.box.x()), number(e.box.y()), number(e.box.width()), number(e.box.height()));
    if (e.kind == CellElement::Kind::Frame)
        return text + QStringLiteral(" espessura=") + number(e.thickness);
    if (e.kind == CellElement::Kind::Image) {
        text.insert(elementKeyword(e.kind).size(), QLatin1Char(' ') + quoted(e.value));
        if (e.threshold != 50)
            text += QStringLiteral(" limiar=%1").arg(e.threshold);
        if (e.dither)
            text += QStringLiteral(" pontilhado=sim");
        return text;
    }
    if (e.kind == CellElement::Kind::QrCode && e.qrLevel != QrLevel::M)
        text += QStringLiteral(" correcao=") + QStringLiteral("LMQH").at(int(e.qrLevel));
    if (e.moduleMm > 0)
        text += QStringLiteral(" modulo=") + number(e.moduleMm);
    return text;
}

// The elements of `edited` that have no line of their own to be written on,
// by the line of the element they follow in the list (0: before every
// element that keeps its line), so the file keeps the list's order, which is
// the order they are drawn in. An element whose line comes before one it
// follows in the list is written anew in its place and its old line dropped.
struct Placement
{
    SheetReport edited;                  // with the lines of the elements moved cleared
    QMap<int, QList<CellElement>> after; // written after that line's element
    int lastLine = 0;                    // the last element that keeps its line: its followers go before 'fim'
};

Placement placeElements(const SheetReport &edited)
{
    Placement placed{edited, {}, 0};
    for (CellElement &element : placed.edited.elements) {
        if (element.line > placed.lastLine) {
            placed.lastLine = element.line;
            continue;
        }
        element.line = 0;
        placed.after[placed.lastLine] << element;
    }
    return placed;
}

void writeElements(QStringList *out, const QList<CellElement> &elements)
{
    for (const CellElement &element : elements)
        *out << Indent + elementStatement(element);
}

} // namespace

QString elementStatement(const CellElement &e)
{
    if (isDrawnElement(e.kind))
        return drawnElementStatement(e);
    QString text = elementKeyword(e.kind) + QLatin1Char(' ');
    if (e.kind == CellElement::Kind::Date)
        text += quoted(e.dateFormat);
    else
        text += e.kind == CellElement::Kind::Text ? quoted(e.value) : argument(e.value);
    text += QStringLiteral(" x=%1 y=%2 largura=%3 altura=%4")
                .arg(number(e.box.x()), number(e.box.y()), number(e.box.width()), number(e.box.height()));
    if (e.fontFamily != QLatin1String("Arial"))
        text += QStringLiteral(" fonte=") + quoted(e.fontFamily);
    if (e.fontSize > 0)
        text += QStringLiteral(" tamanho=") + number(e.fontSize);
    if (e.bold)
        text += QStringLiteral(" negrito=sim");
    if (e.kind == CellElement::Kind::Barcode) {
        text += QStringLiteral(" simbologia=") + symbologyName(e);
        if (!e.legend)
            text += QStringLiteral(" legenda=nao");
        return text + dateAndRotationAttributes(e);
    }
    if (e.italic)
        text += QStringLiteral(" italico=sim");
    if (e.wrap)
        text += QStringLiteral(" quebra=sim");
    if (e.alignment & Qt::AlignHCenter)
        text += QStringLiteral(" alinhamento=centro");
    else if (e.alignment & Qt::AlignRight)
        text += QStringLiteral(" alinhamento=direita");
    if (e.kind == CellElement::Kind::Price && e.priceFormat != QLatin1String("#,##0.00"))
        text += QStringLiteral(" formato=") + quoted(e.priceFormat);
    return text + dateAndRotationAttributes(e);
}

QString settingStatement(const SheetReport &report, const QString &keyword)
{
    const SheetGrid &grid = report.grid;
    const bool thermal = report.thermal.has_value();
    if (keyword == QLatin1String("modelos")) {
        if (report.modelPrefixes.isEmpty())
            return {};
        QString text = keyword;
        for (const QString &prefix : report.modelPrefixes)
            text += QLatin1Char(' ') + quoted(prefix);
        return text;
    }
    if (keyword == QLatin1String("conexao"))
        return report.connection == QLatin1String("RvDataSetConnection1") ? QString() : keyword + QLatin1Char(' ') + argument(report.connection);
    if (keyword == QLatin1String("etiqueta"))
        return QStringLiteral("etiqueta largura=%1 altura=%2").arg(number(grid.cellWidth), number(grid.cellHeight));
    if (keyword == QLatin1String("deslocamento")) {
        if (report.offset.isNull())
            return {};
        return QStringLiteral("deslocamento x=%1 y=%2").arg(number(report.offset.x()), number(report.offset.y()));
    }
    if (thermal) {
        if (keyword == QLatin1String("termica")) {
            return QStringLiteral("termica linguagem=%1 resolucao=%2")
                .arg(report.thermal->language == PrinterLanguage::Zpl ? QStringLiteral("ZPL") : QStringLiteral("EPL2"))
                .arg(report.thermal->dpi);
        }
        if (keyword == QLatin1String("rolo"))
            return QStringLiteral("rolo colunas=%1 espaco=%2").arg(report.thermal->across).arg(number(report.thermal->gap));
        return {};
    }
    if (keyword == QLatin1String("papel"))
        return paperStatement(report);
    if (keyword == QLatin1String("grade")) {
        return QStringLiteral("grade colunas=%1 linhas=%2%3")
            .arg(grid.columns)
            .arg(grid.rows)
            .arg(grid.order == SheetGrid::Order::DownThenAcross ? QStringLiteral(" ordem=colunas") : QString());
    }
    if (keyword == QLatin1String("margens"))
        return QStringLiteral("margens esquerda=%1 topo=%2").arg(number(grid.left), number(grid.top));
    if (keyword == QLatin1String("passo"))
        return QStringLiteral("passo horizontal=%1 vertical=%2").arg(number(grid.pitchX), number(grid.pitchY));
    return {};
}

QStringList reportBlock(const SheetReport &report)
{
    QStringList lines{QStringLiteral("relatorio ") + quoted(report.name)};
    for (const QString &keyword : SettingKeywords) {
        const QString statement = settingStatement(report, keyword);
        if (!statement.isEmpty())
            lines << Indent + statement;
    }
    lines << QString();
    for (const CellElement &element : report.elements)
        lines << Indent + elementStatement(element);
    lines << QStringLiteral("fim");
    return lines;
}

QByteArray rewriteReport(const ProjectText &text, const SheetReport &original, const SheetReport &editedAsGiven)
{
    const Placement placed = placeElements(editedAsGiven);
    const SheetReport &edited = placed.edited;
    QStringList out;
    QSet<QString> kept;     // settings whose lines stay as they are
    QSet<QString> written;  // settings already written anew
    qsizetype settingsEnd = -1; // where settings the block never had go
    bool leadingWritten = false; // the new elements before every kept one
    for (int number = original.line; number <= original.endLine; ++number) {
        const QString line = text.line(number);
        ProjectStatement st;
        const bool statement = ProjectStatement::split(line, number, {}, &st);
        if (!statement) {
            out << line;
            continue;
        }
        const QString &keyword = st.keyword();
        if (number == original.line) {
            out << (original.name == edited.name ? line : rewritten(line, QStringLiteral("relatorio ") + quoted(edited.name)));
            settingsEnd = out.size();
        } else if (number == original.endLine) {
            if (!leadingWritten)
                writeElements(&out, placed.after.value(0));
            if (placed.lastLine)
                writeElements(&out, placed.after.value(placed.lastLine));
            out << line;
        } else if (SettingKeywords.contains(keyword)) {
            const QString now = settingStatement(edited, keyword);
            if (kept.contains(keyword) || (!written.contains(keyword) && settingStatement(original, keyword) == now)) {
                kept.insert(keyword);
                out << line;
            } else if (!written.contains(keyword)) {
                written.insert(keyword);
                if (!now.isEmpty())
                    out << rewritten(line, now);
            }
            settingsEnd = out.size();
        } else if (elementKindFor(keyword)) {
            const CellElement *before = elementAtLine(original, number);
            const CellElement *after = elementAtLine(edited, number);
            if (after && !leadingWritten) {
                writeElements(&out, placed.after.value(0));
                leadingWritten = true;
            }
            if (after && before && elementStatement(*before) == elementStatement(*after))
                out << line;
            else if (after)
                out << rewritten(line, elementStatement(*after));
            if (after && number != placed.lastLine)
                writeElements(&out, placed.after.value(number));
        } else {
            out << line;
        }
    }
    QStringList added;
    for (const QString &keyword : SettingKeywords) {
        const QString now = settingStatement(edited, keyword);
        if (!kept.contains(keyword) && !written.contains(keyword) && !now.isEmpty() && now != settingStatement(original, keyword))
            added << Indent + now;
    }
    for (int i = 0; i < added.size(); ++i)
        out.insert(settingsEnd + i, added[i]);
    return text.replaced(original.line, original.endLine, out);
}

QString writtenDifference(const SheetReport &shown, const SheetReport &written)
{
    if (shown.name != written.name)
        return QStringLiteral("o nome ficaria \"%1\" em vez de \"%2\"").arg(written.name, shown.name);
    for (const QString &keyword : SettingKeywords) {
        const QString now = settingStatement(shown, keyword);
        const QString there = settingStatement(written, keyword);
        if (now != there)
            return QStringLiteral("ficaria \"%1\" em vez de \"%2\"").arg(there, now);
    }
    const qsizetype count = std::max(shown.elements.size(), written.elements.size());
    for (qsizetype i = 0; i < count; ++i) {
        const QString now = i < shown.elements.size() ? elementStatement(shown.elements[i]) : QString();
        const QString there = i < written.elements.size() ? elementStatement(written.elements[i]) : QString();
        if (now == there)
            continue;
        if (now.isEmpty())
            return QStringLiteral("ficaria um elemento a mais: \"%1\"").arg(there);
        if (there.isEmpty())
            return QStringLiteral("faltaria o elemento \"%1\"").arg(now);
        return QStringLiteral("o %1º elemento ficaria \"%2\" em vez de \"%3\"").arg(i + 1).arg(there, now);
    }
    return {};
}

QByteArray appendReport(const ProjectText &text, const SheetReport &report)
{
    QStringList lines = reportBlock(report);
    // A blank line apart from what comes before, as the sample keeps its reports.
    if (text.lineCount() > 1 || !text.line(1).isEmpty()) {
        const bool endsBlank = text.line(text.lineCount()).trimmed().isEmpty() && text.line(text.lineCount() - 1).trimmed().isEmpty();
        if (!endsBlank)
            lines.prepend(QString());
    }
    return text.appended(lines);
}

QByteArray setProjectOffset(const ProjectText &text, const ReportProject &project, const QPointF &offset)
{
    const QString statement = QStringLiteral("deslocamento x=%1 y=%2").arg(number(offset.x()), number(offset.y()));
    if (project.offsetLine)
        return text.replaced(project.offsetLine, project.offsetLine, {rewritten(text.line(project.offsetLine), statement)});
    return text.replaced(project.activeLine + 1, project.activeLine, {statement});
}

QByteArray setActiveReport(const ProjectText &text, const ReportProject &project, const QString &name)
{
    const int at = project.activeLine;
    return text.replaced(at, at, {rewritten(text.line(at), QStringLiteral("ativo ") + quoted(name))});
}
