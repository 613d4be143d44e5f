#pragma once

#include <QString>
#include <QStringList>

// A raw CUPS queue for a USB or network thermal printer: CUPS passes the EPL2
// files through untouched, as the printer must receive them.
class CupsQueue
{
public:
    CupsQueue(const QString &name, const QString &deviceUri);

    QStringList lpadminArguments() const;
    QString plan() const;
    // Runs lpadmin; throws SelvarError with what lpadmin said when it fails.
    void make() const;

private:
    QString m_name;
    QString m_deviceUri;
};
