#include "ZplText.h"

#include <cctype>

QString zplFieldData(const QString &text)
{
    QString data = text;
    for (QChar &c : data) {
        if (c.unicode() < 32 || c.unicode() == 127)
            c = QLatin1Char(' ');
    }
    if (!data.contains(QLatin1Char('^')) && !data.contains(QLatin1Char('~')))
        return QStringLiteral("^FD") + data;
    data.replace(QLatin1Char('_'), QStringLiteral("_5F"))
        .replace(QLatin1Char('^'), QStringLiteral("_5E"))
        .replace(QLatin1Char('~'), QStringLiteral("_7E"));
    return QStringLiteral("^FH^FD") + data;
}

QByteArray zplUnescaped(const QByteArray &data, char indicator)
{
    QByteArray bytes;
    bytes.reserve(data.size());
    for (qsizetype i = 0; i < data.size(); ++i) {
        const bool escape = data[i] == indicator && i + 2 < data.size() && std::isxdigit(uchar(data[i + 1])) &&
                            std::isxdigit(uchar(data[i + 2]));
        if (escape) {
            bytes.append(char(data.mid(i + 1, 2).toInt(nullptr, 16)));
            i += 2;
        } else {
            bytes.append(data[i]);
        }
    }
    return bytes;
}
