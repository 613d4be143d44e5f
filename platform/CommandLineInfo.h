#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

// The version every program of the system reports: the build's project version.
QString selvarVersion();

// "-h, --help" and "-v, --version", described in Portuguese: Qt's own options
// print English, and an installer at a pharmacy reads Portuguese.
QCommandLineOption helpOption();
QCommandLineOption versionOption();

// "nome 0.1", the line --version prints.
QString versionLine(const QString &program);

// A Portuguese usage text: "Uso: <usage>", the description, then one line per
// option with its value name and description.
QString helpText(const QString &usage, const QString &description, const QList<QCommandLineOption> &options);
