#include "EanWarning.h"

#include "ClientDataSet.h"
#include "EanCheck.h"
#include "LabelQuantity.h"
#include "Messages.h"

namespace EanWarning {

QString question(ClientDataSet &list)
{
    if (!list.Active())
        list.Open();
    const Field &qde = list.FieldByName(QStringLiteral("QDE"));
    const Field &componente = list.FieldByName(QStringLiteral("COMPONENTE"));
    const Field &codigoEan = list.FieldByName(QStringLiteral("CODIGOEAN"));
    QStringList lines;
    int more = 0;
    const int rows = list.RecordCount();
    for (int row = 0; row < rows; ++row) {
        // A quantity prints as many labels as it rounds to, as the job expansion counts them.
        if (LabelQuantity::labels(list.valueAt(row, qde.Index())) == 0)
            continue;
        const QString ean = codigoEan.textOf(list.valueAt(row, codigoEan.Index()));
        const QString problem = EanProblem(ean);
        if (problem.isEmpty())
            continue;
        if (lines.size() == NamesListed) {
            ++more;
            continue;
        }
        lines << QStringLiteral("%1 (%2: %3)").arg(componente.textOf(list.valueAt(row, componente.Index())), ean, problem);
    }
    if (lines.isEmpty())
        return QString();
    if (more > 0)
        lines << QStringLiteral("e mais %1").arg(more);
    const QString br = QStringLiteral("\r");
    return QStringLiteral("Estes produtos têm um código EAN que não será impresso como está gravado:") + br + br
           + lines.join(br) + br + br + QStringLiteral("Imprimir assim mesmo?");
}

bool confirmPrint(ClientDataSet &list)
{
    const QString text = question(list);
    return text.isEmpty() || Messages::ask(text);
}

} // namespace EanWarning
