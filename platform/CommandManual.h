#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

// What one installed command tells about itself: its --help text and its
// manual page are both written from this, so the two never disagree. A new
// command is one more entry in commandManuals() (CommandManual.cpp); the
// pages are generated at build time and installed with the package.
struct CommandManual
{
    struct Option
    {
        Option(const QStringList &names, const QString &valueName, const QString &description, const QString &defaultValue = {})
            : names(names), valueName(valueName), description(description), defaultValue(defaultValue)
        {
        }
        QStringList names;    // "o", "output": one letter is -o, longer --output
        QString valueName;    // empty for a switch
        QString description;
        QString defaultValue; // what the parser gives when the option is absent
    };
    struct Section
    {
        QString title; // upper case, as manual pages write them
        // Paragraphs apart by an empty line; a line beginning with two blanks
        // is printed as it is (commands, file lines).
        QString text;
    };

    QString name;
    QString summary;     // one line, lower case start: the page's NOME
    QString usage;       // after "Uso: "
    QString description; // lines as --help prints them; the page fills them
    QList<Option> options; // the command's own; -h and -v come first by themselves
    QList<Section> sections; // the page only: EXEMPLOS, ARQUIVOS, AMBIENTE, ...

    // -h/--help and -v/--version, then the command's own options, for QCommandLineParser.
    QList<QCommandLineOption> commandLineOptions() const;
    // One of the command's own options by its long name; an unknown name is a programming fault.
    QCommandLineOption option(const QString &longName) const;
    QString helpText() const;
    // The manual page in roff (man(7)), section 1, UTF-8.
    QString manPage() const;
};

// Every command the package installs.
const QList<CommandManual> &commandManuals();
// The entry of one command; an unknown name is a programming fault.
const CommandManual &commandManual(const QString &name);
