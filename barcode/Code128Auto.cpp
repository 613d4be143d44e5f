#include "Code128Auto.h"

#include "BarcodeText.h"
#include "Code128.h"
#include "Code128Tables.h"

#include <QVarLengthArray>

namespace {

// Code-change symbol values, ISO/IEC 15417 table 1: the same value means a
// different target depending on the subset it is read in.
constexpr int CodeC = 99;
constexpr int CodeB = 100;
constexpr int CodeA = 101;

enum class Subset { A, B, C };

int autoDigitRun(QStringView text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128)
        ++end;
    return int(end - from);
}

int autoValueIn(Subset subset, char16_t c)
{
    if (subset == Subset::A)
        return c < 32 ? c + 64 : c - 32;
    return c - 32;
}

Subset autoSubsetFor(char16_t c)
{
    return c < 32 ? Subset::A : Subset::B;
}

// The start the ISO/IEC 15417 annex recommends for the shortest symbol.
Subset autoStart(QStringView text)
{
    const int run = autoDigitRun(text, 0);
    if (run >= 4 || (run == 2 && text.size() == 2))
        return Subset::C;
    for (const QChar c : text) {
        if (c.unicode() < 32)
            return Subset::A;
        if (c.unicode() >= 96 && c.unicode() < 128)
            return Subset::B;
    }
    return Subset::B;
}

} // namespace

QString ModulosCode128Auto(const QString &texto)
{
    QString kept;
    for (const QChar c : BarcodeTextView(texto)) {
        if (c.unicode() < 128 && c.unicode() != 127)
            kept.append(c);
    }
    const QStringView text(kept);

    QVarLengthArray<int, 64> symbols;
    Subset subset = autoStart(text);
    const int start = subset == Subset::A ? Code128StartA : subset == Subset::B ? Code128StartB : Code128StartC;
    qsizetype i = 0;
    while (i < text.size()) {
        const int run = autoDigitRun(text, i);
        if (subset == Subset::C) {
            if (run >= 2) {
                symbols.append((text[i].unicode() - u'0') * 10 + (text[i + 1].unicode() - u'0'));
                i += 2;
                continue;
            }
            subset = autoSubsetFor(text[i].unicode());
            symbols.append(subset == Subset::A ? CodeA : CodeB);
        }
        if (run >= 4) {
            // An odd run leaves its first digit in the current subset so the
            // rest pairs up exactly.
            if (run % 2 == 1)
                symbols.append(autoValueIn(subset, text[i++].unicode()));
            symbols.append(CodeC);
            subset = Subset::C;
            continue;
        }
        const char16_t c = text[i].unicode();
        if (subset == Subset::B && c < 32) {
            symbols.append(CodeA);
            subset = Subset::A;
        } else if (subset == Subset::A && c >= 96) {
            symbols.append(CodeB);
            subset = Subset::B;
        }
        symbols.append(autoValueIn(subset, c));
        ++i;
    }

    return Code128FromSymbols(start, std::span<const int>(symbols.constData(), size_t(symbols.size())));
}
