#include "EanCheck.h"

#include "EanUpc.h"

QString EanProblem(const QString &codigoEan)
{
    if (codigoEan.trimmed().isEmpty())
        return QString();
    for (const QChar c : codigoEan)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QStringLiteral("tem caracteres que não são dígitos");
    if (codigoEan.size() == 13) {
        const QChar right = DigitoVerificador(codigoEan.left(12));
        if (codigoEan[12] != right)
            return QStringLiteral("dígito verificador errado: o último dígito deveria ser %1").arg(right);
    }
    return QString();
}
