#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>

class SqlConnection;

// The SQL data set of a chain: a statement on a connection. Its command text is
// set while the client data set over it is closed; the next Open uses it.
class SqlDataSet : public QObject
{
    Q_OBJECT
public:
    SqlDataSet(const QString &objectName, SqlConnection *connection, const QString &commandText, QObject *parent = nullptr)
        : QObject(parent), m_connection(connection), m_commandText(commandText) { setObjectName(objectName); }

    SqlConnection *SQLConnection() const { return m_connection; }
    const QString &CommandText() const { return m_commandText; }
    void setCommandText(const QString &text) { m_commandText = text; }

    // Values bound to the "?" placeholders of the command text, in order, so that
    // no text typed by a user or read from a file is pasted into SQL.
    const QVariantList &Params() const { return m_params; }
    void setParams(const QVariantList &params) { m_params = params; }

private:
    SqlConnection *m_connection;
    QString m_commandText;
    QVariantList m_params;
};
