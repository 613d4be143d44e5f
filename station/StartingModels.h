#pragma once

#include <QString>
#include <QStringList>

class SqlConnection;

// The label models a new installation starts from, so that the counter's model
// box is never empty: a sheet model for each paper the report project serves
// and the three-across thermal roll. They go in only while ETIQPAR is empty; a
// shop's own models are never touched.
class StartingModels
{
public:
    explicit StartingModels(SqlConnection &connection);

    // Reads ETIQPAR and ETIQCORR and says what will be added; throws DatabaseError.
    QStringList plan();
    // Adds the models (inside the caller's transaction) and says what it did.
    // Another station that added them first is no failure: its rows stand.
    QStringList write();

private:
    SqlConnection &m_connection;
    bool m_empty = false;
    bool m_noCurrent = false;
};
