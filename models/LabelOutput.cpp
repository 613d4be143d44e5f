#include "LabelOutput.h"

OutputKind outputForDescription(const QString &description)
{
    if (description.startsWith(QLatin1String("A4")) || description.startsWith(QLatin1String("A5"))
        || description.startsWith(QLatin1String("Carta")))
        return OutputKind::Report;
    // Argox printers take the same command files as the Zebra roll, so their
    // models print through the thermal output too.
    if (description.startsWith(QLatin1String("Zebra - 3,0 x 1,7 - 3 colunas"))
        || description.startsWith(QLatin1String("Argox")))
        return OutputKind::Thermal;
    return OutputKind::None;
}
