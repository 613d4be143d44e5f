#pragma once

#include <QString>
#include <stdexcept>

// Every operation reports failure by throwing one of these; the text is the
// message the user sees, so it must be the exact documented wording.
class SelvarError : public std::runtime_error
{
public:
    explicit SelvarError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The platform's conversion error ("'x' is not a valid integer value").
class ConvertError : public SelvarError
{
public:
    using SelvarError::SelvarError;
};

// The platform's input/output error on a local file.
class InOutError : public SelvarError
{
public:
    using SelvarError::SelvarError;
};

// An error the database reported, with its native code when known.
class DatabaseError : public SelvarError
{
public:
    DatabaseError(const QString &message, int nativeCode = 0)
        : SelvarError(message), m_nativeCode(nativeCode) {}
    int nativeCode() const { return m_nativeCode; }

private:
    int m_nativeCode;
};
