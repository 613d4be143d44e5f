#include "CommandManual.h"

#include "CommandLineInfo.h"

#include <QRegularExpression>

namespace {

QCommandLineOption toCommandLine(const CommandManual::Option &option)
{
    QCommandLineOption result(option.names, option.description, option.valueName);
    if (!option.defaultValue.isEmpty())
        result.setDefaultValue(option.defaultValue);
    return result;
}

QString spelled(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// Text as roff prints it: backslashes and minus signs escaped, and a line that
// would begin with a control character kept as text.
QString roffText(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    text.replace(QLatin1Char('-'), QStringLiteral("\\-"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.startsWith(QLatin1Char('.')) || line.startsWith(QLatin1Char('\'')))
            line.prepend(QStringLiteral("\\&"));
    return lines.join(QLatin1Char('\n'));
}

// Filled paragraphs apart by ".PP"; lines beginning with two blanks kept as
// they are, indented, in no-fill mode.
QString roffParagraphs(const QString &text)
{
    QString out;
    QStringList filled;
    bool literal = false;
    auto flush = [&] {
        if (!filled.isEmpty())
            out += roffText(filled.join(QLatin1Char(' '))) + QLatin1Char('\n');
        filled.clear();
    };
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const bool isLiteral = line.startsWith(QStringLiteral("  "));
        if (line.trimmed().isEmpty()) {
            flush();
            if (literal) {
                out += QStringLiteral(".fi\n.RE\n");
                literal = false;
            }
            out += QStringLiteral(".PP\n");
            continue;
        }
        if (isLiteral && !literal) {
            flush();
            out += QStringLiteral(".RS 4\n.nf\n");
            literal = true;
        } else if (!isLiteral && literal) {
            out += QStringLiteral(".fi\n.RE\n");
            literal = false;
        }
        if (literal)
            out += roffText(line.mid(2)) + QLatin1Char('\n');
        else
            filled << line.trimmed();
    }
    flush();
    if (literal)
        out += QStringLiteral(".fi\n.RE\n");
    out.replace(QRegularExpression(QStringLiteral("(\\.PP\\n)+")), QStringLiteral(".PP\n"));
    return out;
}

} // namespace

QList<QCommandLineOption> CommandManual::commandLineOptions() const
{
    QList<QCommandLineOption> result{helpOption(), versionOption()};
    for (const Option &own : options)
        result << toCommandLine(own);
    return result;
}

QCommandLineOption CommandManual::option(const QString &longName) const
{
    for (const Option &own : options)
        if (own.names.contains(longName))
            return toCommandLine(own);
    qFatal("%s has no option --%s", qPrintable(name), qPrintable(longName));
}

QString CommandManual::helpText() const
{
    return ::helpText(usage, description, commandLineOptions());
}

QString CommandManual::manPage() const
{
    QString page = QStringLiteral(".\\\" Gerada a partir de platform/CommandManuals.cpp, como o --help; não edite.\n");
    page += QStringLiteral(".TH %1 1 \"\" \"Selvar %2\" \"Comandos do Selvar\"\n").arg(name.toUpper(), selvarVersion());
    // Whole words only, flush left: what a reader searches for stays in one piece.
    page += QStringLiteral(".nh\n.ad l\n");
    page += QStringLiteral(".SH NOME\n%1 \\- %2\n").arg(roffText(name), roffText(summary));
    page += QStringLiteral(".SH SINOPSE\n.B %1\n%2\n").arg(roffText(name), roffText(usage.mid(name.size()).trimmed()));
    page += QStringLiteral(".SH DESCRIÇÃO\n") + roffParagraphs(description);
    page += QStringLiteral(".SH OPÇÕES\n");
    for (const QCommandLineOption &option : commandLineOptions()) {
        QStringList names;
        for (const QString &n : option.names())
            names << QStringLiteral("\\fB%1\\fR").arg(roffText(spelled(n)));
        QString tag = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            tag += QStringLiteral(" \\fI%1\\fR").arg(roffText(option.valueName()));
        page += QStringLiteral(".TP\n") + tag + QLatin1Char('\n') + roffText(option.description()) + QLatin1Char('\n');
    }
    for (const Section &section : sections)
        page += QStringLiteral(".SH %1\n").arg(section.title) + roffParagraphs(section.text);
    QStringList others;
    for (const CommandManual &other : commandManuals())
        if (other.name != name)
            others << QStringLiteral(".BR %1 (1)").arg(roffText(other.name));
    if (!others.isEmpty())
        page += QStringLiteral(".SH VEJA TAMBÉM\n") + others.join(QStringLiteral(",\n")) + QLatin1Char('\n');
    return page;
}

const CommandManual &commandManual(const QString &name)
{
    for (const CommandManual &manual : commandManuals())
        if (manual.name == name)
            return manual;
    qFatal("no manual for the command %s", qPrintable(name));
}
