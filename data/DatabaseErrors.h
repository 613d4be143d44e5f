#pragma once

#include <QSqlError>
#include <QString>

// The database client's own message, as the user should see it.
QString databaseMessage(const QSqlError &error);
