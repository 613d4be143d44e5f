#pragma once

#include "SqlConnection.h"

#include <QString>
#include <memory>

// The attachment a worker thread keeps for its life: made on the worker's
// thread when first asked for, held open, and made anew when the database
// asked for changes. A dropped attachment is made again by the
// connection's next statement.
class HeldAttachment
{
public:
    HeldAttachment(const QString &objectName, const QString &connectionName);
    ~HeldAttachment();
    HeldAttachment(const HeldAttachment &) = delete;
    HeldAttachment &operator=(const HeldAttachment &) = delete;

    // The connection, attached to `database`.
    SqlConnection &to(const QString &database);
    // The connection; only after `to`.
    SqlConnection &connection() { return *m_connection; }
    void release();

private:
    QString m_objectName, m_connectionName;
    std::unique_ptr<SqlConnection> m_connection;
    bool m_held = false;
};
