#pragma once

#include <QStringList>
#include <QTextStream>

// selvar-designer's work without a window, for installers and scripts:
//
//   selvar-designer --render PROJETO RELATORIO -o SAIDA.png [--dpi N]
//   selvar-designer --check PROJETO
//
// --render writes the picture the canvas shows for the report, filled with
// the sample products; --check prints the project's fault (file, line, what)
// and what would print badly in each report, and ends with 1 when the parser
// refuses the file. Both, like --help and --version, need no screen.

// Whether the arguments ask for one of these (the program then needs no window).
bool isCommandLineRun(const QStringList &arguments);

// Runs it; the exit status: 0 done, 1 a fault or a bad argument.
int runCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err);

// The project to open in the window: the one named on the command line, else
// the suite's "c:\boticon\rpt\Selvar.rav" where the program maps it.
QString projectToOpen(const QStringList &arguments);
