#pragma once

#include <QSqlError>
#include <QString>

class DatabaseError;

// The database client's own message, as the user should see it.
QString databaseMessage(const QSqlError &error);

// The connection is gone (shut down, network lost, invalid handle): no statement
// on it can succeed, so it is not the fault of the row being written.
bool isConnectionFailure(const DatabaseError &error);
