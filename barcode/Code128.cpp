#include "Code128.h"

#include "BarcodeText.h"
#include "Code128Tables.h"

#include <QVarLengthArray>

namespace {

using Symbols = QVarLengthArray<int, 64>;

// Symbol value of each 7-bit character, read from the table's value names so
// the table stays the one source of truth. Rows are scanned upward, so the
// first row whose name is the character wins; characters no single-character
// name matches (control characters, DEL) map to -1 and are dropped.
constexpr std::array<int, 128> c128BuildValueIndex()
{
    std::array<int, 128> index{};
    index.fill(-1);
    for (int value = int(TabelaCode128.size()) - 1; value >= 0; --value) {
        const char *name = TabelaCode128[value].name;
        if (name[0] != '\0' && name[1] == '\0')
            index[static_cast<unsigned char>(name[0]) & 0x7F] = value;
    }
    return index;
}

constexpr std::array<int, 128> c128ValueOf = c128BuildValueIndex();

int c128StartValue(Code128Set set)
{
    return Code128StartA + int(set);
}

Symbols c128DataSymbols(const QString &texto, Code128Set set)
{
    Symbols symbols;
    if (set == Code128Set::C) {
        // Pairs of digits from the left; an odd last digit stands alone as the
        // symbol of its own value.
        const QString digitos = ApenasDigitos(texto);
        for (qsizetype i = 0; i < digitos.size(); i += 2) {
            int value = digitos[i].unicode() - u'0';
            if (i + 1 < digitos.size())
                value = value * 10 + (digitos[i + 1].unicode() - u'0');
            symbols.append(value);
        }
        return symbols;
    }
    for (const QChar c : BarcodeTextView(texto)) {
        const char16_t code = c.unicode();
        if (code < c128ValueOf.size() && c128ValueOf[code] >= 0)
            symbols.append(c128ValueOf[code]);
    }
    return symbols;
}

int c128CheckValue(const Symbols &symbols, Code128Set set)
{
    int sum = c128StartValue(set);
    for (qsizetype k = 0; k < symbols.size(); ++k)
        sum += int(k + 1) * symbols[k];
    return sum % 103;
}

} // namespace

int DigitoCode128(const QString &texto, Code128Set set)
{
    return c128CheckValue(c128DataSymbols(texto, set), set);
}

QString Code128FromSymbols(int startValue, std::span<const int> symbols)
{
    int sum = startValue;
    for (size_t k = 0; k < symbols.size(); ++k)
        sum += int(k + 1) * symbols[k];
    QString modulos;
    modulos.reserve(11 * qsizetype(symbols.size() + 2) + 13);
    modulos.append(QLatin1StringView(TabelaCode128[startValue].pattern));
    for (const int value : symbols)
        modulos.append(QLatin1StringView(TabelaCode128[value].pattern));
    modulos.append(QLatin1StringView(TabelaCode128[sum % 103].pattern));
    modulos.append(QLatin1StringView(FimCode128));
    return modulos;
}

QString ModulosCode128(const QString &texto, Code128Set set)
{
    const Symbols symbols = c128DataSymbols(texto, set);
    return Code128FromSymbols(c128StartValue(set), std::span<const int>(symbols.constData(), size_t(symbols.size())));
}
