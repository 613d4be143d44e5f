#include "DatabaseErrors.h"

#include "SelvarError.h"

QString databaseMessage(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

// Firebird's SQL codes: -902 for a connection shut down or a network failure,
// -904 for a handle that no longer names an attachment.
bool isConnectionFailure(const DatabaseError &error)
{
    return error.nativeCode() == -902 || error.nativeCode() == -904;
}
