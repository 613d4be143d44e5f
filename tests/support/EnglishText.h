#pragma once

#include <QLatin1String>
#include <QStringList>

// The first of `texts` whose lead sentence speaks the database client's
// English; an empty text when none does. The client's own words may follow a
// Portuguese sentence in parentheses, never lead it.
inline QString englishLead(const QStringList &texts)
{
    for (const QString &text : texts) {
        const QString lead = text.section(QStringLiteral(" ("), 0, 0);
        for (const char *word : {"connection", "Error", "Unable", "network", "shutdown", "failed", "lost"})
            if (lead.contains(QLatin1String(word), Qt::CaseInsensitive))
                return text;
    }
    return QString();
}
