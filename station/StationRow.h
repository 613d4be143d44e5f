#pragma once

#include <QString>
#include <QStringList>

class SqlConnection;
struct StationRequest;

// The station's row of ESTACOES in the suite's database: inserted when the
// station is new, else given the user and the printer. Every value travels as
// a bound parameter: user names and printer paths are typed by an installer.
class StationRow
{
public:
    StationRow(SqlConnection &connection, const StationRequest &request);

    // Reads the row as it is and says what will change; throws DatabaseError.
    QStringList plan();
    // Writes the row on the connection (inside the caller's transaction).
    void write();

private:
    SqlConnection &m_connection;
    QString m_station;
    QString m_user;
    QString m_printer;
    bool m_exists = false;
};
