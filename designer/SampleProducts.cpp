#include "SampleProducts.h"

namespace {

LabelRecord product(const QString &codigo, const QString &name, const QString &ean, const QString &price)
{
    LabelRecord record;
    record.set(QStringLiteral("CODIGO"), {codigo, codigo});
    record.set(QStringLiteral("COMPONENTE"), {name, name});
    record.set(QStringLiteral("QDE"), {});
    record.set(QStringLiteral("CODIGOEAN"), {ean, ean});
    // The connection shows PRECO1 with "0.00", the way the suite's Windows shows it: a comma.
    QString display = price;
    record.set(QStringLiteral("PRECO1"), {display.replace(QLatin1Char('.'), QLatin1Char(',')), price});
    return record;
}

} // namespace

QList<LabelRecord> sampleProducts()
{
    return {
        product(QStringLiteral("000001"), QStringLiteral("PROTETOR SOLAR FACIAL FPS 50 TOQUE SECO ANTIOLEOSIDADE ÁC. HIALURÔNICO"),
                QStringLiteral("7891234567895"), QStringLiteral("1234.90")),
        product(QStringLiteral("000002"), QStringLiteral("SABONETE LÍQUIDO ÍNTIMO CAMOMILA 200 ML"), QStringLiteral("7896004000015"),
                QStringLiteral("18.50")),
        product(QStringLiteral("000003"), QStringLiteral("ÓLEO DE AMÊNDOAS DOCES 100 ML"), QStringLiteral("7898024396017"),
                QStringLiteral("9.99")),
        product(QStringLiteral("000004"), QStringLiteral("COLÁGENO HIDROLISADO + VITAMINA C 300 G SABOR LIMÃO"),
                QStringLiteral("7891000100103"), QStringLiteral("149.00")),
    };
}
