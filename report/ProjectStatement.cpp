#include "ProjectStatement.h"

#include "ProjectError.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// Keywords and attribute names are matched without regard to case or accents,
// so "relatório", "Relatorio" and "RELATORIO" are one word to a user typing them.
QString plainWord(const QString &word)
{
    QString plain;
    for (const QChar c : word.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c.toLower();
    }
    return plain;
}

// A quoted text starting at `pos` (on the opening quote); "" inside stands for one quote.
QString readQuoted(const QString &line, qsizetype &pos, const ProjectStatement &statement)
{
    QString text;
    for (++pos; pos < line.size(); ++pos) {
        if (line[pos] != QLatin1Char('"')) {
            text += line[pos];
        } else if (pos + 1 < line.size() && line[pos + 1] == QLatin1Char('"')) {
            text += QLatin1Char('"');
            ++pos;
        } else {
            ++pos;
            return text;
        }
    }
    statement.fail(QStringLiteral("aspas abertas e não fechadas"));
}

} // namespace

bool parseProjectNumber(const QString &text, double *value)
{
    static const QRegularExpression plain(QStringLiteral("^[-+]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    if (!plain.match(text).hasMatch())
        return false;
    QString normal = text;
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    *value = normal.toDouble(&ok);
    return ok;
}

bool ProjectStatement::split(const QString &line, int lineNumber, const QString &fileName, ProjectStatement *out)
{
    *out = ProjectStatement();
    out->m_fileName = fileName;
    out->m_line = lineNumber;
    qsizetype pos = 0;
    bool first = true;
    while (true) {
        while (pos < line.size() && line[pos].isSpace())
            ++pos;
        // A comment starts a token, so "#,##0.00" inside an attribute value is kept.
        if (pos >= line.size() || line[pos] == QLatin1Char('#'))
            break;
        if (line[pos] == QLatin1Char('"')) {
            const QString text = readQuoted(line, pos, *out);
            if (first)
                out->fail(QStringLiteral("a linha deve começar por uma palavra-chave, não por um texto entre aspas"));
            out->m_arguments << text;
            out->m_quoted << true;
            continue;
        }
        QString word;
        while (pos < line.size() && !line[pos].isSpace() && line[pos] != QLatin1Char('=') && line[pos] != QLatin1Char('"'))
            word += line[pos++];
        if (pos < line.size() && line[pos] == QLatin1Char('=') && !first) {
            ++pos;
            QString value;
            if (pos < line.size() && line[pos] == QLatin1Char('"')) {
                value = readQuoted(line, pos, *out);
            } else {
                while (pos < line.size() && !line[pos].isSpace())
                    value += line[pos++];
            }
            const QString name = plainWord(word);
            if (name.isEmpty())
                out->fail(QStringLiteral("falta o nome do atributo antes de '='"));
            if (out->find(name))
                out->fail(QStringLiteral("o atributo '%1' aparece duas vezes").arg(word));
            out->m_attributes.append({name, value});
        } else if (pos < line.size() && !line[pos].isSpace()) {
            out->fail(QStringLiteral("não entendi '%1'; escreva nome=valor, com o valor entre aspas se tiver espaços")
                     .arg(line.mid(pos - word.size()).section(QLatin1Char(' '), 0, 0)));
        } else if (first) {
            out->m_keyword = plainWord(word);
        } else {
            out->m_arguments << word;
            out->m_quoted << false;
        }
        first = false;
    }
    return !out->m_keyword.isEmpty();
}

void ProjectStatement::fail(const QString &fault) const
{
    throw ProjectError::at(m_fileName, m_line, m_keyword, fault);
}

const ProjectStatement::Attribute *ProjectStatement::find(const QString &name) const
{
    for (const Attribute &attribute : m_attributes) {
        if (attribute.name == name)
            return &attribute;
    }
    return nullptr;
}

void ProjectStatement::acceptOnly(const QStringList &accepted) const
{
    for (const Attribute &attribute : m_attributes) {
        if (!accepted.contains(attribute.name)) {
            fail(accepted.isEmpty()
                     ? QStringLiteral("atributo desconhecido '%1'; '%2' não aceita atributos").arg(attribute.name, m_keyword)
                     : QStringLiteral("atributo desconhecido '%1' (aceitos: %2)").arg(attribute.name, accepted.join(QStringLiteral(", "))));
        }
    }
}

void ProjectStatement::attributesOnly(const QStringList &accepted) const
{
    acceptOnly(accepted);
    expectArguments(0, 0, QStringLiteral("'%1'").arg(m_keyword));
}

void ProjectStatement::expectArguments(int minimum, int maximum, const QString &what) const
{
    if (m_arguments.size() < minimum)
        fail(QStringLiteral("falta %1").arg(what));
    if (m_arguments.size() > maximum)
        fail(QStringLiteral("'%1' sobrando depois de %2").arg(m_arguments.value(maximum), what));
}

bool ProjectStatement::has(const QString &name) const
{
    return find(name) != nullptr;
}

QString ProjectStatement::text(const QString &name, const QString &fallback) const
{
    const Attribute *attribute = find(name);
    return attribute ? attribute->value : fallback;
}

double ProjectStatement::parsed(const Attribute &attribute) const
{
    double value = 0;
    if (!parseProjectNumber(attribute.value, &value))
        fail(QStringLiteral("'%1' não é um número válido para '%2'").arg(attribute.value, attribute.name));
    if (!(std::abs(value) <= MaxProjectNumber)) {
        fail(QStringLiteral("'%1' é grande demais para '%2': nenhuma medida passa de %3 (mm ou pontos)")
                 .arg(attribute.value, attribute.name, brNumber(MaxProjectNumber)));
    }
    return value;
}

double ProjectStatement::number(const QString &name) const
{
    const Attribute *attribute = find(name);
    if (!attribute)
        fail(QStringLiteral("falta o atributo '%1'").arg(name));
    return parsed(*attribute);
}

double ProjectStatement::number(const QString &name, double fallback) const
{
    return has(name) ? number(name) : fallback;
}

double ProjectStatement::positive(const QString &name) const
{
    const double value = number(name);
    if (value <= 0)
        fail(QStringLiteral("'%1' deve ser maior que zero, não %2").arg(name, text(name, {})));
    return value;
}

double ProjectStatement::positive(const QString &name, double fallback) const
{
    return has(name) ? positive(name) : fallback;
}

double ProjectStatement::nonNegative(const QString &name, double fallback) const
{
    const double value = number(name, fallback);
    if (value < 0)
        fail(QStringLiteral("'%1' não pode ser negativo (%2)").arg(name, text(name, {})));
    return value;
}

double ProjectStatement::atLeast(const QString &name, double minimum, const QString &what) const
{
    const double value = number(name);
    if (value < minimum)
        fail(QStringLiteral("%1 deve ter ao menos %2 mm, não %3 ('%4')").arg(what, brNumber(minimum), text(name, {}), name));
    return value;
}

int ProjectStatement::count(const QString &name, int maximum) const
{
    const QString value = text(name, {});
    if (!has(name))
        fail(QStringLiteral("falta o atributo '%1'").arg(name));
    static const QRegularExpression digits(QStringLiteral("^\\+?\\d+$"));
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    if (digits.match(value).hasMatch() && (!ok || n > maximum))
        fail(QStringLiteral("'%1' passa do máximo de %2, não '%3'").arg(name).arg(maximum).arg(value));
    if (!ok || n <= 0)
        fail(QStringLiteral("'%1' deve ser um número inteiro maior que zero, não '%2'").arg(name, value));
    return int(n);
}

bool ProjectStatement::flag(const QString &name, bool fallback) const
{
    return choice(name, {QStringLiteral("nao"), QStringLiteral("sim")}, fallback ? 1 : 0) == 1;
}

int ProjectStatement::choice(const QString &name, const QStringList &choices, int fallback) const
{
    const Attribute *attribute = find(name);
    if (!attribute)
        return fallback;
    const qsizetype index = choices.indexOf(plainWord(attribute->value));
    if (index < 0)
        fail(QStringLiteral("'%1' não serve para '%2' (use %3)").arg(attribute->value, name, choices.join(QStringLiteral(", "))));
    return int(index);
}
