#include "UserStation.h"

#include "SqlConnection.h"
#include "UserName.h"

namespace UserStation {

QString select(const QString &columns)
{
    return QStringLiteral("Select ") + columns + QStringLiteral("  from ESTACOES where upper(USUARIO) = ? order by ESTACAO");
}

std::optional<Row> find(SqlConnection &connection, const QString &userName)
{
    const QString wanted = userNameKey(userName.left(UserNameLimit));
    const SqlConnection::Use use(connection);
    QSqlQuery query = connection.exec(select(QStringLiteral("ESTACAO, ROTULO1, USUARIO")), {wanted});
    if (!query.next()) {
        connection.checkFetched(query);
        return std::nullopt;
    }
    // Trailing blanks aside, the database's match must be the very name.
    if (userNameKey(query.value(2).toString()) != wanted)
        return std::nullopt;
    return Row{query.value(0).toString().left(2), query.value(1).toString()};
}

} // namespace UserStation
