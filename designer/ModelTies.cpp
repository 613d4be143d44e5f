#include "ModelTies.h"

QList<ModelTie> modelTies(const QList<SheetReport> &reports)
{
    QList<ModelTie> ties;
    for (int later = 0; later < reports.size(); ++later) {
        for (const QString &model : reports[later].modelPrefixes) {
            for (int first = 0; first < later; ++first) {
                if (reports[first].thermal.has_value() == reports[later].thermal.has_value() && reports[first].modelPrefixes.contains(model)) {
                    ties.append({model, reports[first].name, reports[later].name});
                    break;
                }
            }
        }
    }
    return ties;
}

QString tieWarning(const ModelTie &tie)
{
    return QStringLiteral("Os relatórios \"%1\" e \"%2\" servem o modelo \"%3\": imprime \"%1\", o primeiro do projeto; "
                          "\"%2\" nunca imprime esse modelo.")
        .arg(tie.printed, tie.unused, tie.model);
}
