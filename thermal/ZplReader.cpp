#include "ZplReader.h"

#include "Cp1252.h"
#include "PrinterBarcode.h"
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
    PrinterSymbology symbology = PrinterSymbology::Code128Invoked;
    int quarterTurns = 0;
    int height = 0;
    HumanReadable legend = HumanReadable::Below;
};

int quarterTurnsOf(const QString &orientation)
{
    static const QString turns = QStringLiteral("NRIB");
    const qsizetype at = orientation.isEmpty() ? 0 : turns.indexOf(orientation.at(0).toUpper());
    return at < 0 ? 0 : int(at);
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
    explicit ZplReader(int dpi)
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
    void fieldSeparator();
    void add(PrintedElement element, int quarterTurns);
    void fault(const QString &message) { m_file.faults.append({m_line, message}); }
    QString decoded(const QByteArray &bytes) const { return m_utf8 ? QString::fromUtf8(bytes) : fromCp1252(bytes); }

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
    std::optional<PendingBarcode> m_barcode;
    std::optional<QString> m_data;
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
            m_data = decoded(args);
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
        QStringLiteral("^LL"), QStringLiteral("^CI"), QStringLiteral("^FX"),
    };
    if (!known.contains(name)) {
        fault(QStringLiteral("comando desconhecido '%1'").arg(name.trimmed()));
        return;
    }
    const QStringList p = args.split(QLatin1Char(','));
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
        m_origin = m_home + QPoint(numberAt(p, 0, 0), numberAt(p, 1, 0));
    } else if (name == QLatin1String("^A0") || name == QLatin1String("^A@")) {
        fieldFont(p);
    } else if (name == QLatin1String("^CF")) {
        const int height = numberAt(p, 1, m_defaultFont.height);
        m_defaultFont = ZplFont{height, numberAt(p, 2, height), p.value(0).trimmed() == QLatin1String("0")};
    } else if (name == QLatin1String("^FS")) {
        fieldSeparator();
    } else if (name == QLatin1String("^BY")) {
        m_module = std::max(1, numberAt(p, 0, m_module));
        bool ok = false;
        const double ratio = p.value(1).trimmed().toDouble(&ok);
        if (ok)
            m_ratio = std::clamp(ratio, 2.0, 3.0);
        m_barHeight = numberAt(p, 2, m_barHeight);
    } else if (name == QLatin1String("^BC") || name == QLatin1String("^BE") || name == QLatin1String("^B3")) {
        barcodeCommand(name, p);
    } else if (name == QLatin1String("^GB")) {
        box(p);
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
    m_fieldTurns = quarterTurnsOf(p.value(0));
    const int height = numberAt(p, 1, m_defaultFont.height);
    m_fieldFont = ZplFont{height, numberAt(p, 2, height), true};
}

void ZplReader::barcodeCommand(const QString &name, const QStringList &p)
{
    PendingBarcode code;
    code.quarterTurns = quarterTurnsOf(p.value(0));
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

void ZplReader::fieldSeparator()
{
    if (m_barcode && m_data) {
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
    m_fieldTurns = 0;
}

void ZplReader::add(PrintedElement element, int quarterTurns)
{
    element.line = m_line;
    placeElement(element, m_origin, quarterTurns);
    m_image.elements.append(element);
}

} // namespace

RenderedFile readZpl(const QByteArray &bytes, int dpi)
{
    return ZplReader(dpi).read(bytes);
}
