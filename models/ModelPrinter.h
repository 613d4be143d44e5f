#pragma once

#include <QString>

struct ReportProject;

// What prints a model's labels, decided in this order: the description's
// fixed beginnings first ("A4", "A5", "Carta" go to the sheet reports, the
// three-across Zebra roll and "Argox" to the program's own thermal layout,
// see outputForDescription), then the report project's thermal reports for
// any other model. The counter prints by this choice and the label designer
// shows it, so the two never disagree about a model.
struct ModelPrinter
{
    enum class Kind { SheetReport, ThermalReport, FixedThermal, Nothing };
    Kind kind = Kind::Nothing;
    QString report; // the report's name, for the two report kinds
};

ModelPrinter modelPrinter(const ReportProject &project, const QString &description);
