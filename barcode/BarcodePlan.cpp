#include "BarcodePlan.h"

#include "BarcodeText.h"
#include "Code128.h"
#include "Code39.h"
#include "EanUpc.h"
#include "EanUpcTables.h"
#include "Interleaved2of5.h"

namespace {

// Guards of an EAN/UPC symbol whose halves hold `half` digits each: the left
// guard, the centre guard and the right guard.
QList<ModuleRun> eanGuards(int half)
{
    const int centre = 3 + half * EanDigitModules + 1;
    const int total = 2 * centre + 3;
    return {{1, 3}, {centre, centre + 4}, {total - 2, total}};
}

// x where the digits of the left half start (module 3 plus 3) and where those
// of the right half start (the last centre-guard module plus 2).
int eanLeftDigitsX(const BarcodePlan &plan)
{
    return plan.moduleX(3) + 3;
}

int eanRightDigitsX(const BarcodePlan &plan)
{
    return plan.moduleX(plan.longModules[1].last) + 2;
}

// How a member of the EAN/UPC family turns its text into a code and splits
// the code into legend pieces: an optional lone first digit left of the bars,
// the two halves under the bars, an optional lone check digit right of them.
struct EanFamily {
    int digits;     // digits taken from the text, before the check digit
    int half;       // digits per half of the symbol
    QString (*modules)(const QString &);
    bool firstDigitApart;
    bool checkDigitApart;
};

constexpr EanFamily Ean13{12, 6, ModulosEAN13, true, false};
constexpr EanFamily Ean8{7, 4, ModulosEAN8, false, false};
constexpr EanFamily UpcA{11, 6, ModulosUPCA, true, true};

void planEan(BarcodePlan &plan, const QString &texto, const EanFamily &family, int legendaPos)
{
    // The text becomes exactly `digits` digits plus their check digit, so a
    // check digit typed with the code is always computed anew.
    const QString digits = NormalizaEAN(texto, family.digits);
    const QString code = digits + DigitoVerificador(digits);
    plan.modules = family.modules(code);
    plan.longModules = eanGuards(family.half);

    const int lead = family.firstDigitApart ? 1 : 0;
    const int underBars = int(code.size()) - lead - (family.checkDigitApart ? 1 : 0);
    if (family.firstDigitApart)
        plan.legend.append({code.left(1), legendaPos});
    plan.legend.append({code.mid(lead, underBars / 2), eanLeftDigitsX(plan)});
    plan.legend.append({code.mid(lead + underBars / 2, underBars - underBars / 2), eanRightDigitsX(plan)});
    if (family.checkDigitApart)
        plan.legend.append({code.right(1), plan.moduleX(int(plan.modules.size()) + 1) + 1});
}

} // namespace

bool BarcodePlan::isLong(int moduleNumber) const
{
    for (const ModuleRun &run : longModules) {
        if (moduleNumber >= run.first && moduleNumber <= run.last)
            return true;
    }
    return false;
}

BarcodePlan PlanBarcode(TBarCodeTipo tipo, const QString &texto, const BarcodeGeometry &geometry)
{
    BarcodePlan plan;
    plan.esquerda = geometry.esquerda;
    plan.moduleWidth = geometry.moduleWidth;
    switch (tipo) {
    case btCode128A:
    case btCode128B:
        plan.modules = ModulosCode128(texto, tipo == btCode128A ? Code128Set::A : Code128Set::B);
        plan.legend = {{texto, geometry.legendaPos}};
        break;
    case btCode128C: {
        const QString digitos = ApenasDigitos(texto);
        plan.modules = ModulosCode128(digitos, Code128Set::C);
        plan.legend = {{digitos, geometry.legendaPos}};
        break;
    }
    case btCode39:
        plan.modules = ModulosCode39(texto);
        plan.legend = {{texto, geometry.legendaPos}};
        break;
    case btCode2e5I: {
        // The legend shows the digits as given, not the "0" the encoder puts
        // in front of an odd count.
        const QString digitos = ApenasDigitos(texto);
        plan.modules = Modulos2e5I(digitos);
        plan.legend = {{digitos, geometry.esquerda + 1}};
        break;
    }
    case btCodeEAN13:
        planEan(plan, texto, Ean13, geometry.legendaPos);
        break;
    case btCodeEAN8:
        planEan(plan, texto, Ean8, geometry.legendaPos);
        break;
    case btCodeUPCA:
        planEan(plan, texto, UpcA, geometry.legendaPos);
        break;
    }
    return plan;
}
