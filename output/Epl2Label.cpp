#include "Epl2Label.h"

#include "BrLocale.h"
#include "Epl2Text.h"

ThermalLabel ThermalLabel::fromJobRow(const QString &componente, const QString &codigoEan, const Decimal &preco1)
{
    ThermalLabel label;
    label.nameLine1 = componente.left(20);
    QString second = componente.mid(20, 40);
    qsizetype blanks = 0;
    while (blanks < second.size() && second[blanks] == QLatin1Char(' '))
        ++blanks;
    label.nameLine2 = second.mid(blanks);
    label.barcode = codigoEan.left(13);
    label.price = BrLocale::formatDecimalText(preco1.toPlainString(), QStringLiteral("#,##0.00")).left(15);
    return label;
}

namespace Epl2 {

QStringList header(bool firstFileOfJob)
{
    QStringList lines{QStringLiteral("R0,0"), QStringLiteral("q999"), QStringLiteral("I8,3,001"),
                      QStringLiteral("Q100,024"), QStringLiteral("rN"), QStringLiteral("S3"),
                      QStringLiteral("D7"), QStringLiteral("ZT"), QStringLiteral("JF"),
                      QStringLiteral("O")};
    if (firstFileOfJob)
        lines << QStringLiteral("f100");
    lines << QStringLiteral("N");
    return lines;
}

QStringList labelBlock(int column, const ThermalLabel &label)
{
    const int x = (column - 1) * 285;
    return {
        QStringLiteral("A%1,0,0,2,1,1,N,").arg(x) + epl2Quoted(label.nameLine1),
        QStringLiteral("A%1,20,0,2,1,1,N,").arg(x) + epl2Quoted(label.nameLine2),
        QStringLiteral("B%1,42,0,1,2,6,40,B,").arg(x) + epl2Quoted(label.barcode),
        QStringLiteral("A%1,119,0,4,1,1,N,").arg(x) + epl2Quoted(QStringLiteral("R$ ") + label.price),
    };
}

QString printLine()
{
    return QStringLiteral("P1");
}

QByteArray fileBytes(const QStringList &lines)
{
    return encodeEpl2(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), Epl2CodePage::Dos860);
}

} // namespace Epl2
