#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A CUPS scheduler of the test's own: its own folder and socket, never the
// machine's, with printers whose backend "arquivo" writes each job to a file.
// While it runs, CUPS_SERVER names its socket, so Qt's print support, lp and
// lpstat all talk to it.
class PrivateCups
{
public:
    PrivateCups() = default;
    ~PrivateCups();

    // Why CUPS cannot be used here (not installed), or an empty text.
    static QString missing();

    // Starts the scheduler; false (with `error`) when it does not come up.
    bool start(QString *error);

    // Adds a raw printer whose jobs are written to `outputFile`; false (with `error`) on failure.
    bool addPrinter(const QString &name, const QString &outputFile, QString *error);

    // Runs a CUPS command (cupsdisable, cupsreject, ...) against this scheduler.
    bool run(const QString &program, const QStringList &arguments, QString *output = nullptr);

    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QProcess m_scheduler;
    QString m_socket;
    QByteArray m_previousServer;
    bool m_hadServer = false;
};
