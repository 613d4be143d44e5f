#include "ExactSelect.h"

#include <QStringList>

namespace ExactSelect {

namespace {

bool isName(QStringView item)
{
    if (item.isEmpty() || !(item[0].isLetter() && item[0].unicode() < 128))
        return false;
    for (const QChar c : item)
        if (!(c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'))))
            return false;
    return true;
}

bool isWordAt(const QString &text, qsizetype at, QLatin1String word)
{
    auto boundary = [&](qsizetype i) {
        return i < 0 || i >= text.size() || !(text[i].isLetterOrNumber() || text[i] == QLatin1Char('_') || text[i] == QLatin1Char('$'));
    };
    return QStringView(text).mid(at, word.size()).compare(word, Qt::CaseInsensitive) == 0 && boundary(at - 1)
           && boundary(at + word.size());
}

// Where the select list's items begin and end, and the commas between them at
// the top level (outside parentheses and quotes); false for anything else.
bool selectList(const QString &select, qsizetype *begin, qsizetype *end, QList<qsizetype> *commas)
{
    qsizetype i = 0;
    while (i < select.size() && select[i].isSpace())
        ++i;
    if (!isWordAt(select, i, QLatin1String("select")))
        return false;
    *begin = i + 6;
    int depth = 0;
    QChar quote;
    for (i = *begin; i < select.size(); ++i) {
        const QChar c = select[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (depth == 0 && c == QLatin1Char(',')) {
            commas->append(i);
        } else if (depth == 0 && isWordAt(select, i, QLatin1String("from"))) {
            *end = i;
            return true;
        }
    }
    return false;
}

} // namespace

QString textColumn(const QString &column)
{
    return column.toUpper() + QLatin1String("$EXATO");
}

QString statement(const QString &select, const FieldDefs &defs)
{
    qsizetype begin = 0, end = 0;
    QList<qsizetype> commas;
    if (!selectList(select, &begin, &end, &commas))
        return select;
    commas.append(end);
    QString out = select.left(begin);
    qsizetype from = begin;
    for (const qsizetype to : commas) {
        const QString item = select.mid(from, to - from);
        const QString name = item.trimmed();
        bool decimal = false;
        for (const FieldDef &def : defs)
            decimal = decimal || (def.type == FieldType::Decimal && def.name.compare(name, Qt::CaseInsensitive) == 0);
        if (decimal && isName(name)) {
            const qsizetype lead = item.indexOf(name);
            out += item.left(lead) + QLatin1String("cast(") + name + QLatin1String(" as varchar(32)) as ")
                   + textColumn(name) + item.mid(lead + name.size());
        } else {
            out += item;
        }
        out += to < end ? QStringLiteral(",") : QString();
        from = to + 1;
    }
    return out + select.mid(end);
}

} // namespace ExactSelect
