#include "Epl2Reader.h"

#include "Epl2Text.h"
#include "PrintedGraphic.h"
#include "PrinterBarcode.h"
#include "PrinterFonts.h"
#include "PrinterRanges.h"

#include <QList>

namespace {

// Commands that take numbers or nothing after their name.
const QStringList DrawingAndSize = {QStringLiteral("LO"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("N"),
                                    QStringLiteral("P"),  QStringLiteral("q"), QStringLiteral("Q"), QStringLiteral("R"),
                                    QStringLiteral("X"), QStringLiteral("I"), QStringLiteral("GG"), QStringLiteral("GK")};
// Printer set-up with no mark on the label: speed, density,
// print direction, form back-up, options, feed adjust, buffering.
const QStringList SetupOnly = {QStringLiteral("S"), QStringLiteral("D"), QStringLiteral("f")};
const QStringList SetupLines = {QStringLiteral("ZT"), QStringLiteral("ZB"), QStringLiteral("JF"), QStringLiteral("JB"),
                                QStringLiteral("rN"), QStringLiteral("rY")};

bool followsName(const QString &line, qsizetype length)
{
    return line.size() == length || !line[length].isLetter();
}

QString commandName(const QString &line)
{
    for (const QStringList *names : {&DrawingAndSize, &SetupOnly}) {
        for (const QString &name : *names) {
            if (line.startsWith(name) && followsName(line, name.size()))
                return name;
        }
    }
    if (SetupLines.contains(line))
        return line;
    if (line.startsWith(QLatin1Char('O')))
        return QStringLiteral("O");
    qsizetype letters = 0;
    while (letters < line.size() && line[letters].isLetter())
        ++letters;
    return QStringLiteral("?") + line.left(std::max<qsizetype>(letters, 1));
}

class Epl2Reader
{
public:
    Epl2Reader(int dpi, PrinterMemory *memory) : m_memory(memory ? memory : &m_ownMemory)
    {
        m_file.language = PrinterLanguage::Epl2;
        m_file.dpi = dpi;
    }

    RenderedFile read(const QByteArray &bytes);

private:
    void command(const QString &line);
    void text(const QStringList &p, const QString &data);
    void barcode(const QStringList &p, const QString &data);
    void lineDraw(const QStringList &p);
    void boxDraw(const QStringList &p);
    qsizetype graphic(const QByteArray &bytes, qsizetype start);
    qsizetype storeGraphic(const QByteArray &bytes, qsizetype start);
    void recallGraphic(const QStringList &p, const QString &name);
    void print(const QStringList &p);
    void characterSet(const QStringList &p);
    void add(PrintedElement element, const QStringList &p);
    bool rotationTaken(int rotation);
    bool numbers(const QStringList &p, int count, QList<int> *out);
    void fault(const QString &message) { m_file.faults.append({m_line, message}); }

    PrinterMemory m_ownMemory;
    PrinterMemory *m_memory;
    RenderedFile m_file;
    PrintImage m_buffer;
    bool m_dirty = false;
    QPoint m_reference;
    int m_line = 0;
    // A file that selects no page is read in the page of everything the
    // suite stores; `I` changes it for the lines that follow.
    Epl2CodePage m_page = Epl2CodePage::Windows1252;
};

// Splits "x,y,...,"DATA"" into its numbers and its quoted data, undoing the
// \" and \\ escapes; false when the data is not between quotes.
bool splitDataCommand(const QString &args, QStringList *params, QString *data)
{
    const qsizetype quote = args.indexOf(QLatin1Char('"'));
    if (quote < 0)
        return false;
    *params = args.left(quote).split(QLatin1Char(','));
    if (!params->isEmpty() && params->last().isEmpty())
        params->removeLast();
    data->clear();
    for (qsizetype i = quote + 1; i < args.size(); ++i) {
        const QChar c = args[i];
        if (c == QLatin1Char('\\') && i + 1 < args.size()) {
            data->append(args[++i]);
        } else if (c == QLatin1Char('"')) {
            return true;
        } else {
            data->append(c);
        }
    }
    return false;
}

RenderedFile Epl2Reader::read(const QByteArray &bytes)
{
    qsizetype pos = 0;
    m_line = 1;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        // A graphic's bytes are binary and may hold line ends of their own.
        if (bytes.mid(pos, 2) == "GW" || bytes.mid(pos, 2) == "GM") {
            const qsizetype next = bytes.mid(pos, 2) == "GW" ? graphic(bytes, pos) : storeGraphic(bytes, pos);
            m_line += int(bytes.mid(pos, next - pos).count('\n'));
            pos = next;
            continue;
        }
        QByteArray line = bytes.mid(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        command(decodeEpl2(line, m_page));
        pos = end + 1;
        ++m_line;
    }
    if (m_dirty) {
        m_line = m_buffer.elements.last().line;
        fault(QStringLiteral("o arquivo termina sem 'P': esta imagem não seria impressa"));
        m_file.images.append(m_buffer);
    }
    return m_file;
}

void Epl2Reader::command(const QString &line)
{
    // A blank line is how hosts wake the printer; ';' starts a comment.
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char(';')))
        return;
    const QString name = commandName(line);
    if (name.startsWith(QLatin1Char('?'))) {
        fault(QStringLiteral("comando desconhecido '%1'").arg(name.mid(1)));
        return;
    }
    const QString args = line.mid(name.size());
    QStringList params;
    QString data;
    if (name == QLatin1String("GG") || name == QLatin1String("GK")) {
        if (!splitDataCommand(args, &params, &data)) {
            fault(QStringLiteral("'%1' sem o nome entre aspas").arg(name));
            return;
        }
        if (name == QLatin1String("GK"))
            m_memory->graphics.remove(data);
        else
            recallGraphic(params, data);
        return;
    }
    if (name == QLatin1String("A") || name == QLatin1String("B")) {
        if (!splitDataCommand(args, &params, &data)) {
            fault(QStringLiteral("'%1' sem o texto entre aspas").arg(name));
            return;
        }
        name == QLatin1String("A") ? text(params, data) : barcode(params, data);
        return;
    }
    params = args.isEmpty() ? QStringList() : args.split(QLatin1Char(','));
    QList<int> n;
    if (name == QLatin1String("LO")) {
        lineDraw(params);
    } else if (name == QLatin1String("X")) {
        boxDraw(params);
    } else if (name == QLatin1String("N")) {
        m_buffer.elements.clear();
        m_dirty = false;
    } else if (name == QLatin1String("P")) {
        print(params);
    } else if (name == QLatin1String("q")) {
        if (numbers(params.mid(0, 1), 1, &n))
            m_buffer.declared.setWidth(n[0]);
    } else if (name == QLatin1String("Q")) {
        if (numbers(params.mid(0, 1), 1, &n))
            m_buffer.declared.setHeight(n[0]);
    } else if (name == QLatin1String("I")) {
        characterSet(params);
    } else if (name == QLatin1String("R")) {
        if (numbers(params, 2, &n))
            m_reference = QPoint(n[0], n[1]);
    }
}

bool Epl2Reader::numbers(const QStringList &p, int count, QList<int> *out)
{
    out->clear();
    bool ok = p.size() == count;
    for (const QString &text : p) {
        bool isNumber = false;
        out->append(text.trimmed().toInt(&isNumber));
        ok = ok && isNumber;
    }
    if (!ok)
        fault(QStringLiteral("parâmetros inválidos: esperava %1 números e veio '%2'").arg(count).arg(p.join(QLatin1Char(','))));
    return ok;
}

// EPL2 Programmer's Manual, "A Command - ASCII Text", p3 = rotation:
// "Characters are organized vertically from left to right and then rotated
// to print"; the figures of the A and B commands turn the field about its
// start position p1,p2, which stays where the unturned field's top-left
// corner would be. (ZPL's ^FO is the top-left corner of the turned field;
// EPL2 has no such rule.)
void Epl2Reader::add(PrintedElement element, const QStringList &p)
{
    element.line = m_line;
    turnElementAbout(element, m_reference + QPoint(p[0].toInt(), p[1].toInt()), p[2].toInt());
    m_buffer.elements.append(element);
    m_dirty = true;
}

// EPL2 takes no value out of range: the printer rejects the whole line.
bool Epl2Reader::rotationTaken(int rotation)
{
    if (Epl2Rotation.holds(rotation))
        return true;
    fault(QStringLiteral("rotação %1 fora de %2 a %3: a impressora recusa a linha").arg(rotation).arg(Epl2Rotation.low).arg(Epl2Rotation.high));
    return false;
}

void Epl2Reader::text(const QStringList &p, const QString &data)
{
    QList<int> n;
    if (p.size() != 7 || !numbers(p.mid(0, 6), 6, &n)) {
        if (p.size() != 7)
            fault(QStringLiteral("'A' precisa de 7 parâmetros antes do texto, não %1").arg(p.size()));
        return;
    }
    if (!rotationTaken(n[2]))
        return;
    const std::optional<PrinterFont> font = epl2Font(n[3], n[4], n[5], m_file.dpi);
    if (!font) {
        fault(QStringLiteral("fonte '%1' de 'A' não é desenhada por este programa (use 1 a 5)").arg(p[3]));
        return;
    }
    PrintedElement element;
    element.kind = PrintedElement::Kind::Text;
    PrintedText run;
    run.text = data;
    run.font = *font;
    run.width = printedWidth(*font, data);
    run.reverse = p[6].trimmed() == QLatin1String("R");
    element.texts.append(run);
    add(element, p);
}

void Epl2Reader::barcode(const QStringList &p, const QString &data)
{
    static const QList<std::pair<QString, PrinterSymbology>> selectors = {
        {QStringLiteral("1"), PrinterSymbology::Code128Auto},  {QStringLiteral("1A"), PrinterSymbology::Code128A},
        {QStringLiteral("1B"), PrinterSymbology::Code128B},    {QStringLiteral("1C"), PrinterSymbology::Code128C},
        {QStringLiteral("3"), PrinterSymbology::Code39},       {QStringLiteral("3C"), PrinterSymbology::Code39Check},
        {QStringLiteral("E30"), PrinterSymbology::Ean13},      {QStringLiteral("E80"), PrinterSymbology::Ean8},
        {QStringLiteral("UA0"), PrinterSymbology::UpcA},       {QStringLiteral("2"), PrinterSymbology::Interleaved2of5},
    };
    if (p.size() != 8) {
        fault(QStringLiteral("'B' precisa de 8 parâmetros antes dos dados, não %1").arg(p.size()));
        return;
    }
    QList<int> n;
    if (!numbers(QStringList{p[0], p[1], p[2], p[4], p[5], p[6]}, 6, &n))
        return;
    const QString selector = p[3].trimmed();
    const auto it = std::find_if(selectors.begin(), selectors.end(), [&](const auto &s) { return s.first == selector; });
    if (it == selectors.end()) {
        fault(QStringLiteral("código de barras '%1' de 'B' não é desenhado por este programa (use 1, 1A, 1B, 1C, 3, 3C, E30, E80, UA0 ou 2)")
                  .arg(selector));
        return;
    }
    if (!rotationTaken(n[2]))
        return;
    if (!Epl2NarrowBar.holds(n[3])) {
        fault(QStringLiteral("barra estreita de 'B' é %1, fora de %2 a %3: a impressora recusa a linha").arg(n[3]).arg(Epl2NarrowBar.low).arg(Epl2NarrowBar.high));
        return;
    }
    if (n[4] < n[3] || n[5] < 1) {
        fault(QStringLiteral("barras de 'B' com largura ou altura impossível: estreita %1, larga %2, altura %3").arg(n[3]).arg(n[4]).arg(n[5]));
        return;
    }
    BarcodeRequest request;
    request.symbology = it->second;
    request.data = data;
    request.narrow = n[3];
    request.wide = n[4];
    request.height = n[5];
    request.legend = p[7].trimmed() == QLatin1String("B") ? HumanReadable::Below : HumanReadable::None;
    request.legendFont = *epl2Font(2, 1, 1, m_file.dpi);
    add(printerBarcode(request), p);
}

void Epl2Reader::lineDraw(const QStringList &p)
{
    QList<int> n;
    if (!numbers(p, 4, &n))
        return;
    PrintedElement element;
    element.kind = PrintedElement::Kind::Line;
    element.ink.append(QRect(0, 0, n[2], n[3]));
    add(element, QStringList{p[0], p[1], QStringLiteral("0")});
}

void Epl2Reader::boxDraw(const QStringList &p)
{
    QList<int> n;
    if (!numbers(p, 5, &n))
        return;
    const int thickness = n[2];
    const int width = n[3] - n[0];
    const int height = n[4] - n[1];
    if (thickness < 1 || width < 1 || height < 1) {
        fault(QStringLiteral("'X' com quadro impossível: de %1,%2 a %3,%4, espessura %5").arg(n[0]).arg(n[1]).arg(n[3]).arg(n[4]).arg(thickness));
        return;
    }
    const int across = std::min(thickness, height);
    const int down = std::min(thickness, width);
    PrintedElement element;
    element.kind = PrintedElement::Kind::Box;
    element.ink = {QRect(0, 0, width, across), QRect(0, height - across, width, across), QRect(0, 0, down, height),
                   QRect(width - down, 0, down, height)};
    add(element, QStringList{p[0], p[1], QStringLiteral("0")});
}

// GWx,y,bytes a row,rows,<binary>: returns where the next command starts.
qsizetype Epl2Reader::graphic(const QByteArray &bytes, qsizetype start)
{
    qsizetype data = start + 2;
    for (int comma = 0; comma < 4; ++comma) {
        data = bytes.indexOf(',', data);
        const qsizetype lineEnd = bytes.indexOf('\n', start);
        if (data < 0 || (lineEnd >= 0 && data > lineEnd)) {
            fault(QStringLiteral("'GW' precisa de 4 parâmetros antes dos dados"));
            return lineEnd < 0 ? bytes.size() : lineEnd + 1;
        }
        ++data;
    }
    const QStringList p = QString::fromLatin1(bytes.mid(start + 2, data - start - 3)).split(QLatin1Char(','));
    QList<int> n;
    const bool read = numbers(p, 4, &n);
    if (!read || n[2] < 1 || n[3] < 1) {
        if (read)
            fault(QStringLiteral("'GW' com gráfico de %1 bytes por %2 linhas").arg(n[2]).arg(n[3]));
        const qsizetype lineEnd = bytes.indexOf('\n', start);
        return lineEnd < 0 ? bytes.size() : lineEnd + 1;
    }
    const qsizetype size = qsizetype(n[2]) * n[3];
    if (data + size > bytes.size()) {
        fault(QStringLiteral("'GW' anuncia %1 bytes de gráfico e o arquivo acaba antes").arg(size));
        return bytes.size();
    }
    add(graphicElement(bytes.mid(data, size), n[2], n[3], false), QStringList{p[0], p[1], QStringLiteral("0")});
    return data + size;
}

void Epl2Reader::characterSet(const QStringList &p)
{
    if (p.value(0).trimmed() != QLatin1String("8")) {
        fault(QStringLiteral("'I' com dados de %1 bits: este programa lê só 8 bits (I8,...)").arg(p.value(0)));
        return;
    }
    const std::optional<Epl2CodePage> page = epl2CodePage(p.value(1));
    if (!page) {
        fault(QStringLiteral("página de código '%1' de 'I' não é lida por este programa (use 0, DOS 437; 3, DOS 860; ou A, Windows-1252)")
                  .arg(p.value(1)));
        return;
    }
    m_page = *page;
}

// EPL2 Programmer's Manual, "GM Command - Store Graphics": "GM"NAME"p1"
// then p1 bytes of a PCX file.
qsizetype Epl2Reader::storeGraphic(const QByteArray &bytes, qsizetype start)
{
    qsizetype lineEnd = bytes.indexOf('\n', start);
    if (lineEnd < 0)
        lineEnd = bytes.size();
    QStringList params;
    QString name;
    const QString line = QString::fromLatin1(bytes.mid(start + 2, lineEnd - start - 2)).trimmed();
    const qsizetype close = line.indexOf(QLatin1Char('"'), 1);
    bool sized = false;
    const int size = close > 0 ? line.mid(close + 1).toInt(&sized) : 0;
    if (!line.startsWith(QLatin1Char('"')) || close < 0 || !sized || size < 1) {
        fault(QStringLiteral("'GM' precisa do nome entre aspas e do tamanho em bytes: GM\"NOME\"tamanho"));
        return lineEnd + 1;
    }
    name = line.mid(1, close - 1);
    const qsizetype data = lineEnd + 1;
    if (data + size > bytes.size()) {
        fault(QStringLiteral("'GM' anuncia %1 bytes de gráfico e o arquivo acaba antes").arg(size));
        return bytes.size();
    }
    const std::optional<StoredGraphic> graphic = pcxGraphic(bytes.mid(data, size));
    if (!graphic)
        fault(QStringLiteral("'GM' com um gráfico que não é PCX de 1 bit: '%1' não foi guardado").arg(name));
    else
        m_memory->graphics.insert(name, *graphic);
    return data + size;
}

// "GG Command - Print Graphics": "GGp1,p2,"NAME"".
void Epl2Reader::recallGraphic(const QStringList &p, const QString &name)
{
    QList<int> n;
    if (!numbers(p, 2, &n))
        return;
    const auto stored = m_memory->graphics.constFind(name);
    if (stored == m_memory->graphics.cend()) {
        fault(QStringLiteral("'GG' chama o gráfico '%1', que não foi guardado (GM) antes").arg(name));
        return;
    }
    add(graphicElement(stored->bits, stored->bytesPerRow, stored->rows, stored->darkBit), QStringList{p[0], p[1], QStringLiteral("0")});
}

void Epl2Reader::print(const QStringList &p)
{
    m_buffer.copies = p.isEmpty() ? 1 : p[0].toInt();
    m_buffer.printed = true;
    m_file.images.append(m_buffer);
    m_buffer.printed = false;
    m_dirty = false;
}

} // namespace

RenderedFile readEpl2(const QByteArray &bytes, int dpi, PrinterMemory *memory)
{
    return Epl2Reader(dpi, memory).read(bytes);
}
