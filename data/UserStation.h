#pragma once

#include <QString>

#include <optional>

class SqlConnection;

// The station of the user who runs a program: the ESTACOES row whose USUARIO
// is the user's name, as the database compares it (see userNameKey).
namespace UserStation {

// The suite's user names come from a 50-character buffer, terminating zero included.
inline constexpr int UserNameLimit = 49;

// The select of the user's rows with `columns`; its one parameter is the
// userNameKey of the name. The name travels as a bound parameter, so a name
// with an apostrophe is just a name. Rows come in station order, so the first
// of two rows for one user is always the same one.
QString select(const QString &columns);

struct Row
{
    QString code;    // the first two characters of ESTACAO: the work folder is InterfacNN
    QString printer; // ROTULO1, the thermal printer's path
};

// The row of `userName` (cut as the suite cuts it), or nothing. Throws DatabaseError.
std::optional<Row> find(SqlConnection &connection, const QString &userName);

} // namespace UserStation
