#pragma once

#include "ModelPrinter.h"
#include "ReportProject.h"

#include <QList>
#include <QString>

class SqlConnection;

// A label model as the counter offers it: a row of ETIQPAR.
struct EtiqparModel
{
    QString code;        // MODELO, two digits
    QString description; // DESCRICAO: how it begins chooses what prints it
};

// What prints a model (ModelPrinter, the counter's own choice): "A4 6x20",
// or "nenhum" and why.
QString modelPrinterText(const ModelPrinter &printer);

// The model row a report can add for itself, with the label's size for the
// columns the suite's other programs show.
struct NewModel
{
    QString description;
    int across = 1;     // QDECOL
    int heightMm = 0;   // ETIQALT
    int widthMm = 0;    // ETIQLART
};
NewModel newModelFor(const SheetReport &report, const QString &description);

namespace Etiqpar {

// DESCRICAO holds no more than this.
inline constexpr int DescriptionLimit = 60;

// Every model, by code. Throws DatabaseError.
QList<EtiqparModel> read(SqlConnection &connection);

// The code a new model takes: one after the highest two-digit code, or the
// lowest one free once 99 is taken; empty when all 99 are.
QString nextFreeCode(const QList<EtiqparModel> &models);

struct Added
{
    EtiqparModel model;  // the row that holds the description
    bool existed = false; // the description was there already (maybe added by another station just now)
    bool full = false;    // no two-digit code left: nothing added
};

// Adds the model under the next free code. Two stations at once: the
// primary key refuses the second one's code, which then takes the next;
// the same description added twice keeps the lower code only. Nothing is
// locked beyond the one insert. Throws DatabaseError.
Added add(SqlConnection &connection, const NewModel &model);

} // namespace Etiqpar
