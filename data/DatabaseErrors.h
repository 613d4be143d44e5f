#pragma once

#include "SelvarError.h"

#include <QSqlError>
#include <QString>

// The database client's own message, as the user should see it.
QString databaseMessage(const QSqlError &error);

// The connection is gone (shut down, network lost, invalid handle): no statement
// on it can succeed, so it is not the fault of the row being written.
bool isConnectionFailure(const DatabaseError &error);

// A connection failure already told in Portuguese, saying what was and was not
// done; the client's own words follow it only as a detail.
class ConnectionLost : public DatabaseError
{
public:
    using DatabaseError::DatabaseError;
};

// The connection fell while a write was being committed: the database may hold
// it or not, so nothing tries it again by itself.
class CommitUnknown : public ConnectionLost
{
public:
    using ConnectionLost::ConnectionLost;
};

// The words for a connection that could not be made again; `done` says what
// became of the work ("nada foi lido nem gravado").
QString connectionNotBackText(const QString &done, const QString &detail);
QString commitUnknownText(const QString &detail);

// The text a failure is shown with: a connection failure in the client's words
// gets a Portuguese sentence in front of them.
QString userMessage(const SelvarError &error);
