#pragma once

#include <QString>

// Which output prints a label job is read from the leading characters of the
// current model's description, letter case included: the models are registered
// by hand in ETIQPAR, and this convention is all that ties a model to a printer.
enum class OutputKind {
    Report,  // sheets of adhesive labels through the report project: "A4", "A5", "Carta"
    Thermal, // the thermal roll three labels across: "Zebra - 3,0 x 1,7 - 3 colunas", "Argox"
    None,    // any other description prints nothing
};

OutputKind outputForDescription(const QString &description);
