#include "LabelRecord.h"

bool LabelRecord::isBlank() const
{
    if (value(QStringLiteral("CODIGO")).plain.isEmpty())
        return true;
    return value(QStringLiteral("COMPONENTE")).plain.trimmed().isEmpty() && value(QStringLiteral("CODIGOEAN")).plain.trimmed().isEmpty();
}
