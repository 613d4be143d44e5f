#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One line of a project file taken apart: a keyword, its plain arguments and
// its name=value attributes. Values are read through the typed getters below,
// which throw a ProjectError naming the line and the attribute at fault.
class ProjectStatement
{
public:
    // Splits line number `lineNumber` of `fileName`; false for a blank or
    // comment-only line.
    static bool split(const QString &line, int lineNumber, const QString &fileName, ProjectStatement *out);

    const QString &keyword() const { return m_keyword; }
    const QStringList &arguments() const { return m_arguments; }
    // Whether plain argument `index` was written between double quotes.
    bool quoted(int index) const { return m_quoted.value(index); }
    int line() const { return m_line; }
    const QString &fileName() const { return m_fileName; }

    // Throws the ProjectError for this line.
    [[noreturn]] void fail(const QString &fault) const;

    // Refuses attributes outside `accepted`, naming the ones that are.
    void acceptOnly(const QStringList &accepted) const;
    // Both for a statement made of attributes alone.
    void attributesOnly(const QStringList &accepted) const;
    // Refuses fewer plain arguments than `minimum` and more than `maximum`.
    void expectArguments(int minimum, int maximum, const QString &what) const;

    bool has(const QString &name) const;
    QString text(const QString &name, const QString &fallback) const;
    double number(const QString &name) const;                 // required, may be negative
    double positive(const QString &name) const;               // required, above zero
    double positive(const QString &name, double fallback) const;
    double nonNegative(const QString &name, double fallback) const;
    double number(const QString &name, double fallback) const;
    // Required, at least `minimum`; `what` names the quantity in the message.
    double atLeast(const QString &name, double minimum, const QString &what) const;
    int count(const QString &name, int maximum) const;        // required whole number from 1 to maximum
    bool flag(const QString &name, bool fallback) const;      // sim / não
    // One of `choices` (any letter case); returns its index.
    int choice(const QString &name, const QStringList &choices, int fallback) const;

private:
    struct Attribute
    {
        QString name;
        QString value;
    };
    const Attribute *find(const QString &name) const;
    double parsed(const Attribute &attribute) const;

    QString m_fileName;
    int m_line = 0;
    QString m_keyword;
    QStringList m_arguments;
    QList<bool> m_quoted;
    QList<Attribute> m_attributes;
};

// No length, offset or font size in a project goes past this: no paper side
// is longer, and anything larger only overflows further on.
constexpr double MaxProjectNumber = 2000;

// "13.67" and "13,67" alike; false for anything that is not a plain decimal number.
bool parseProjectNumber(const QString &text, double *value);
