#pragma once

#include "SelvarError.h"

// A fault in a report project file, told the way its author can fix it: which
// file, which line and statement, and what is wrong there.
class ProjectError : public SelvarError
{
public:
    using SelvarError::SelvarError;

    // 'Projeto de relatório "F", linha N (palavra): falha.'
    static ProjectError at(const QString &fileName, int line, const QString &keyword, const QString &fault);
    static ProjectError inFile(const QString &fileName, const QString &fault);
};

// Millimetres and points as the user writes them: decimal comma, no trailing zeros.
QString brNumber(double value);
