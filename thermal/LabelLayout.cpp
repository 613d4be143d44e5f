#include "LabelLayout.h"

#include "BarcodeText.h"
#include "Cp1252.h"
#include "EanUpc.h"
#include "PrinterFonts.h"
#include "QuietZones.h"

#include <QStringList>

namespace {

// The fonts a writer draws with, and the element the renderer will make of a
// barcode, so that sizes are measured exactly as they will be imaged.
struct TextShape
{
    PrinterFont font;
    int epl2Font = 0;       // EPL2 only: resident font and vertical multiplier
    int epl2Vertical = 1;
};

TextShape textShape(const RollSetup &roll, int height)
{
    TextShape shape;
    if (roll.language == PrinterLanguage::Zpl) {
        shape.font = zplScalableFont(height, height);
        return shape;
    }
    // The tallest resident font (5 has capitals only) and multiplier that is
    // no taller than asked; the smallest when none is.
    shape.epl2Font = 1;
    shape.font = *epl2Font(1, 1, 1, roll.dpi);
    for (int font = 1; font <= 4; ++font) {
        for (int vertical = 1; vertical <= 3; ++vertical) {
            const PrinterFont candidate = *epl2Font(font, vertical, vertical, roll.dpi);
            if (candidate.height <= height && candidate.height > shape.font.height) {
                shape.font = candidate;
                shape.epl2Font = font;
                shape.epl2Vertical = vertical;
            }
        }
    }
    return shape;
}

QString fitted(const PrinterFont &font, QString text, int width)
{
    while (!text.isEmpty() && printedWidth(font, text) > width)
        text.chop(1);
    return text;
}

// Word wrap over as many lines as the box holds; a word wider than the box
// is cut, as a printer would cut it at the label's edge.
QStringList textLines(const ThermalElement &e, const PrinterFont &font)
{
    const QString text = e.value.simplified();
    if (!e.wrap)
        return {fitted(font, text, e.box.width())};
    const int maxLines = std::max(1, e.box.height() / std::max(1, font.height));
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (printedWidth(font, longer) <= e.box.width()) {
            line = longer;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line = fitted(font, word, e.box.width());
        if (lines.size() == maxLines)
            return lines;
    }
    if (!line.isEmpty() && lines.size() < maxLines)
        lines << line;
    return lines;
}

BarcodeRequest barcodeRequest(const RollSetup &roll, const ThermalElement &e, int module, int height)
{
    BarcodeRequest request;
    request.symbology = e.symbology;
    request.data = e.value;
    request.narrow = module;
    request.wide = 3 * module;
    request.height = height;
    request.legend = e.legend ? HumanReadable::Below : HumanReadable::None;
    request.legendFont = roll.language == PrinterLanguage::Zpl ? cellFont(6 * module, 9 * module) : *epl2Font(2, 1, 1, roll.dpi);
    return request;
}

std::optional<TBarCodeTipo> quietTipo(PrinterSymbology symbology)
{
    switch (symbology) {
    case PrinterSymbology::Ean13:
        return btCodeEAN13;
    case PrinterSymbology::Ean8:
        return btCodeEAN8;
    case PrinterSymbology::UpcA:
        return btCodeUPCA;
    case PrinterSymbology::Code39:
    case PrinterSymbology::Code39Check:
        return btCode39;
    case PrinterSymbology::Interleaved2of5:
        return btCode2e5I;
    default:
        return btCode128B;
    }
}

int quietModules(PrinterSymbology symbology)
{
    const QuietZone quiet = quietZoneFor(*quietTipo(symbology));
    return quiet.left + quiet.right;
}

// What the printer is sent as data: EAN and UPC without their check digit,
// which the printer computes itself.
QString sentData(const ThermalElement &e)
{
    switch (e.symbology) {
    case PrinterSymbology::Ean13:
        return NormalizaEAN(e.value, 12);
    case PrinterSymbology::Ean8:
        return NormalizaEAN(e.value, 7);
    case PrinterSymbology::UpcA:
        return NormalizaEAN(e.value, 11);
    default:
        return e.value;
    }
}

class Writer
{
public:
    explicit Writer(const RollSetup &roll) : m_roll(roll) {}

    QByteArray file(const QList<LabelContent> &row);

private:
    void text(QPoint label, const ThermalElement &e);
    void barcode(QPoint label, const ThermalElement &e);
    void textLine(QPoint at, const TextShape &shape, const QString &text);
    void barcodeLine(QPoint at, const ThermalElement &e, int module, int height);

    const RollSetup &m_roll;
    QStringList m_lines;
};

QString epl2Quoted(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// ^ and ~ would start a command inside the data: they print as blanks.
QString zplData(QString text)
{
    return text.replace(QLatin1Char('^'), QLatin1Char(' ')).replace(QLatin1Char('~'), QLatin1Char(' '));
}

QByteArray Writer::file(const QList<LabelContent> &row)
{
    const bool zpl = m_roll.language == PrinterLanguage::Zpl;
    // The sensor finds the gap along the roll; 3 mm is what these rolls have.
    const int feedGap = int(3 * dotsPerMm(m_roll.dpi));
    if (zpl) {
        m_lines << QStringLiteral("^XA") << QStringLiteral("^CI28") << QStringLiteral("^PW%1").arg(m_roll.width())
                << QStringLiteral("^LL%1").arg(m_roll.label.height()) << QStringLiteral("^LH0,0");
    } else {
        m_lines << QStringLiteral("N") << QStringLiteral("I8,3,001") << QStringLiteral("q%1").arg(m_roll.width())
                << QStringLiteral("Q%1,%2").arg(m_roll.label.height()).arg(feedGap);
    }
    for (int column = 0; column < row.size() && column < m_roll.across; ++column) {
        const QPoint label(m_roll.columnStart(column), 0);
        for (const ThermalElement &e : row[column])
            e.kind == ThermalElement::Kind::Text ? text(label, e) : barcode(label, e);
    }
    m_lines << (zpl ? QStringLiteral("^PQ1") : QStringLiteral("P1"));
    if (zpl)
        m_lines << QStringLiteral("^XZ");
    const QString text = m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return zpl ? text.toUtf8() : toCp1252(text);
}

void Writer::text(QPoint label, const ThermalElement &e)
{
    const TextShape shape = textShape(m_roll, e.fontHeight);
    const QStringList lines = textLines(e, shape.font);
    for (int i = 0; i < lines.size(); ++i) {
        const int width = printedWidth(shape.font, lines[i]);
        int x = e.box.left();
        if (e.alignment & Qt::AlignHCenter)
            x += (e.box.width() - width) / 2;
        else if (e.alignment & Qt::AlignRight)
            x += e.box.width() - width;
        textLine(label + QPoint(x, e.box.top() + i * shape.font.height), shape, lines[i]);
    }
}

void Writer::textLine(QPoint at, const TextShape &shape, const QString &text)
{
    if (text.isEmpty())
        return;
    if (m_roll.language == PrinterLanguage::Zpl) {
        m_lines << QStringLiteral("^FO%1,%2^A0N,%3,%3^FD%4^FS").arg(at.x()).arg(at.y()).arg(shape.font.height).arg(zplData(text));
    } else {
        m_lines << QStringLiteral("A%1,%2,0,%3,%4,%4,N,%5").arg(at.x()).arg(at.y()).arg(shape.epl2Font).arg(shape.epl2Vertical).arg(epl2Quoted(text));
    }
}

void Writer::barcode(QPoint label, const ThermalElement &e)
{
    // A product without a code gets no barcode rather than one of zeros that
    // would scan as somebody else's product.
    if (e.value.trimmed().isEmpty())
        return;
    const int modules = minimumBarcodeWidth(e.symbology, e.value);
    const int module = std::max(1, barcodeModule(e));
    // The legend's share of the box is measured on the element the printer
    // will draw, the same way the renderer draws it.
    const int legend = printerBarcode(barcodeRequest(m_roll, e, module, 1)).localBounds().height() - 1;
    const int height = std::max(1, e.box.height() - legend);
    const PrintedElement drawn = printerBarcode(barcodeRequest(m_roll, e, module, height));
    // Symbol and quiet zones centred in the box; the field starts where the
    // drawing starts, which for EAN-13 is its leading digit left of the bars.
    const int quietLeft = quietZoneFor(*quietTipo(e.symbology)).left * module;
    const int symbolX = e.box.left() + (e.box.width() - modules * module) / 2 + quietLeft;
    barcodeLine(label + QPoint(symbolX + drawn.localBounds().left(), e.box.top()), e, module, height);
}

QString epl2Selector(PrinterSymbology symbology)
{
    switch (symbology) {
    case PrinterSymbology::Code128A:
        return QStringLiteral("1A");
    case PrinterSymbology::Code128B:
        return QStringLiteral("1B");
    case PrinterSymbology::Code128C:
        return QStringLiteral("1C");
    case PrinterSymbology::Code39:
        return QStringLiteral("3");
    case PrinterSymbology::Code39Check:
        return QStringLiteral("3C");
    case PrinterSymbology::Ean13:
        return QStringLiteral("E30");
    case PrinterSymbology::Ean8:
        return QStringLiteral("E80");
    case PrinterSymbology::UpcA:
        return QStringLiteral("UA0");
    case PrinterSymbology::Interleaved2of5:
        return QStringLiteral("2");
    default:
        return QStringLiteral("1");
    }
}

void Writer::barcodeLine(QPoint at, const ThermalElement &e, int module, int height)
{
    const QString data = sentData(e);
    if (m_roll.language == PrinterLanguage::Epl2) {
        m_lines << QStringLiteral("B%1,%2,0,%3,%4,%5,%6,%7,%8")
                       .arg(at.x())
                       .arg(at.y())
                       .arg(epl2Selector(e.symbology))
                       .arg(module)
                       .arg(3 * module)
                       .arg(height)
                       .arg(e.legend ? QStringLiteral("B") : QStringLiteral("N"), epl2Quoted(data));
        return;
    }
    const QString legend = e.legend ? QStringLiteral("Y") : QStringLiteral("N");
    QString command;
    QString sent = zplData(data);
    switch (e.symbology) {
    case PrinterSymbology::Ean13:
        command = QStringLiteral("^BEN,%1,%2,N").arg(height).arg(legend);
        break;
    case PrinterSymbology::Code39:
    case PrinterSymbology::Code39Check:
        command = QStringLiteral("^B3N,%1,%2,%3,N")
                      .arg(e.symbology == PrinterSymbology::Code39Check ? QStringLiteral("Y") : QStringLiteral("N"))
                      .arg(height)
                      .arg(legend);
        break;
    case PrinterSymbology::Code128Auto:
        command = QStringLiteral("^BCN,%1,%2,N,N,A").arg(height).arg(legend);
        break;
    default:
        // A fixed subset is asked for by its start invocation.
        command = QStringLiteral("^BCN,%1,%2,N,N,N").arg(height).arg(legend);
        sent = e.symbology == PrinterSymbology::Code128A   ? QStringLiteral(">9") + sent
               : e.symbology == PrinterSymbology::Code128B ? QStringLiteral(">:") + sent
                                                           : QStringLiteral(">;") + ApenasDigitos(data);
        break;
    }
    m_lines << QStringLiteral("^FO%1,%2^BY%3,3%4^FD%5^FS").arg(at.x()).arg(at.y()).arg(module).arg(command, sent);
}

} // namespace

QByteArray writeCommandFile(const RollSetup &roll, const QList<LabelContent> &row)
{
    return Writer(roll).file(row);
}

bool languageHasSymbology(PrinterLanguage language, PrinterSymbology symbology)
{
    if (language == PrinterLanguage::Epl2)
        return symbology != PrinterSymbology::Code128Invoked;
    switch (symbology) {
    case PrinterSymbology::Ean8:
    case PrinterSymbology::UpcA:
    case PrinterSymbology::Interleaved2of5:
        return false;
    default:
        return true;
    }
}

int minimumBarcodeWidth(PrinterSymbology symbology, const QString &sampleData)
{
    return printerBarcodeModules(symbology, sampleData) + quietModules(symbology);
}

int barcodeModule(const ThermalElement &e)
{
    return e.box.width() / std::max(1, minimumBarcodeWidth(e.symbology, e.value));
}

bool textIsCut(const RollSetup &roll, const ThermalElement &e)
{
    return textLines(e, textShape(roll, e.fontHeight).font).join(QLatin1Char(' ')) != e.value.simplified();
}
