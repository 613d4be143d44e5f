#pragma once

#include <QByteArray>
#include <QString>

#include <ibase.h>

// What this program's own attachments through the Firebird client library
// (beside Qt's driver) have in common: the status vector and the parameters
// every attachment carries.
namespace FirebirdClient {

class Status
{
public:
    ISC_STATUS *operator&() { return m_vector; }
    bool failed() const { return m_vector[0] == 1 && m_vector[1] > 0; }
    bool has(ISC_STATUS code) const;
    // Throws the database's own message as a DatabaseError.
    [[noreturn]] void raise() const;
    void check() const
    {
        if (failed())
            raise();
    }

private:
    ISC_STATUS_ARRAY m_vector{};
};

// User, password and character set; for the embedded engine also the settings
// it opens the database with: old row versions cleaned up by the statement that
// meets them (why: EmbeddedEngineSettings.h).
QByteArray attachParameters(bool embedded);

} // namespace FirebirdClient
