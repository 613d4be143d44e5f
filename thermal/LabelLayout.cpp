#include "LabelLayout.h"

#include "BarcodeText.h"
#include "EanUpc.h"
#include "Epl2Text.h"
#include "PrintedGraphic.h"
#include "PrinterFonts.h"
#include "PrinterRanges.h"
#include "QuietZones.h"
#include "ZplText.h"

#include <QStringList>
#include <QTransform>

namespace {

// A report's EPL2 files are Windows-1252 text, the page of everything the
// suite stores, and say so in their `I` command, so what the printer prints
// is what the preview decodes.
constexpr Epl2CodePage ReportPage = Epl2CodePage::Windows1252;

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
        const int dots = ZplFontHeight.clamped(height);
        shape.font = zplScalableFont(dots, dots);
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
    void element(QPoint label, const ThermalElement &e);
    void text(QPoint label, const ThermalElement &e);
    void barcode(QPoint label, const ThermalElement &e);
    void textLine(QPoint at, const TextShape &shape, const QString &text, int quarterTurns);
    void barcodeLine(QPoint at, const ThermalElement &e, int module, int height);
    void rule(QPoint label, const ThermalElement &e);
    void matrixCode(QPoint label, const ThermalElement &e);
    template<typename Dark>
    void graphic(QPoint at, int width, int height, Dark dark);
    void recall(QPoint at, const QString &name);
    void add(const QString &line) { m_lines << (m_roll.language == PrinterLanguage::Zpl ? line.toUtf8() : encodeEpl2(line, ReportPage)); }

    const RollSetup &m_roll;
    QList<QByteArray> m_lines;
};

// The element turned inside its box: the box it is laid out in before the
// turn (sides swapped for a quarter turn), and where a rectangle of that
// layout lands on the label once turned.
struct Turn
{
    QRect box;
    int quarterTurns = 0;

    QSize layoutSize() const { return quarterTurns % 2 ? box.size().transposed() : box.size(); }
    QTransform transform() const
    {
        QTransform turn;
        turn.rotate(90.0 * quarterTurns);
        const QRect turned = turn.mapRect(QRect(QPoint(0, 0), layoutSize()));
        return turn * QTransform::fromTranslate(box.left() - turned.left(), box.top() - turned.top());
    }
    // Where the printer's field starts: ZPL's ^FO is the top-left corner of
    // the turned field; EPL2 turns the field about its start position, the
    // point where its unturned top-left corner lands (see turnElementAbout).
    QPoint fieldPoint(const QRect &layoutRect, PrinterLanguage language) const
    {
        if (language == PrinterLanguage::Epl2)
            return transform().map(QPointF(layoutRect.topLeft())).toPoint();
        return transform().mapRect(QRectF(layoutRect)).toRect().topLeft();
    }
};

// A field pushed left of or above the label by the calibration starts at
// its edge, where the printer would put it.
QString zplOrigin(QPoint at)
{
    return QStringLiteral("^FO%1,%2").arg(ZplFieldOrigin.clamped(at.x())).arg(ZplFieldOrigin.clamped(at.y()));
}

QString zplOrientation(int quarterTurns)
{
    return QString(QStringLiteral("NRIB").at(quarterTurns % 4));
}

QByteArray Writer::file(const QList<LabelContent> &row)
{
    const bool zpl = m_roll.language == PrinterLanguage::Zpl;
    // The sensor finds the gap along the roll; 3 mm is what these rolls have.
    const int feedGap = int(3 * dotsPerMm(m_roll.dpi));
    if (zpl) {
        for (const QString &line : {QStringLiteral("^XA"), QStringLiteral("^CI28"), QStringLiteral("^PW%1").arg(m_roll.width()),
                                    QStringLiteral("^LL%1").arg(m_roll.label.height()), QStringLiteral("^LH0,0")})
            add(line);
    } else {
        for (const QString &line : {QStringLiteral("N"), epl2CharacterSetCommand(ReportPage), QStringLiteral("q%1").arg(m_roll.width()),
                                    QStringLiteral("Q%1,%2").arg(m_roll.label.height()).arg(feedGap)})
            add(line);
    }
    for (int column = 0; column < row.size() && column < m_roll.across; ++column) {
        const QPoint label(m_roll.columnStart(column), 0);
        for (const ThermalElement &e : row[column])
            element(label, e);
    }
    add(zpl ? QStringLiteral("^PQ1") : QStringLiteral("P1"));
    if (zpl)
        add(QStringLiteral("^XZ"));
    return m_lines.join("\r\n") + "\r\n";
}

void Writer::element(QPoint label, const ThermalElement &e)
{
    switch (e.kind) {
    case ThermalElement::Kind::Text:
        text(label, e);
        break;
    case ThermalElement::Kind::Barcode:
        barcode(label, e);
        break;
    case ThermalElement::Kind::Line:
    case ThermalElement::Kind::Frame:
        rule(label, e);
        break;
    case ThermalElement::Kind::MatrixCode:
        matrixCode(label, e);
        break;
    case ThermalElement::Kind::Graphic:
        if (!e.picture.isNull()) {
            const QPoint at = label + e.box.topLeft() + QPoint((e.box.width() - e.picture.width()) / 2, (e.box.height() - e.picture.height()) / 2);
            if (!e.storedAs.isEmpty())
                recall(at, e.storedAs);
            else
                graphic(at, e.picture.width(), e.picture.height(), [&](int x, int y) { return monoDark(e.picture, x, y); });
        }
        break;
    }
}

void Writer::rule(QPoint label, const ThermalElement &e)
{
    const QRect box = e.box.translated(label);
    const int thickness = e.kind == ThermalElement::Kind::Line ? std::min(box.width(), box.height()) : e.thickness;
    if (m_roll.language == PrinterLanguage::Zpl) {
        add(zplOrigin(box.topLeft()) + QStringLiteral("^GB%3,%4,%5^FS").arg(box.width()).arg(box.height()).arg(thickness));
    } else if (e.kind == ThermalElement::Kind::Line) {
        add(QStringLiteral("LO%1,%2,%3,%4").arg(box.left()).arg(box.top()).arg(box.width()).arg(box.height()));
    } else {
        add(QStringLiteral("X%1,%2,%3,%4,%5").arg(box.left()).arg(box.top()).arg(thickness).arg(box.left() + box.width()).arg(box.top() + box.height()));
    }
}

void Writer::matrixCode(QPoint label, const ThermalElement &e)
{
    const std::optional<PlacedMatrix> placed = placedMatrix(e, m_roll.language);
    if (!placed || placed->module == 0)
        return;
    const QPoint at = placed->symbol.topLeft() + label;
    if (m_roll.language == PrinterLanguage::Epl2) {
        // EPL2 has no 2D symbologies of its own: the symbol goes as a picture.
        graphic(at, placed->symbol.width(), placed->symbol.height(),
                [&](int x, int y) { return placed->code.at(x / placed->module, y / placed->module); });
        return;
    }
    if (e.matrix == MatrixSymbology::QrCode) {
        const QChar level = QStringLiteral("LMQH").at(int(e.qrLevel));
        add(zplOrigin(at) + QStringLiteral("^BQN,2,%3%4^FS").arg(placed->module).arg(zplFieldData(level + QStringLiteral("A,") + e.value)));
    } else {
        add(zplOrigin(at) + QStringLiteral("^BXN,%3,200,,,,,1%4^FS").arg(placed->module).arg(zplFieldData(e.value)));
    }
}

template<typename Dark>
void Writer::graphic(QPoint at, int width, int height, Dark dark)
{
    const int bytesPerRow = (width + 7) / 8;
    if (m_roll.language == PrinterLanguage::Epl2) {
        m_lines << QStringLiteral("GW%1,%2,%3,%4,").arg(at.x()).arg(at.y()).arg(bytesPerRow).arg(height).toLatin1() +
                       packedBits(width, height, false, dark);
        return;
    }
    const QByteArray bits = packedBits(width, height, true, dark);
    add(zplOrigin(at) + QStringLiteral("^GFA,%3,%3,%4,%5^FS").arg(bits.size()).arg(bytesPerRow).arg(QString::fromLatin1(bits.toHex().toUpper())));
}

// ZPL II Programming Guide, "^XG Recall Graphic": "^XGd:o.x,mx,my" at the
// field origin, magnification 1. EPL2 Programmer's Manual, "GG Command -
// Print Graphics": "GGp1,p2,"NAME"", p1 and p2 the horizontal and vertical
// start position.
void Writer::recall(QPoint at, const QString &name)
{
    if (m_roll.language == PrinterLanguage::Zpl)
        add(zplOrigin(at) + QStringLiteral("^XGR:%1.GRF,1,1^FS").arg(name));
    else
        add(QStringLiteral("GG%1,%2,\"%3\"").arg(at.x()).arg(at.y()).arg(name));
}

void Writer::text(QPoint label, const ThermalElement &e)
{
    const TextShape shape = textShape(m_roll, e.fontHeight);
    const Turn turn{e.box.translated(label), e.quarterTurns};
    ThermalElement laid = e;
    laid.box = QRect(QPoint(0, 0), turn.layoutSize());
    const QStringList lines = textLines(laid, shape.font);
    for (int i = 0; i < lines.size(); ++i) {
        const int width = printedWidth(shape.font, lines[i]);
        int x = 0;
        if (e.alignment & Qt::AlignHCenter)
            x += (laid.box.width() - width) / 2;
        else if (e.alignment & Qt::AlignRight)
            x += laid.box.width() - width;
        textLine(turn.fieldPoint(QRect(x, i * shape.font.height, width, shape.font.height), m_roll.language), shape, lines[i],
                 e.quarterTurns);
    }
}

void Writer::textLine(QPoint at, const TextShape &shape, const QString &text, int quarterTurns)
{
    if (text.isEmpty())
        return;
    if (m_roll.language == PrinterLanguage::Zpl) {
        add(zplOrigin(at) + QStringLiteral("^A0%3,%4,%4%5^FS").arg(zplOrientation(quarterTurns)).arg(shape.font.height).arg(zplFieldData(text)));
    } else {
        add(QStringLiteral("A%1,%2,%3,%4,%5,%5,N,%6").arg(at.x()).arg(at.y()).arg(quarterTurns).arg(shape.epl2Font).arg(shape.epl2Vertical).arg(epl2Quoted(text)));
    }
}

void Writer::barcode(QPoint label, const ThermalElement &e)
{
    // A product without a code gets no barcode rather than one of zeros that
    // would scan as somebody else's product.
    if (e.value.trimmed().isEmpty())
        return;
    const Turn turn{e.box.translated(label), e.quarterTurns};
    ThermalElement laid = e;
    laid.box = QRect(QPoint(0, 0), turn.layoutSize());
    const int modules = minimumBarcodeWidth(e.symbology, e.value);
    const int module = std::max(1, barcodeModule(e));
    // The legend's share of the box is measured on the element the printer
    // will draw, the same way the renderer draws it.
    const int legend = printerBarcode(barcodeRequest(m_roll, e, module, 1)).localBounds().height() - 1;
    const int height = std::max(1, laid.box.height() - legend);
    const PrintedElement drawn = printerBarcode(barcodeRequest(m_roll, e, module, height));
    // Symbol and quiet zones centred in the box; the field starts where the
    // drawing starts, which for EAN-13 is its leading digit left of the bars.
    const int quietLeft = quietZoneFor(*quietTipo(e.symbology)).left * module;
    const int symbolX = (laid.box.width() - modules * module) / 2 + quietLeft;
    const QRect bounds = drawn.localBounds();
    barcodeLine(turn.fieldPoint(QRect(QPoint(symbolX + bounds.left(), 0), bounds.size()), m_roll.language), e, module, height);
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
        add(QStringLiteral("B%1,%2,%3,%4,%5,%6,%7,%8,%9")
                       .arg(at.x())
                       .arg(at.y())
                       .arg(e.quarterTurns)
                       .arg(epl2Selector(e.symbology))
                       .arg(module)
                       .arg(3 * module)
                       .arg(height)
                       .arg(e.legend ? QStringLiteral("B") : QStringLiteral("N"), epl2Quoted(data)));
        return;
    }
    const QString legend = e.legend ? QStringLiteral("Y") : QStringLiteral("N");
    QString command;
    QString sent = data;
    switch (e.symbology) {
    case PrinterSymbology::Ean13:
        command = QStringLiteral("^BE%1,%2,%3,N").arg(zplOrientation(e.quarterTurns)).arg(height).arg(legend);
        break;
    case PrinterSymbology::Code39:
    case PrinterSymbology::Code39Check:
        command = QStringLiteral("^B3%1,%2,%3,%4,N")
                      .arg(zplOrientation(e.quarterTurns))
                      .arg(e.symbology == PrinterSymbology::Code39Check ? QStringLiteral("Y") : QStringLiteral("N"))
                      .arg(height)
                      .arg(legend);
        break;
    case PrinterSymbology::Code128Auto:
        command = QStringLiteral("^BC%1,%2,%3,N,N,A").arg(zplOrientation(e.quarterTurns)).arg(height).arg(legend);
        break;
    default:
        // A fixed subset is asked for by its start invocation.
        command = QStringLiteral("^BC%1,%2,%3,N,N,N").arg(zplOrientation(e.quarterTurns)).arg(height).arg(legend);
        sent = e.symbology == PrinterSymbology::Code128A   ? QStringLiteral(">9") + sent
               : e.symbology == PrinterSymbology::Code128B ? QStringLiteral(">:") + sent
                                                           : QStringLiteral(">;") + ApenasDigitos(data);
        break;
    }
    add(zplOrigin(at) + QStringLiteral("^BY%3,3%4%5^FS").arg(module).arg(command, zplFieldData(sent)));
}

} // namespace

QByteArray writeCommandFile(const RollSetup &roll, const QList<LabelContent> &row)
{
    return Writer(roll).file(row);
}

QByteArray storePictures(const RollSetup &roll, const QList<StoredPicture> &pictures)
{
    QByteArray commands;
    for (const StoredPicture &stored : pictures) {
        const QImage &picture = stored.picture;
        const auto dark = [&](int x, int y) { return monoDark(picture, x, y); };
        if (roll.language == PrinterLanguage::Zpl) {
            // "~DGd:o.x,t,w,data": t the graphic's bytes, w the bytes a row.
            const QByteArray bits = packedBits(picture.width(), picture.height(), true, dark);
            commands += QStringLiteral("~DGR:%1.GRF,%2,%3,").arg(stored.name).arg(bits.size()).arg((picture.width() + 7) / 8).toLatin1()
                        + bits.toHex().toUpper() + "\r\n";
        } else {
            // "GMNAME"p1 then p1 bytes of a PCX file; "GK"NAME"" deletes one
            // stored before under the name.
            const QByteArray pcx = pcxPicture(picture.width(), picture.height(), dark);
            commands += QStringLiteral("GK\"%1\"\r\nGM\"%1\"%2\r\n").arg(stored.name).arg(pcx.size()).toLatin1() + pcx + "\r\n";
        }
    }
    return commands;
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
    // A turned barcode runs along its box's height.
    const int length = e.quarterTurns % 2 ? e.box.height() : e.box.width();
    const int widest = length / std::max(1, minimumBarcodeWidth(e.symbology, e.value));
    // Neither ^BY nor EPL2's narrow bar goes past 10 dots.
    return std::min({widest, ZplModuleWidth.high, Epl2NarrowBar.high});
}

bool textIsCut(const RollSetup &roll, const ThermalElement &e)
{
    ThermalElement laid = e;
    laid.box = QRect(QPoint(0, 0), e.quarterTurns % 2 ? e.box.size().transposed() : e.box.size());
    return textLines(laid, textShape(roll, e.fontHeight).font).join(QLatin1Char(' ')) != e.value.simplified();
}

std::optional<PlacedMatrix> placedMatrix(const ThermalElement &e, PrinterLanguage language)
{
    std::optional<MatrixCode> code = encodeMatrixCode(e.matrix, e.value, e.qrLevel);
    if (!code)
        return std::nullopt;
    PlacedMatrix placed;
    placed.code = *code;
    placed.module = matrixModule(*code, e.matrix, e.box.width(), e.box.height(), e.module);
    // A ZPL QR of more than 10 dots a module is not printed at that size but
    // at the printer's default: it is written at 10, centred where it was.
    if (language == PrinterLanguage::Zpl && e.matrix == MatrixSymbology::QrCode)
        placed.module = std::min(placed.module, ZplQrMagnification.high);
    const QSize size(code->columns * placed.module, code->rows * placed.module);
    placed.symbol = QRect(e.box.topLeft() + QPoint((e.box.width() - size.width()) / 2, (e.box.height() - size.height()) / 2), size);
    return placed;
}
