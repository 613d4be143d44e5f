#include "EtiqparModels.h"

#include "SelvarError.h"
#include "SqlConnection.h"

#include <QSqlQuery>

#include <cmath>

namespace {

// Firebird's code for a row refused by a primary key.
constexpr int DuplicateKey = -803;

// Two stations racing for one code retry with the next; more than this many
// lost races in a row means something else is wrong.
constexpr int Attempts = 20;

int codeNumber(const QString &code)
{
    bool ok = false;
    const int number = code.toInt(&ok);
    return ok && code.size() == 2 ? number : 0;
}

} // namespace

QString modelPrinterText(const ModelPrinter &printer)
{
    switch (printer.kind) {
    case ModelPrinter::Kind::SheetReport:
    case ModelPrinter::Kind::ThermalReport:
        return printer.report;
    case ModelPrinter::Kind::FixedThermal:
        return QStringLiteral("nenhum (etiqueta térmica própria do Selvar)");
    case ModelPrinter::Kind::Nothing:
        break;
    }
    return QStringLiteral("nenhum");
}

NewModel newModelFor(const SheetReport &report, const QString &description)
{
    NewModel model;
    model.description = description;
    model.across = report.thermal ? report.thermal->across : report.grid.columns;
    model.heightMm = int(std::lround(report.grid.cellHeight));
    model.widthMm = int(std::lround(report.grid.cellWidth));
    return model;
}

namespace Etiqpar {

QList<EtiqparModel> read(SqlConnection &connection)
{
    const SqlConnection::Use held(connection);
    QSqlQuery query = connection.exec(QStringLiteral("select MODELO, DESCRICAO from ETIQPAR order by MODELO"));
    QList<EtiqparModel> models;
    while (query.next())
        models.append({query.value(0).toString().trimmed(), query.value(1).toString()});
    connection.checkFetched(query);
    return models;
}

QString nextFreeCode(const QList<EtiqparModel> &models)
{
    QList<bool> taken(100, false);
    int highest = 0;
    for (const EtiqparModel &model : models) {
        const int number = codeNumber(model.code);
        taken[number] = true;
        highest = std::max(highest, number);
    }
    int next = highest + 1;
    for (int number = 1; next > 99 && number <= 99; ++number) {
        if (!taken[number])
            next = number;
    }
    return next > 99 ? QString() : QStringLiteral("%1").arg(next, 2, 10, QLatin1Char('0'));
}

namespace {

// The lowest-coded row holding the description, if any.
std::optional<EtiqparModel> holding(const QList<EtiqparModel> &models, const QString &description)
{
    for (const EtiqparModel &model : models) {
        if (model.description == description)
            return model;
    }
    return std::nullopt;
}

} // namespace

Added add(SqlConnection &connection, const NewModel &model)
{
    const SqlConnection::Use held(connection);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        const QList<EtiqparModel> models = read(connection);
        if (const std::optional<EtiqparModel> there = holding(models, model.description))
            return {*there, true, false};
        const QString code = nextFreeCode(models);
        if (code.isEmpty())
            return {{}, false, true};
        try {
            connection.exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL, ETIQALT, ETIQLART) values (?, ?, ?, ?, ?)"),
                            {code, model.description, model.across, model.heightMm, model.widthMm});
        } catch (const DatabaseError &error) {
            if (error.nativeCode() != DuplicateKey)
                throw;
            continue; // another station took the code first
        }
        // Another station that added the same description at the same moment
        // under a lower code keeps it; this row goes, so the counter's box
        // never offers one model twice.
        connection.exec(QStringLiteral("delete from ETIQPAR where MODELO = ? and exists "
                                       "(select 1 from ETIQPAR other where other.DESCRICAO = ? and other.MODELO < ?)"),
                        {code, model.description, code});
        const std::optional<EtiqparModel> kept = holding(read(connection), model.description);
        if (kept && kept->code != code)
            return {*kept, true, false};
        return {{code, model.description}, false, false};
    }
    throw SelvarError(QStringLiteral("Não foi possível dar um código ao modelo: outras estações cadastraram modelos ao mesmo tempo. Tente de novo."));
}

} // namespace Etiqpar
