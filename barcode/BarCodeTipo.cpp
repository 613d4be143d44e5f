#include "BarCodeTipo.h"

#include <QMetaEnum>

std::optional<TBarCodeTipo> TipoFromText(const QString &text)
{
    const QMetaEnum names = QMetaEnum::fromType<TBarCodeTipo>();
    bool isNumber = false;
    const int ordinal = text.toInt(&isNumber);
    if (isNumber) {
        if (ordinal >= 0 && ordinal < names.keyCount())
            return TBarCodeTipo(ordinal);
        return std::nullopt;
    }
    bool known = false;
    const int value = names.keyToValue(text.toLatin1().constData(), &known);
    if (!known)
        return std::nullopt;
    return TBarCodeTipo(value);
}

QString TipoName(TBarCodeTipo tipo)
{
    return QString::fromLatin1(QMetaEnum::fromType<TBarCodeTipo>().valueToKey(tipo));
}
