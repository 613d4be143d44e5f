#include "HeldAttachment.h"

HeldAttachment::HeldAttachment(const QString &objectName, const QString &connectionName)
    : m_objectName(objectName), m_connectionName(connectionName)
{
}

HeldAttachment::~HeldAttachment()
{
    release();
}

SqlConnection &HeldAttachment::to(const QString &database)
{
    if (!m_connection)
        m_connection = std::make_unique<SqlConnection>(m_objectName, m_connectionName);
    if (m_connection->DataBase() != database) {
        release();
        m_connection->setDataBase(database);
    }
    if (!m_held) {
        m_connection->acquire();
        m_held = true;
    }
    return *m_connection;
}

void HeldAttachment::release()
{
    if (m_held && m_connection)
        m_connection->release();
    m_held = false;
}
