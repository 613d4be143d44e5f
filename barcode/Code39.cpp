#include "Code39.h"

#include "BarcodeText.h"
#include "Code39Tables.h"

namespace {

// Table row of each 7-bit character, first match wins; -1 where Code 39 has
// no such character (lower case among them: the table is case-sensitive).
constexpr std::array<int, 128> c39BuildRowIndex()
{
    std::array<int, 128> index{};
    index.fill(-1);
    for (int row = int(TabelaCode39.size()) - 1; row >= 0; --row)
        index[static_cast<unsigned char>(TabelaCode39[row].character) & 0x7F] = row;
    return index;
}

constexpr std::array<int, 128> c39RowOf = c39BuildRowIndex();

QLatin1StringView c39Pattern(int row)
{
    return QLatin1StringView(TabelaCode39[row].pattern, Code39PatternLength);
}

} // namespace

QString ModulosCode39(const QString &texto)
{
    const QStringView usable = BarcodeTextView(texto);
    const QLatin1StringView delimiter = c39Pattern(c39RowOf[Code39Delimiter]);
    QString modulos;
    modulos.reserve(Code39PatternLength * (usable.size() + 2));
    modulos.append(delimiter);
    for (const QChar c : usable) {
        const char16_t code = c.unicode();
        if (code < c39RowOf.size() && c39RowOf[code] >= 0)
            modulos.append(c39Pattern(c39RowOf[code]));
    }
    modulos.append(delimiter);
    return modulos;
}
