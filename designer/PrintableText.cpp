#include "PrintableText.h"

#include "Cp1252.h"
#include "ElementPlacement.h"

QString unprintableCharacters(const QString &text)
{
    QString found;
    for (const char32_t code : text.toUcs4()) {
        const QString character = QString::fromUcs4(&code, 1);
        // Windows-1252 writes what it lacks as '?': a '?' that was not one is a character lost.
        if (code != U'?' && toCp1252(character).contains('?') && !found.contains(character))
            found += character;
    }
    return found;
}

QString unprintableWarning(const CellElement &element, const QString &text)
{
    const QString characters = unprintableCharacters(text);
    if (characters.isEmpty())
        return QString();
    QStringList quoted;
    for (const char32_t code : characters.toUcs4())
        quoted << QStringLiteral("\"%1\"").arg(QString::fromUcs4(&code, 1));
    return QStringLiteral("Caracteres que a impressora não imprime em %1: %2 (saem como um quadrado vazio ou \"?\"; "
                          "a fonte da impressora só tem os caracteres do Windows-1252)")
        .arg(elementName(element), quoted.join(QStringLiteral(", ")));
}
