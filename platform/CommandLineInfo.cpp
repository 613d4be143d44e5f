#include "CommandLineInfo.h"

#include <QStringList>

QString selvarVersion()
{
    return QStringLiteral(SELVAR_VERSION);
}

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Mostra esta ajuda e termina."));
}

QCommandLineOption versionOption()
{
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Mostra a versão e termina."));
}

QString versionLine(const QString &program)
{
    return program + QLatin1Char(' ') + selvarVersion();
}

QString helpText(const QString &usage, const QString &description, const QList<QCommandLineOption> &options)
{
    QStringList names;
    qsizetype width = 0;
    for (const QCommandLineOption &option : options) {
        QStringList spelled;
        for (const QString &name : option.names())
            spelled << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString text = spelled.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            text += QLatin1Char(' ') + option.valueName();
        width = qMax(width, text.size());
        names << text;
    }
    QString help = QStringLiteral("Uso: ") + usage + QStringLiteral("\n\n") + description + QStringLiteral("\n\nOpções:\n");
    for (qsizetype i = 0; i < options.size(); ++i)
        help += QStringLiteral("  ") + names[i].leftJustified(width + 2) + options[i].description() + QLatin1Char('\n');
    return help;
}
