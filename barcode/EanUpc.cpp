#include "EanUpc.h"

#include "BarcodeText.h"
#include "EanUpcTables.h"

#include <algorithm>

// Every label of a sheet and every repaint of the control encodes its symbol
// again, so the family builds each string in one allocation and writes it in
// place instead of appending piece by piece.

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int eanDigit(char16_t c)
{
    return c - u'0';
}

char16_t *putPattern(char16_t *out, const char *pattern)
{
    while (*pattern)
        *out++ = char16_t(*pattern++);
    return out;
}

// Left guard, the left half in the given number sets (one letter per digit),
// centre guard, the right half in set R, right guard. The three members of the
// family differ only in how many digits a half holds and in those sets.
QString eanModules(QStringView code, const char *leftSets)
{
    const qsizetype half = code.size() / 2;
    QString modulos(2 * 3 + 5 + EanDigitModules * code.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(modulos.data());
    out = putPattern(out, GuardaLateralEAN);
    for (qsizetype i = 0; i < half; ++i) {
        const EanRow &row = TabelaEAN[eanDigit(code[i].unicode())];
        out = putPattern(out, leftSets[i] == 'G' ? row.g : row.l);
    }
    out = putPattern(out, GuardaCentralEAN);
    for (qsizetype i = half; i < code.size(); ++i)
        out = putPattern(out, TabelaEAN[eanDigit(code[i].unicode())].r);
    putPattern(out, GuardaLateralEAN);
    return modulos;
}

// The builders normalise their argument once more (digits only, exact length)
// so that a caller passing a short or dirty code still gets a well-formed
// symbol of the right size instead of reading past the tables. The control
// always hands over a clean code, which is then read where it lies; only a
// dirty one is copied, into `normal`.
QStringView exactCode(const QString &digitos, int n, QString &normal)
{
    const QStringView view(digitos);
    if (view.size() == n && std::all_of(view.utf16(), view.utf16() + n, isDigit))
        return view;
    normal = NormalizaEAN(digitos, n);
    return normal;
}

} // namespace

QString NormalizaEAN(const QString &texto, int n)
{
    if (n < 0)
        return ApenasDigitos(texto);
    QString code(n, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(code.data());
    qsizetype found = 0;
    for (const QChar c : BarcodeTextView(texto)) {
        if (found == n)
            break;
        if (isDigit(c.unicode()))
            out[found++] = c.unicode();
    }
    // Fewer digits than the symbol holds: they move to the right end and
    // zeros fill the front, as a number is padded.
    std::copy_backward(out, out + found, out + n);
    std::fill(out, out + (n - found), u'0');
    return code;
}

QChar DigitoVerificador(const QString &digitos)
{
    int sum = 0;
    int weight = 3;
    const QStringView view(digitos);
    for (const char16_t *c = view.utf16() + view.size(); c != view.utf16();) {
        --c;
        if (!isDigit(*c))
            continue;
        sum += weight * eanDigit(*c);
        weight = 4 - weight;
    }
    return QChar(u'0' + (10 - sum % 10) % 10);
}

QString ModulosEAN13(const QString &digitos)
{
    QString normal;
    const QStringView code = exactCode(digitos, 13, normal);
    return eanModules(code.mid(1), ParidadeEAN13[eanDigit(code[0].unicode())]);
}

QString ModulosEAN8(const QString &digitos)
{
    QString normal;
    return eanModules(exactCode(digitos, 8, normal), "LLLL");
}

QString ModulosUPCA(const QString &digitos)
{
    QString normal;
    return eanModules(exactCode(digitos, 12, normal), "LLLLLL");
}
