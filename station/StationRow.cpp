#include "StationRow.h"

#include "SqlConnection.h"
#include "StationRequest.h"

#include <QSqlQuery>

namespace {

// The station's own database, which the suite names here; the program itself
// only needs the column not to be empty.
QString stationDatabase(const QString &station)
{
    return QStringLiteral("C:\\boticon\\interfac") + station + QStringLiteral("\\boticon.bd");
}

} // namespace

StationRow::StationRow(SqlConnection &connection, const StationRequest &request)
    : m_connection(connection), m_station(request.stationCode), m_user(request.userName), m_printer(request.printerPath)
{
}

QStringList StationRow::plan()
{
    QStringList steps;
    QSqlQuery row = m_connection.exec(QStringLiteral("select USUARIO, ROTULO1 from ESTACOES where ESTACAO = ?"), {m_station});
    m_exists = row.next();
    if (m_exists) {
        steps << QStringLiteral("alterar a estação %1 em ESTACOES: USUARIO \"%2\" -> \"%3\", ROTULO1 \"%4\" -> \"%5\"")
                     .arg(m_station, row.value(0).toString(), m_user, row.value(1).toString(), m_printer);
    } else {
        steps << QStringLiteral("incluir a estação %1 em ESTACOES: USUARIO \"%2\", ROTULO1 \"%3\", DATBASNAM \"%4\"")
                     .arg(m_station, m_user, m_printer, stationDatabase(m_station));
    }
    // The program takes the user's station with the lowest code; a second one
    // for the same user would be silently passed over.
    QSqlQuery others = m_connection.exec(
        QStringLiteral("select ESTACAO from ESTACOES where upper(USUARIO) = upper(?) and ESTACAO <> ? order by ESTACAO"),
        {m_user, m_station});
    while (others.next()) {
        steps << QStringLiteral("aviso: o usuário \"%1\" também está na estação %2; o Selvar usa a de código menor")
                     .arg(m_user, others.value(0).toString());
    }
    return steps;
}

void StationRow::write()
{
    if (m_exists) {
        // A station the suite already knows keeps its own database name.
        m_connection.exec(QStringLiteral("update ESTACOES set USUARIO = ?, ROTULO1 = ?, "
                                         "DATBASNAM = coalesce(nullif(DATBASNAM, ''), ?) where ESTACAO = ?"),
                          {m_user, m_printer, stationDatabase(m_station), m_station});
    } else {
        m_connection.exec(QStringLiteral("insert into ESTACOES (ESTACAO, DATBASNAM, USUARIO, ROTULO1) values (?, ?, ?, ?)"),
                          {m_station, stationDatabase(m_station), m_user, m_printer});
    }
}
