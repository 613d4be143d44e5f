#include "LabelQuantity.h"

#include "Decimal.h"
#include "Field.h" // Decimal in a QVariant

#include <QVariant>

#include <algorithm>

namespace LabelQuantity {

qint64 labels(const Decimal &quantity)
{
    return std::max<qint64>(0, quantity.roundHalfEven());
}

qint64 labels(const QVariant &quantity)
{
    if (quantity.isNull() || quantity.metaType() != QMetaType::fromType<Decimal>())
        return 0;
    return labels(quantity.value<Decimal>());
}

} // namespace LabelQuantity
