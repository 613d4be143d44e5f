#include "HistoryListWrite.h"

#include "RunValues.h"
#include "SuiteJob.h"
#include "TDM.h"

#include <algorithm>

HistoryListWrite::HistoryListWrite(TDM &dm) : table(dm.TabRev1->Provider()->tableName()), station(RunValues::StationCode)
{
    const FieldDefs &defs = dm.TabRev1->fieldDefs();
    const auto found = std::find_if(defs.begin(), defs.end(), [](const FieldDef &def) { return def.name == QLatin1String("QDE"); });
    if (found == defs.end())
        throw SelvarError(QStringLiteral("Field 'QDE' not found"));
    qde = *found;
}

void HistoryListWrite::operator()(HistoryWork::Context &context, const QList<ListQuantities::Change> &changes) const
{
    if (changes.isEmpty())
        return;
    SuiteJob job(context.suite(), station, SuiteJob::Kind::ListBuild);
    ListQuantities::write(context.suite(), table, qde, changes, job, [&context] {
        if (context.cancelled())
            throw JobCancelled(QStringLiteral("Cancelado."));
        context.committing();
    });
}
