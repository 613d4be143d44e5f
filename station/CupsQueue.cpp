#include "CupsQueue.h"

#include "SelvarError.h"

#include <QProcess>

CupsQueue::CupsQueue(const QString &name, const QString &deviceUri) : m_name(name), m_deviceUri(deviceUri) {}

// No model (-m): a queue without a driver is a raw queue. -E after -p enables
// it and makes it accept jobs.
QStringList CupsQueue::lpadminArguments() const
{
    return {QStringLiteral("-p"), m_name, QStringLiteral("-E"), QStringLiteral("-v"), m_deviceUri};
}

QString CupsQueue::plan() const
{
    return QStringLiteral("criar a fila CUPS crua %1 para %2: lpadmin %3").arg(m_name, m_deviceUri, lpadminArguments().join(u' '));
}

void CupsQueue::make() const
{
    QProcess lpadmin;
    lpadmin.start(QStringLiteral("lpadmin"), lpadminArguments());
    if (!lpadmin.waitForFinished(60000) || lpadmin.exitStatus() != QProcess::NormalExit || lpadmin.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(lpadmin.readAllStandardError()).trimmed();
        throw SelvarError(QStringLiteral("O lpadmin não criou a fila %1: %2").arg(m_name, said.isEmpty() ? lpadmin.errorString() : said));
    }
}
