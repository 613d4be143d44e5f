#include "PrinterBarcode.h"

#include "BarcodeText.h"
#include "Code128.h"
#include "Code128Auto.h"
#include "Code39.h"
#include "EanUpc.h"
#include "Interleaved2of5.h"
#include "QuietZones.h"

namespace {

constexpr QStringView Code39Set = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

QString withCode39Check(const QString &data)
{
    int sum = 0;
    QString kept;
    for (const QChar c : data) {
        const qsizetype value = Code39Set.indexOf(c);
        if (value < 0)
            continue;
        sum += int(value);
        kept.append(c);
    }
    return kept + Code39Set[sum % 43];
}

// ZPL's subset invocations: >9 starts A, >: starts B, >; starts C, and inside
// the data >7, >6 and >5 change to A, B and C. Without one the symbol starts in B.
QString zplCode128Modules(const QString &data, QString *readable)
{
    enum { A, B, C } subset = B;
    int start = 104;
    qsizetype i = 0;
    if (data.size() >= 2 && data[0] == QLatin1Char('>')) {
        const QChar code = data[1];
        if (code == QLatin1Char('9') || code == QLatin1Char(':') || code == QLatin1Char(';')) {
            subset = code == QLatin1Char('9') ? A : code == QLatin1Char(':') ? B : C;
            start = 103 + int(subset);
            i = 2;
        }
    }
    QList<int> symbols;
    while (i < data.size()) {
        if (data[i] == QLatin1Char('>') && i + 1 < data.size()) {
            const QChar code = data[i + 1];
            if (code == QLatin1Char('5') || code == QLatin1Char('6') || code == QLatin1Char('7')) {
                const int target = code == QLatin1Char('7') ? A : code == QLatin1Char('6') ? B : C;
                if (target != subset)
                    symbols.append(target == C ? 99 : target == B ? 100 : 101);
                subset = decltype(subset)(target);
                i += 2;
                continue;
            }
        }
        const char16_t c = data[i].unicode();
        if (subset == C) {
            if (i + 1 < data.size() && data[i].isDigit() && data[i + 1].isDigit()) {
                symbols.append((c - u'0') * 10 + (data[i + 1].unicode() - u'0'));
                readable->append(data.mid(i, 2));
            }
            i += 2;
            continue;
        }
        if (c < 128 && (subset == B ? c >= 32 : c < 96)) {
            symbols.append(subset == A && c < 32 ? c + 64 : c - 32);
            readable->append(data[i]);
        }
        ++i;
    }
    return Code128FromSymbols(start, std::span<const int>(symbols.constData(), size_t(symbols.size())));
}

struct Encoded
{
    QString modules;    // P/B or 1/0, one character per module
    QString readable;
    TBarCodeTipo tipo = btCode128B;
    bool twoWidths = false;
};

// The EAN/UPC family: n digits kept or zero-filled, the check digit computed
// anew, as the printer does with the data it is sent.
void eanFamily(Encoded *e, const QString &data, int n, QString (*modules)(const QString &), TBarCodeTipo tipo)
{
    const QString digits = NormalizaEAN(data, n);
    e->readable = digits + DigitoVerificador(digits);
    e->modules = modules(e->readable);
    e->tipo = tipo;
}

Encoded encode(PrinterSymbology symbology, const QString &data)
{
    Encoded e;
    switch (symbology) {
    case PrinterSymbology::Code128Auto:
        e.modules = ModulosCode128Auto(data);
        for (const QChar c : BarcodeTextView(data)) {
            if (c.unicode() >= 32 && c.unicode() < 127)
                e.readable.append(c);
        }
        break;
    case PrinterSymbology::Code128A:
    case PrinterSymbology::Code128B:
        e.modules = ModulosCode128(data, symbology == PrinterSymbology::Code128A ? Code128Set::A : Code128Set::B);
        e.readable = data;
        break;
    case PrinterSymbology::Code128C:
        e.readable = ApenasDigitos(data);
        e.modules = ModulosCode128(e.readable, Code128Set::C);
        break;
    case PrinterSymbology::Code128Invoked:
        e.modules = zplCode128Modules(data, &e.readable);
        break;
    case PrinterSymbology::Code39:
    case PrinterSymbology::Code39Check:
        e.readable = symbology == PrinterSymbology::Code39Check ? withCode39Check(data) : data;
        e.modules = ModulosCode39(e.readable);
        e.tipo = btCode39;
        e.twoWidths = true;
        break;
    case PrinterSymbology::Ean13:
        eanFamily(&e, data, 12, ModulosEAN13, btCodeEAN13);
        break;
    case PrinterSymbology::Ean8:
        eanFamily(&e, data, 7, ModulosEAN8, btCodeEAN8);
        break;
    case PrinterSymbology::UpcA:
        eanFamily(&e, data, 11, ModulosUPCA, btCodeUPCA);
        break;
    case PrinterSymbology::Interleaved2of5:
        e.readable = ApenasDigitos(data);
        e.modules = Modulos2e5I(e.readable);
        e.tipo = btCode2e5I;
        e.twoWidths = true;
        break;
    }
    return e;
}

// Bars as (x, width) runs in dots. Two-width symbologies are spelled with a
// narrow element as one module and a wide one as three; Code 39's framing
// spaces (two between characters) are its narrow inter-character gap.
QList<QRect> barRuns(const Encoded &e, int narrow, int wide, int height, int *totalWidth)
{
    QList<QRect> bars;
    QStringView modules(e.modules);
    if (e.twoWidths) {
        while (!modules.isEmpty() && !IsBarModule(modules.front()))
            modules = modules.mid(1);
        while (!modules.isEmpty() && !IsBarModule(modules.back()))
            modules.chop(1);
    }
    int x = 0;
    qsizetype i = 0;
    while (i < modules.size()) {
        const bool bar = IsBarModule(modules[i]);
        qsizetype run = 1;
        while (i + run < modules.size() && IsBarModule(modules[i + run]) == bar)
            ++run;
        const int width = e.twoWidths ? (run == 3 ? wide : narrow) : int(run) * narrow;
        if (bar)
            bars.append(QRect(x, 0, width, height));
        x += width;
        i += run;
    }
    *totalWidth = x;
    return bars;
}

PrintedText legendText(const QString &text, const PrinterFont &font, int x, int y)
{
    PrintedText t;
    t.text = text;
    t.font = font;
    t.width = int(text.size()) * font.cellWidth;
    t.topLeft = QPoint(x, y);
    return t;
}

// EAN-13 as the standard lays it out: the leading digit in the left quiet
// zone, six digits under each half, the guard bars reaching down between them.
void eanLegend(PrintedElement &element, const QString &digits, const PrinterFont &font, int narrow, int height)
{
    const int textTop = height + 1;
    for (QRect &bar : element.ink) {
        const int module = bar.x() / narrow;
        if (module < 3 || (module >= 45 && module < 50) || module >= 92)
            bar.setHeight(height + font.height / 2);
    }
    const auto group = [&](const QString &text, int firstModule) {
        const int span = 42 * narrow;
        const int width = int(text.size()) * font.cellWidth;
        return legendText(text, font, firstModule * narrow + (span - width) / 2, textTop);
    };
    element.texts.append(legendText(digits.left(1), font, -font.cellWidth - narrow, textTop));
    element.texts.append(group(digits.mid(1, 6), 3));
    element.texts.append(group(digits.mid(7, 6), 50));
}

} // namespace

int printerBarcodeModules(PrinterSymbology symbology, const QString &data)
{
    return int(encode(symbology, data).modules.size());
}

PrintedElement printerBarcode(const BarcodeRequest &request)
{
    const Encoded e = encode(request.symbology, request.data);
    PrintedElement element;
    element.kind = PrintedElement::Kind::Barcode;
    element.symbology = e.tipo;
    element.data = e.readable;
    int width = 0;
    element.ink = barRuns(e, request.narrow, request.wide, request.height, &width);
    element.bars = QRect(0, 0, width, request.height);
    const QuietZone quiet = quietZoneFor(e.tipo);
    element.quietLeft = quiet.left * request.narrow;
    element.quietRight = quiet.right * request.narrow;

    if (request.legend == HumanReadable::None)
        return element;
    const PrinterFont &font = request.legendFont;
    if (request.symbology == PrinterSymbology::Ean13 && request.legend == HumanReadable::Below) {
        eanLegend(element, e.readable, font, request.narrow, request.height);
        return element;
    }
    const int gap = font.height / 8 + 1;
    const int textWidth = int(e.readable.size()) * font.cellWidth;
    PrintedText text = legendText(e.readable, font, (width - textWidth) / 2, request.height + gap);
    if (request.legend == HumanReadable::Above) {
        // The bars move down under the line.
        text.topLeft.setY(0);
        const int shift = font.height + gap;
        for (QRect &bar : element.ink)
            bar.translate(0, shift);
        element.bars.translate(0, shift);
    }
    element.texts.append(text);
    return element;
}
