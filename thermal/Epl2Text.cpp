#include "Epl2Text.h"

#include "Cp1252.h"

#include <array>

namespace {

// The upper halves (bytes 0x80-0xFF) of the two DOS pages; the lower halves
// are ASCII. DOS 860 is DOS 437 with the Portuguese letters in place of the
// Nordic and German ones in its first three rows.
constexpr char16_t Dos437High[] = u"ÇüéâäàåçêëèïîìÄÅ"
                                  u"ÉæÆôöòûùÿÖÜ¢£¥₧ƒ"
                                  u"áíóúñÑªº¿⌐¬½¼¡«»"
                                  u"░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
                                  u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧"
                                  u"╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
                                  u"αßΓπΣσµτΦΘΩδ∞φε∩"
                                  u"≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";
constexpr char16_t Dos860High[] = u"ÇüéâãàÁçêÊèÍÔìÃÂ"
                                  u"ÉÀÈôõòÚùÌÕÜ¢£Ù₧Ó"
                                  u"áíóúñÑªº¿Ò¬½¼¡«»"
                                  u"░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"
                                  u"└┴┬├─┼╞╟╚╔╩╦╠═╬╧"
                                  u"╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
                                  u"αßΓπΣσµτΦΘΩδ∞φε∩"
                                  u"≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";
static_assert(std::size(Dos437High) == 129 && std::size(Dos860High) == 129, "128 characters and the terminator");

const char16_t *highHalf(Epl2CodePage page)
{
    return page == Epl2CodePage::Dos437 ? Dos437High : Dos860High;
}

std::optional<char> dosByte(char16_t c, const char16_t *high)
{
    if (c < 0x80)
        return char(c);
    for (int i = 0; i < 128; ++i) {
        if (high[i] == c)
            return char(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

std::optional<Epl2CodePage> epl2CodePage(const QString &parameter)
{
    const QString p = parameter.trimmed();
    if (p == QLatin1String("0"))
        return Epl2CodePage::Dos437;
    if (p == QLatin1String("3"))
        return Epl2CodePage::Dos860;
    if (p == QLatin1String("A"))
        return Epl2CodePage::Windows1252;
    return std::nullopt;
}

QString epl2CodePageParameter(Epl2CodePage page)
{
    switch (page) {
    case Epl2CodePage::Dos437:
        return QStringLiteral("0");
    case Epl2CodePage::Dos860:
        return QStringLiteral("3");
    case Epl2CodePage::Windows1252:
        break;
    }
    return QStringLiteral("A");
}

QString epl2CharacterSetCommand(Epl2CodePage page)
{
    return QStringLiteral("I8,%1,001").arg(epl2CodePageParameter(page));
}

QByteArray encodeEpl2(const QString &text, Epl2CodePage page)
{
    if (page == Epl2CodePage::Windows1252)
        return toCp1252(text);
    const char16_t *high = highHalf(page);
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        std::optional<char> byte = dosByte(c.unicode(), high);
        if (!byte) {
            // The base letter of an accented one the page lacks: "Õ" → "O".
            const QString base = QString(c).normalized(QString::NormalizationForm_D);
            byte = base.isEmpty() ? std::nullopt : dosByte(base[0].unicode(), high);
        }
        bytes.append(byte.value_or('?'));
    }
    return bytes;
}

QString decodeEpl2(const QByteArray &bytes, Epl2CodePage page)
{
    if (page == Epl2CodePage::Windows1252)
        return fromCp1252(bytes);
    const char16_t *high = highHalf(page);
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = uchar(b);
        text.append(QChar(u < 0x80 ? char16_t(u) : high[u - 0x80]));
    }
    return text;
}

QString epl2Quoted(const QString &field)
{
    QString escaped;
    escaped.reserve(field.size() + 2);
    escaped.append(QLatin1Char('"'));
    for (const QChar c : field) {
        if (c.unicode() < 32 || c.unicode() == 127)
            escaped.append(QLatin1Char(' '));
        else if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            escaped.append(QLatin1Char('\\')).append(c);
        else
            escaped.append(c);
    }
    escaped.append(QLatin1Char('"'));
    return escaped;
}
