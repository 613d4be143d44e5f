#include "ZplReader.h"

#include "Cp1252.h"
#include "PrintedGraphic.h"
#include "PrinterBarcode.h"
#include "PrinterRanges.h"
#include "ZplText.h"

#include <QRegularExpression>
#include "PrinterFonts.h"

namespace {

struct ZplFont
{
    int height = 9;   // font A, the printer's default: 9 dots tall, 5 wide
    int width = 5;
    bool scalable = false;
};

struct PendingBarcode
{
    std::optional<MatrixSymbology> matrix;   // ^BQ, ^BX: a 2D code of `module` dots
    int module = 0;
    PrinterSymbology symbology = PrinterSymbology::Code128Invoked;
    int quarterTurns = 0;
    int height = 0;
    HumanReadable legend = HumanReadable::Below;
};

// A field left without its orientation takes the one ^FW set.
int quarterTurnsOf(const QString &orientation, int fallback = 0)
{
    static const QString turns = QStringLiteral("NRIB");
    const QString given = orientation.trimmed();
    const qsizetype at = given.isEmpty() ? -1 : turns.indexOf(given.at(0).toUpper());
    return at < 0 ? fallback : int(at);
}

bool yes(const QStringList &p, int index, bool fallback)
{
    if (index >= p.size() || p[index].trimmed().isEmpty())
        return fallback;
    return p[index].trimmed().toUpper() == QLatin1String("Y");
}

int numberAt(const QStringList &p, int index, int fallback)
{
    if (index >= p.size())
        return fallback;
    bool ok = false;
    const int value = p[index].trimmed().toInt(&ok);
    return ok ? value : fallback;
}

class ZplReader
{
public:
    ZplReader(int dpi, PrinterMemory *memory) : m_memory(memory ? memory : &m_ownMemory)
    {
        m_file.language = PrinterLanguage::Zpl;
        m_file.dpi = dpi;
    }

    RenderedFile read(const QByteArray &bytes);

private:
    void command(const QString &name, const QString &args);
    void fieldFont(const QStringList &p);
    void barcodeCommand(const QString &name, const QStringList &p);
    void box(const QStringList &p);
    void matrixCommand(const QString &name, const QStringList &p);
    void storedGraphic(const QStringList &p);
    void downloadGraphic(const QStringList &p);
    void recallGraphic(const QStringList &p);
    void matrixField();
    void fieldSeparator();
    void add(PrintedElement element, int quarterTurns);
    int ranged(const QString &what, int value, ParameterRange range, int fallback);
    void fault(const QString &message) { m_file.faults.append({m_line, message}); }
    QString decoded(const QByteArray &bytes) const { return m_utf8 ? QString::fromUtf8(bytes) : fromCp1252(bytes); }

    PrinterMemory m_ownMemory;
    PrinterMemory *m_memory;
    RenderedFile m_file;
    PrintImage m_image;
    bool m_inFormat = false;
    bool m_utf8 = false;
    int m_line = 1;
    QPoint m_home;
    QPoint m_origin;
    ZplFont m_defaultFont;
    std::optional<ZplFont> m_fieldFont;
    int m_fieldTurns = 0;
    int m_defaultTurns = 0;    // ^FW
    std::optional<PendingBarcode> m_barcode;
    std::optional<QString> m_data;
    std::optional<char> m_hexIndicator;   // ^FH: this field's data holds escapes
    int m_module = 2;
    double m_ratio = 3.0;
    int m_barHeight = 10;
};

RenderedFile ZplReader::read(const QByteArray &bytes)
{
    qsizetype i = bytes.indexOf('^');
    const qsizetype tilde = bytes.indexOf('~');
    if (tilde >= 0 && (i < 0 || tilde < i))
        i = tilde;
    m_line = 1 + int(bytes.left(std::max<qsizetype>(i, 0)).count('\n'));
    while (i >= 0 && i < bytes.size()) {
        qsizetype next = i + 1;
        while (next < bytes.size() && bytes[next] != '^' && bytes[next] != '~')
            ++next;
        const QByteArray chunk = bytes.mid(i, next - i);
        // Every name is three characters; ^A takes its font as the third: ^A0, ^A@.
        const QString name = QString::fromLatin1(chunk.left(3)).toUpper();
        QByteArray args = chunk.mid(3);
        if (name == QLatin1String("^FD")) {
            // Line breaks inside field data only lay the file out.
            args.replace('\r', QByteArray()).replace('\n', QByteArray());
            m_data = decoded(m_hexIndicator ? zplUnescaped(args, *m_hexIndicator) : args);
        } else {
            command(name, QString::fromLatin1(args.trimmed()));
        }
        m_line += int(chunk.count('\n'));
        i = next;
    }
    if (m_inFormat)
        fault(QStringLiteral("o arquivo termina sem '^XZ': este formato não seria impresso"));
    return m_file;
}

void ZplReader::command(const QString &name, const QString &args)
{
    static const QStringList known = {
        QStringLiteral("^XA"), QStringLiteral("^XZ"), QStringLiteral("^FO"), QStringLiteral("^A0"), QStringLiteral("^A@"),
        QStringLiteral("^CF"), QStringLiteral("^FS"), QStringLiteral("^BY"), QStringLiteral("^BC"), QStringLiteral("^BE"),
        QStringLiteral("^B3"), QStringLiteral("^GB"), QStringLiteral("^PQ"), QStringLiteral("^LH"), QStringLiteral("^PW"),
        QStringLiteral("^LL"), QStringLiteral("^CI"), QStringLiteral("^FX"), QStringLiteral("^FW"), QStringLiteral("^BQ"),
        QStringLiteral("^BX"), QStringLiteral("^GF"), QStringLiteral("^FH"), QStringLiteral("~DG"), QStringLiteral("^XG"),
    };
    if (!known.contains(name)) {
        fault(QStringLiteral("comando desconhecido '%1'").arg(name.trimmed()));
        return;
    }
    const QStringList p = args.split(QLatin1Char(','));
    // A control command, taken at once wherever it stands.
    if (name == QLatin1String("~DG")) {
        downloadGraphic(p);
        return;
    }
    if (name == QLatin1String("^XA")) {
        m_image = PrintImage();
        m_inFormat = true;
        return;
    }
    if (!m_inFormat) {
        fault(QStringLiteral("'%1' fora de um formato (^XA ... ^XZ)").arg(name));
        return;
    }
    if (name == QLatin1String("^XZ")) {
        m_image.printed = true;
        m_file.images.append(m_image);
        m_inFormat = false;
    } else if (name == QLatin1String("^FO")) {
        m_origin = m_home + QPoint(ranged(QStringLiteral("x de '^FO'"), numberAt(p, 0, 0), ZplFieldOrigin, 0),
                                   ranged(QStringLiteral("y de '^FO'"), numberAt(p, 1, 0), ZplFieldOrigin, 0));
    } else if (name == QLatin1String("^A0") || name == QLatin1String("^A@")) {
        fieldFont(p);
    } else if (name == QLatin1String("^CF")) {
        const int height = numberAt(p, 1, m_defaultFont.height);
        m_defaultFont = ZplFont{height, numberAt(p, 2, height), p.value(0).trimmed() == QLatin1String("0")};
    } else if (name == QLatin1String("^FS")) {
        fieldSeparator();
    } else if (name == QLatin1String("^BY")) {
        m_module = ranged(QStringLiteral("módulo de '^BY'"), numberAt(p, 0, m_module), ZplModuleWidth, ZplModuleWidthInitial);
        bool ok = false;
        const double ratio = p.value(1).trimmed().toDouble(&ok);
        if (ok)
            m_ratio = std::clamp(ratio, 2.0, 3.0);
        m_barHeight = numberAt(p, 2, m_barHeight);
    } else if (name == QLatin1String("^BC") || name == QLatin1String("^BE") || name == QLatin1String("^B3")) {
        barcodeCommand(name, p);
    } else if (name == QLatin1String("^GB")) {
        box(p);
    } else if (name == QLatin1String("^BQ") || name == QLatin1String("^BX")) {
        matrixCommand(name, p);
    } else if (name == QLatin1String("^GF")) {
        storedGraphic(p);
    } else if (name == QLatin1String("^XG")) {
        recallGraphic(p);
    } else if (name == QLatin1String("^FH")) {
        // "Default Value: _ (underscore)"
        m_hexIndicator = args.isEmpty() ? '_' : args.at(0).toLatin1();
    } else if (name == QLatin1String("^FW")) {
        m_defaultTurns = quarterTurnsOf(p.value(0));
        m_fieldTurns = m_defaultTurns;
    } else if (name == QLatin1String("^PQ")) {
        m_image.copies = std::max(1, numberAt(p, 0, 1));
    } else if (name == QLatin1String("^LH")) {
        m_home = QPoint(numberAt(p, 0, 0), numberAt(p, 1, 0));
    } else if (name == QLatin1String("^PW")) {
        m_image.declared.setWidth(numberAt(p, 0, 0));
    } else if (name == QLatin1String("^LL")) {
        m_image.declared.setHeight(numberAt(p, 0, 0));
    } else if (name == QLatin1String("^CI")) {
        const int set = numberAt(p, 0, 0);
        m_utf8 = set == 28;
        if (set != 0 && set != 27 && set != 28)
            fault(QStringLiteral("'^CI%1' não é lido por este programa (use ^CI28, UTF-8)").arg(set));
    }
    // ^FX is a comment.
}

void ZplReader::fieldFont(const QStringList &p)
{
    m_fieldTurns = quarterTurnsOf(p.value(0), m_defaultTurns);
    const int height = ranged(QStringLiteral("altura de '^A'"), numberAt(p, 1, m_defaultFont.height), ZplFontHeight, m_defaultFont.height);
    m_fieldFont = ZplFont{height, numberAt(p, 2, height), true};
}

void ZplReader::barcodeCommand(const QString &name, const QStringList &p)
{
    PendingBarcode code;
    code.quarterTurns = quarterTurnsOf(p.value(0), m_defaultTurns);
    if (name == QLatin1String("^BC")) {
        code.height = numberAt(p, 1, m_barHeight);
        code.legend = !yes(p, 2, true) ? HumanReadable::None : yes(p, 3, false) ? HumanReadable::Above : HumanReadable::Below;
        code.symbology = p.value(5).trimmed().toUpper() == QLatin1String("A") ? PrinterSymbology::Code128Auto
                                                                             : PrinterSymbology::Code128Invoked;
    } else if (name == QLatin1String("^BE")) {
        code.symbology = PrinterSymbology::Ean13;
        code.height = numberAt(p, 1, m_barHeight);
        code.legend = !yes(p, 2, true) ? HumanReadable::None : yes(p, 3, false) ? HumanReadable::Above : HumanReadable::Below;
    } else {
        code.symbology = yes(p, 1, false) ? PrinterSymbology::Code39Check : PrinterSymbology::Code39;
        code.height = numberAt(p, 2, m_barHeight);
        code.legend = !yes(p, 3, true) ? HumanReadable::None : yes(p, 4, false) ? HumanReadable::Above : HumanReadable::Below;
    }
    m_barcode = code;
}

void ZplReader::box(const QStringList &p)
{
    const int thickness = std::max(1, numberAt(p, 2, 1));
    const int width = std::max(thickness, numberAt(p, 0, 1));
    const int height = std::max(thickness, numberAt(p, 1, 1));
    if (p.value(3).trimmed().toUpper() == QLatin1String("W")) {
        fault(QStringLiteral("'^GB' branco não é desenhado por este programa"));
        return;
    }
    PrintedElement element;
    element.kind = PrintedElement::Kind::Box;
    element.ink = {QRect(0, 0, width, thickness), QRect(0, height - thickness, width, thickness),
                   QRect(0, 0, thickness, height), QRect(width - thickness, 0, thickness, height)};
    add(element, 0);
}

// ^BQa,2,magnification and ^BXa,module,200: the printer encodes the data itself.
void ZplReader::matrixCommand(const QString &name, const QStringList &p)
{
    PendingBarcode code;
    if (name == QLatin1String("^BQ")) {
        code.matrix = MatrixSymbology::QrCode;
        const int standard = zplQrDefaultMagnification(m_file.dpi);
        code.module = ranged(QStringLiteral("ampliação de '^BQ'"), numberAt(p, 2, standard), ZplQrMagnification, standard);
        if (p.value(1).trimmed() == QLatin1String("1"))
            fault(QStringLiteral("QR modelo 1 não é desenhado por este programa (use ^BQN,2,...)"));
    } else {
        code.matrix = MatrixSymbology::DataMatrix;
        code.module = numberAt(p, 1, m_barHeight);
        code.quarterTurns = quarterTurnsOf(p.value(0), m_defaultTurns);
        if (numberAt(p, 2, 0) != 200)
            fault(QStringLiteral("'^BX' só é desenhado na qualidade 200 (ECC 200)"));
    }
    if (code.module < 1) {
        fault(QStringLiteral("'%1' com módulo de %2 pontos").arg(name).arg(code.module));
        return;
    }
    m_barcode = code;
}

// ^GFA,bytes,bytes,bytes a row,hex: the ASCII-hex form, uncompressed.
void ZplReader::storedGraphic(const QStringList &p)
{
    const int total = numberAt(p, 1, -1);
    const int perRow = numberAt(p, 3, -1);
    const QByteArray hex = p.mid(4).join(QLatin1Char(',')).toLatin1().trimmed();
    static const QRegularExpression plainHex(QStringLiteral("^[0-9A-Fa-f]*$"));
    if (p.value(0).trimmed().toUpper() != QLatin1String("A") || total < 1 || perRow < 1 || total % perRow != 0) {
        fault(QStringLiteral("'^GF' só é desenhado na forma ^GFA,total,total,bytes por linha,dados"));
        return;
    }
    if (!plainHex.match(QString::fromLatin1(hex)).hasMatch() || hex.size() != 2 * total) {
        fault(QStringLiteral("'^GF' com dados que não são %1 bytes em hexadecimal (dados comprimidos não são desenhados)").arg(total));
        return;
    }
    add(graphicElement(QByteArray::fromHex(hex), perRow, total / perRow, true), 0);
}

// Graphic names as the printer keeps them: the device (R: when none is
// given, "Default Value: R:") and the name in capitals.
QString graphicName(const QString &given)
{
    const QString name = given.trimmed().toUpper();
    return name.contains(QLatin1Char(':')) ? name : QStringLiteral("R:") + name;
}

// ZPL II Programming Guide, "~DG Download Graphics": "~DGd:o.x,t,w,data",
// t = "total number of bytes in graphic", w = "number of bytes per row",
// data = "ASCII hexadecimal string defining image".
void ZplReader::downloadGraphic(const QStringList &p)
{
    const int total = numberAt(p, 1, -1);
    const int perRow = numberAt(p, 2, -1);
    QByteArray hex = p.mid(3).join(QLatin1Char(',')).toLatin1();
    hex.replace('\r', QByteArray()).replace('\n', QByteArray());
    static const QRegularExpression plainHex(QStringLiteral("^[0-9A-Fa-f]*$"));
    if (p.value(0).trimmed().isEmpty() || total < 1 || perRow < 1 || total % perRow != 0 || hex.size() != 2 * total
        || !plainHex.match(QString::fromLatin1(hex)).hasMatch()) {
        fault(QStringLiteral("'~DG' só é lido na forma ~DGR:NOME.GRF,total,bytes por linha,dados em hexadecimal"));
        return;
    }
    m_memory->graphics.insert(graphicName(p[0]), StoredGraphic{QByteArray::fromHex(hex), perRow, total / perRow, true});
}

// "^XG Recall Graphic": "^XGd:o.x,mx,my", at the field origin.
void ZplReader::recallGraphic(const QStringList &p)
{
    const QString name = graphicName(p.value(0));
    const auto stored = m_memory->graphics.constFind(name);
    if (stored == m_memory->graphics.cend()) {
        fault(QStringLiteral("'^XG' chama o gráfico '%1', que não foi guardado (~DG) antes").arg(name));
        return;
    }
    if (numberAt(p, 1, 1) != 1 || numberAt(p, 2, 1) != 1)
        fault(QStringLiteral("'^XG' ampliado não é desenhado por este programa (use ,1,1)"));
    add(graphicElement(stored->bits, stored->bytesPerRow, stored->rows, stored->darkBit), 0);
}

// ^BQ data opens with its error-correction level and input mode: "MA,texto".
void ZplReader::matrixField()
{
    QString data = *m_data;
    QrLevel level = QrLevel::M;
    if (*m_barcode->matrix == MatrixSymbology::QrCode) {
        const qsizetype levelAt = QStringLiteral("LMQH").indexOf(data.left(1).toUpper());
        if (data.size() < 3 || levelAt < 0 || data[2] != QLatin1Char(',')) {
            fault(QStringLiteral("dados de '^BQ' sem o nível de correção e o modo (\"MA,texto\")"));
            return;
        }
        level = QrLevel(levelAt);
        data = data.mid(3);
    }
    const std::optional<MatrixCode> code = encodeMatrixCode(*m_barcode->matrix, data, level);
    if (!code) {
        fault(QStringLiteral("o código 2D não comporta os dados (%1 caracteres)").arg(data.size()));
        return;
    }
    PrintedElement element = matrixElement(*code, m_barcode->module);
    element.data = data;
    add(element, m_barcode->quarterTurns);
}

void ZplReader::fieldSeparator()
{
    if (m_barcode && m_barcode->matrix && m_data) {
        matrixField();
    } else if (m_barcode && m_data) {
        BarcodeRequest request;
        request.symbology = m_barcode->symbology;
        request.data = *m_data;
        request.narrow = m_module;
        request.wide = int(m_module * m_ratio + 0.5);
        request.height = m_barcode->height;
        request.legend = m_barcode->legend;
        // The interpretation line grows with the module, as the printer's does.
        request.legendFont = cellFont(6 * m_module, 9 * m_module);
        add(printerBarcode(request), m_barcode->quarterTurns);
    } else if (m_data) {
        const ZplFont font = m_fieldFont.value_or(m_defaultFont);
        PrintedElement element;
        element.kind = PrintedElement::Kind::Text;
        PrintedText run;
        run.text = *m_data;
        run.font = font.scalable ? zplScalableFont(font.height, font.width) : cellFont(font.width + 1, font.height);
        run.width = printedWidth(run.font, run.text);
        element.texts.append(run);
        add(element, m_fieldTurns);
    }
    m_barcode.reset();
    m_data.reset();
    m_fieldFont.reset();
    m_hexIndicator.reset();
    m_fieldTurns = m_defaultTurns;
}

// A value out of its range is not taken: the printer uses the parameter's
// default, and so does the preview.
int ZplReader::ranged(const QString &what, int value, ParameterRange range, int fallback)
{
    if (range.holds(value))
        return value;
    fault(QStringLiteral("%1 é %2, fora de %3 a %4: a impressora usa %5").arg(what).arg(value).arg(range.low).arg(range.high).arg(fallback));
    return fallback;
}

void ZplReader::add(PrintedElement element, int quarterTurns)
{
    element.line = m_line;
    placeElement(element, m_origin, quarterTurns);
    m_image.elements.append(element);
}

} // namespace

RenderedFile readZpl(const QByteArray &bytes, int dpi, PrinterMemory *memory)
{
    return ZplReader(dpi, memory).read(bytes);
}
