#include "Interleaved2of5.h"

#include "BarcodeText.h"
#include "Interleaved2of5Tables.h"

namespace {

bool i25IsWide(QChar digit, int element)
{
    return Larguras2e5I[(digit.unicode() - u'0') * Larguras2e5IPerDigit + element] == '1';
}

void i25AppendElement(QString &modulos, bool wide, char16_t module)
{
    for (int n = wide ? Largo2e5I : 1; n > 0; --n)
        modulos.append(QChar(module));
}

} // namespace

QString Modulos2e5I(const QString &texto)
{
    QString digitos = ApenasDigitos(texto);
    if (digitos.size() % 2 != 0)
        digitos.prepend(u'0');
    QString modulos;
    modulos.reserve(4 + 9 * digitos.size() + 5);
    modulos.append(QLatin1StringView(Inicio2e5I));
    // The first digit of a pair is carried by the bars, the second by the
    // spaces between them.
    for (qsizetype i = 0; i < digitos.size(); i += 2) {
        for (int element = 0; element < Larguras2e5IPerDigit; ++element) {
            i25AppendElement(modulos, i25IsWide(digitos[i], element), ModuloBarra);
            i25AppendElement(modulos, i25IsWide(digitos[i + 1], element), ModuloEspaco);
        }
    }
    modulos.append(QLatin1StringView(Fim2e5I));
    return modulos;
}
