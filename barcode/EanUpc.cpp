#include "EanUpc.h"

#include "BarcodeText.h"
#include "EanUpcTables.h"

namespace {

int eanDigit(QChar c)
{
    return c.unicode() - u'0';
}

// Left guard, the left half in the given number sets (one letter per digit),
// centre guard, the right half in set R, right guard. The three members of the
// family differ only in how many digits a half holds and in those sets.
QString eanModules(QStringView code, const char *leftSets)
{
    const qsizetype half = code.size() / 2;
    QString modulos;
    modulos.reserve(2 * 3 + 5 + EanDigitModules * code.size());
    modulos.append(QLatin1StringView(GuardaLateralEAN));
    for (qsizetype i = 0; i < half; ++i) {
        const EanRow &row = TabelaEAN[eanDigit(code[i])];
        modulos.append(QLatin1StringView(leftSets[i] == 'G' ? row.g : row.l));
    }
    modulos.append(QLatin1StringView(GuardaCentralEAN));
    for (qsizetype i = half; i < code.size(); ++i)
        modulos.append(QLatin1StringView(TabelaEAN[eanDigit(code[i])].r));
    modulos.append(QLatin1StringView(GuardaLateralEAN));
    return modulos;
}

} // namespace

QString NormalizaEAN(const QString &texto, int n)
{
    const QString digitos = ApenasDigitos(texto);
    if (digitos.size() >= n)
        return digitos.left(n);
    return PreencheEsquerda(digitos, u'0', n);
}

QChar DigitoVerificador(const QString &digitos)
{
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digitos.size() - 1; i >= 0; --i) {
        if (digitos[i] < u'0' || digitos[i] > u'9')
            continue;
        sum += weight * eanDigit(digitos[i]);
        weight = 4 - weight;
    }
    return QChar(u'0' + (10 - sum % 10) % 10);
}

// The builders normalise their argument once more (digits only, exact length)
// so that a caller passing a short or dirty code still gets a well-formed
// symbol of the right size instead of reading past the tables.
QString ModulosEAN13(const QString &digitos)
{
    const QString code = NormalizaEAN(digitos, 13);
    return eanModules(QStringView(code).mid(1), ParidadeEAN13[eanDigit(code[0])]);
}

QString ModulosEAN8(const QString &digitos)
{
    return eanModules(NormalizaEAN(digitos, 8), "LLLL");
}

QString ModulosUPCA(const QString &digitos)
{
    return eanModules(NormalizaEAN(digitos, 12), "LLLLLL");
}
