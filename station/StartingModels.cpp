#include "StartingModels.h"

#include "SelvarError.h"
#include "SqlConnection.h"

#include <QSqlQuery>

namespace {

struct Model {
    const char *code;
    const char *description;
    int mesq, mdir, mtop, mrod, espv;
    const char *papel;
    int qdecol, etiqalt, etiqlart, etiqmesq, etiqmdir, etiqmtop, etiqrod;
};

// The counter chooses its output by how a description begins ("A4", "A5",
// "Carta", "Zebra - 3,0 x 1,7 - 3 colunas"); the rest of each text is for the clerk.
const Model models[] = {
    {"01", "A4 - Folha com 6 x 20 etiquetas de 29,77 x 13,65 mm", 8, 8, 14, 10, 0, "A4", 6, 14, 30, 1, 1, 1, 1},
    {"02", "Carta - Folha com 4 x 20 etiquetas de 47,85 x 12,7 mm", 8, 8, 13, 13, 0, "Carta", 4, 13, 48, 1, 1, 1, 1},
    {"03", "A5 - Folha com 3 x 10 etiquetas de 45 x 19 mm", 7, 6, 10, 10, 0, "A5", 3, 19, 45, 1, 1, 1, 1},
    {"04", "Zebra - 3,0 x 1,7 - 3 colunas", 0, 0, 0, 0, 2, "default", 3, 17, 30, 1, 1, 1, 1},
};

// A new installation prints on plain sheets until a thermal printer is set up.
const char currentModel[] = "01";

// Firebird's code for a row refused by a primary key.
constexpr int DuplicateKey = -803;

QString shortNames()
{
    QStringList names;
    for (const Model &model : models)
        names << QString::fromUtf8(model.description).section(QStringLiteral(" - "), 0, 0);
    return names.join(QStringLiteral(", "));
}

} // namespace

StartingModels::StartingModels(SqlConnection &connection) : m_connection(connection)
{
}

QStringList StartingModels::plan()
{
    QSqlQuery any = m_connection.exec(QStringLiteral("select first 1 MODELO from ETIQPAR"));
    m_empty = !any.next();
    any.finish();
    QSqlQuery current = m_connection.exec(QStringLiteral("select first 1 MODELOCORRENTE from ETIQCORR"));
    m_noCurrent = !current.next();
    current.finish();
    if (!m_empty)
        return {};
    QStringList steps{QStringLiteral("incluir os modelos de etiqueta iniciais em ETIQPAR: %1").arg(shortNames())};
    if (m_noCurrent)
        steps << QStringLiteral("incluir o modelo corrente %1 em ETIQCORR").arg(QLatin1String(currentModel));
    return steps;
}

QStringList StartingModels::write()
{
    if (!m_empty)
        return {};
    // Two stations set up at once both find ETIQPAR empty; the primary key
    // refuses the second one's rows, which are then undone as a whole.
    m_connection.exec(QStringLiteral("savepoint starting_models"));
    try {
        for (const Model &model : models) {
            m_connection.exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, MESQ, MDIR, MTOP, MROD, ESPV, PAPEL, QDECOL, "
                                             "ETIQALT, ETIQLART, ETIQMESQ, ETIQMDIR, ETIQMTOP, ETIQROD) "
                                             "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                              {QString::fromUtf8(model.code), QString::fromUtf8(model.description), model.mesq, model.mdir,
                               model.mtop, model.mrod, model.espv, QString::fromUtf8(model.papel), model.qdecol,
                               model.etiqalt, model.etiqlart, model.etiqmesq, model.etiqmdir, model.etiqmtop, model.etiqrod});
        }
    } catch (const DatabaseError &error) {
        if (error.nativeCode() != DuplicateKey)
            throw;
        m_connection.exec(QStringLiteral("rollback to savepoint starting_models"));
        return {QStringLiteral("Modelos de etiqueta iniciais: outra estação já os incluiu; nada foi acrescentado.")};
    }
    QStringList done{QStringLiteral("Modelos de etiqueta iniciais incluídos: %1.").arg(shortNames())};
    if (m_noCurrent) {
        // ETIQCORR holds one row and has no key; only the station whose models
        // went in writes it, so two at once leave one row.
        m_connection.exec(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) select ? from RDB$DATABASE "
                                         "where not exists (select 1 from ETIQCORR)"),
                          {QLatin1String(currentModel)});
        done << QStringLiteral("Modelo de etiqueta corrente: %1.").arg(QLatin1String(currentModel));
    }
    return done;
}
